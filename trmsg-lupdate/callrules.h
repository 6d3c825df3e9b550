// Which commands are trmsg calls and where their operands are: trmsg
// itself, names given with -keyword, and wrapper functions such as
// say() { trmsg demo Installer "$@"; }, found in the scripts.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include "syntaxwalk.h"

class QTextCodec;

struct CallRule
{
    int prefixIndex = 1; // operand positions, from 1; 0: the call has none
    int contextIndex = 2;
    int messageIndex = 3;
    int commentIndex = 4;
    bool countOption = true;  // a leading --count=N is skipped
    QList<QByteArray> leading; // operands a wrapper puts before its own
};

using CallRules = QHash<QString, CallRule>;

CallRule trmsgRule();
// NAME:CONTEXT_INDEX,MESSAGE_INDEX[,COMMENT_INDEX]; false if malformed.
bool parseKeyword(const QString &keyword, QString *name, CallRule *rule);
// The rule for a command word, if it has one.
const CallRule *ruleForCommand(const CallRules &rules, const QString &command);
// Adds a rule for every wrapper function; *bodies gets the offsets of the
// calls that make up their bodies.
void addWrapperRules(const QList<ShellFunction> &functions, QTextCodec *codec, CallRules *rules,
                     QSet<CommandId> *bodies);
