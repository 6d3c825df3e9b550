#include "syntaxwalk.h"

namespace {

ShellCommand commandOf(const QJsonObject &callExpr, int script)
{
    const QJsonObject position = callExpr.value(u"Pos").toObject();
    return {callExpr.value(u"Args").toArray(), position.value(u"Line").toInt(),
            qint64(position.value(u"Offset").toDouble()), script};
}

// The simple command a function body consists of, if that is all it holds.
bool singleCommandBody(const QJsonObject &functionDecl, int script, ShellCommand *command)
{
    const QJsonObject body = functionDecl.value(u"Body").toObject().value(u"Cmd").toObject();
    const QString type = body.value(u"Type").toString();
    if (type != u"Block" && type != u"Subshell")
        return false;
    const QJsonArray statements = body.value(u"Stmts").toArray();
    if (statements.size() != 1)
        return false;
    const QJsonObject statement = statements.first().toObject();
    const QJsonObject call = statement.value(u"Cmd").toObject();
    if (call.value(u"Type").toString() != u"CallExpr" || statement.contains(u"Negated")
        || statement.contains(u"Background"))
        return false;
    *command = commandOf(call, script);
    return true;
}

void visitObject(const QJsonObject &node, int script, QList<ShellCommand> *commands, QList<ShellFunction> *functions)
{
    const QJsonValue type = node.value(u"Type");
    if (type.isString()) {
        const QString name = type.toString();
        if (name == u"CallExpr" && !node.value(u"Args").toArray().isEmpty()) {
            commands->append(commandOf(node, script));
        } else if (name == u"FuncDecl") {
            ShellFunction function;
            function.name = node.value(u"Name").toObject().value(u"Value").toString();
            if (singleCommandBody(node, script, &function.body))
                functions->append(function);
        }
    }
    for (auto it = node.constBegin(); it != node.constEnd(); ++it) {
        if (it.value().isArray() || (it.value().isObject() && !it.value().toObject().contains(u"Offset")))
            collectCommands(it.value(), script, commands, functions);
    }
}

} // namespace

void collectCommands(const QJsonValue &node, int script, QList<ShellCommand> *commands, QList<ShellFunction> *functions)
{
    if (node.isObject()) {
        visitObject(node.toObject(), script, commands, functions);
    } else if (node.isArray()) {
        const QJsonArray array = node.toArray();
        for (const QJsonValue &element : array)
            collectCommands(element, script, commands, functions);
    }
}
