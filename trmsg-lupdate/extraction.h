// The messages of the trmsg calls among a script's commands.
#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include "callrules.h"
#include "syntaxwalk.h"

class QTextCodec;

struct FoundMessage
{
    QString context;
    QString source; // line feeds where the script has 0x19
    QString comment;
    QString scriptPath; // absolute
    int line = 0;
};

struct ExtractionInput
{
    QString scriptName; // as given, for warnings
    QString scriptPath; // absolute
    QTextCodec *codec = nullptr; // nullptr: UTF-8
    QString prefix;              // keep only calls with this prefix, if not empty
};

// Appends the messages found and a warning "FILE:LINE: why; not extracted"
// for each call that cannot be read, and one for each prefix, context,
// message or comment of a call found (or of a wrapper's body) written as
// $'...' in a script shfmt parsed as sh's.
void extractMessages(const QList<ShellCommand> &commands, const CallRules &rules, const QSet<CommandId> &wrapperBodies,
                     const ExtractionInput &input, QList<FoundMessage> *found, QStringList *warnings);
