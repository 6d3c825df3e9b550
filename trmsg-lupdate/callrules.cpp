#include "callrules.h"

#include "wordvalue.h"

#include <QRegularExpression>

CallRule trmsgRule() { return CallRule(); }

bool parseKeyword(const QString &keyword, QString *name, CallRule *rule)
{
    static const QRegularExpression form(QStringLiteral("^([^:/\\s]+):([1-9][0-9]?),([1-9][0-9]?)(?:,([1-9][0-9]?))?$"));
    const QRegularExpressionMatch match = form.match(keyword);
    if (!match.hasMatch())
        return false;
    *name = match.captured(1);
    *rule = CallRule();
    rule->prefixIndex = 0;
    rule->countOption = false;
    rule->contextIndex = match.captured(2).toInt();
    rule->messageIndex = match.captured(3).toInt();
    rule->commentIndex = match.captured(4).isEmpty() ? 0 : match.captured(4).toInt();
    return rule->contextIndex != rule->messageIndex && rule->commentIndex != rule->contextIndex
           && rule->commentIndex != rule->messageIndex;
}

const CallRule *ruleForCommand(const CallRules &rules, const QString &command)
{
    static const CallRule trmsg = trmsgRule();
    const auto found = rules.constFind(command);
    if (found != rules.constEnd())
        return &*found;
    if (command == u"trmsg" || command.endsWith(u"/trmsg"))
        return &trmsg;
    return nullptr;
}

namespace {

bool isAllArguments(const QJsonObject &word)
{
    const QJsonArray parts = word.value(u"Parts").toArray();
    if (parts.size() != 1 || parts.first().toObject().value(u"Type").toString() != u"DblQuoted")
        return false;
    const QJsonArray inner = parts.first().toObject().value(u"Parts").toArray();
    if (inner.size() != 1)
        return false;
    const QJsonObject expansion = inner.first().toObject();
    static const QStringList plainKeys{QStringLiteral("Type"), QStringLiteral("Pos"), QStringLiteral("End"),
                                       QStringLiteral("Dollar"), QStringLiteral("Short"), QStringLiteral("Param"),
                                       QStringLiteral("Rbrace")};
    for (const QString &key : expansion.keys()) {
        if (!plainKeys.contains(key))
            return false;
    }
    return expansion.value(u"Type").toString() == u"ParamExp"
           && expansion.value(u"Param").toObject().value(u"Value").toString() == u"@";
}

// The rule a function gets when its body is `callee literal... "$@"` and
// the callee has a rule.
bool wrapperRule(const ShellFunction &function, QTextCodec *codec, const CallRules &rules, CallRule *rule)
{
    const QJsonArray &words = function.body.words;
    if (words.size() < 2 || !isAllArguments(words.last().toObject()))
        return false;
    const WordValue command = wordValue(words.first().toObject(), codec);
    const CallRule *callee = command.literal ? ruleForCommand(rules, QString::fromUtf8(command.bytes)) : nullptr;
    if (!callee)
        return false;
    *rule = *callee;
    for (qsizetype i = 1; i + 1 < words.size(); ++i) {
        const WordValue operand = wordValue(words.at(i).toObject(), codec);
        if (!operand.literal)
            return false;
        rule->leading.append(operand.bytes);
    }
    return true;
}

} // namespace

void addWrapperRules(const QList<ShellFunction> &functions, QTextCodec *codec, CallRules *rules, QSet<CommandId> *bodies)
{
    QSet<QString> done;
    bool added = true;
    while (added) { // until no function wraps a command that has just got a rule
        added = false;
        for (const ShellFunction &function : functions) {
            CallRule rule;
            if (done.contains(function.name) || function.name == u"trmsg" || !wrapperRule(function, codec, *rules, &rule))
                continue;
            rules->insert(function.name, rule);
            done.insert(function.name);
            bodies->insert(commandId(function.body));
            added = true;
        }
    }
}
