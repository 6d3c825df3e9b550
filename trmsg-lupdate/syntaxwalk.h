// Finds the simple commands and function definitions anywhere in shfmt's
// syntax tree: in command substitutions, pipelines, conditions, loops, case
// arms, here-documents, function bodies.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <utility>

struct ShellCommand
{
    QJsonArray words; // the command word, then the operands
    int line = 0;
    qint64 offset = 0; // where the command starts, in bytes
    int script = 0;    // which of the scripts it is in
};

// A command, known by its script and its offset there.
using CommandId = std::pair<int, qint64>;
inline CommandId commandId(const ShellCommand &command) { return {command.script, command.offset}; }

// A function whose body is a single simple command: name() { command; }.
struct ShellFunction
{
    QString name;
    ShellCommand body;
};

// script: the index set in each command found.
void collectCommands(const QJsonValue &node, int script, QList<ShellCommand> *commands, QList<ShellFunction> *functions);
