#include "extraction.h"

#include "wordvalue.h"

#include <QTextCodec>

#include <utility>

namespace {

// The operands of a call as the rule's positions count them.
QList<WordValue> callOperands(const ShellCommand &command, const CallRule &rule, QTextCodec *codec)
{
    QList<WordValue> operands;
    for (const QByteArray &leading : rule.leading)
        operands.append({true, leading, leading, QString()});
    for (qsizetype i = 1; i < command.words.size(); ++i)
        operands.append(wordValue(command.words.at(i).toObject(), codec));
    if (rule.countOption && operands.size() >= 4 && operands.first().literalPrefix.startsWith("--count="))
        operands.removeFirst();
    return operands;
}

QString encodingName(QTextCodec *codec)
{
    return codec ? QString::fromLatin1(codec->name()) : QStringLiteral("UTF-8");
}

// The text of one operand; false with *why when it cannot be read.
bool operandText(const WordValue &operand, const QString &role, QTextCodec *codec, QString *text, QString *why)
{
    if (!operand.literal) {
        *why = QStringLiteral("the %1 is not literal (%2)").arg(role, operand.why);
        return false;
    }
    if (!decodeWordText(operand.bytes, codec, text)) {
        *why = QStringLiteral("the %1 is not valid %2 text").arg(role, encodingName(codec));
        return false;
    }
    return true;
}

enum class Outcome { Found, NotACall, Unreadable };

Outcome readCall(const QList<WordValue> &operands, const CallRule &rule, const ExtractionInput &input,
                 FoundMessage *message, QString *why)
{
    if (operands.size() < qMax(rule.contextIndex, rule.messageIndex))
        return Outcome::NotACall;
    if (!input.prefix.isEmpty() && rule.prefixIndex > 0) {
        QString prefix;
        if (!operandText(operands.at(rule.prefixIndex - 1), QStringLiteral("catalogue prefix"), input.codec,
                         &prefix, why))
            return Outcome::Unreadable;
        if (prefix != input.prefix)
            return Outcome::NotACall;
    }
    if (!operandText(operands.at(rule.contextIndex - 1), QStringLiteral("context"), input.codec, &message->context, why)
        || !operandText(operands.at(rule.messageIndex - 1), QStringLiteral("message"), input.codec, &message->source, why))
        return Outcome::Unreadable;
    if (rule.commentIndex > 0 && operands.size() >= rule.commentIndex
        && !operandText(operands.at(rule.commentIndex - 1), QStringLiteral("comment"), input.codec, &message->comment, why))
        return Outcome::Unreadable;
    message->source.replace(QChar(0x19), QChar(u'\n'));
    return Outcome::Found;
}

// A warning for each operand trmsg looks the message up by that has a
// $'...' sh reads as '$' and a quoted string: bash's quoting in a script
// for sh.
void warnShDollarQuotes(const QList<WordValue> &operands, const CallRule &rule, const ExtractionInput &input,
                        int line, QStringList *warnings)
{
    const std::pair<int, QString> roles[] = {{rule.prefixIndex, QStringLiteral("catalogue prefix")},
                                             {rule.contextIndex, QStringLiteral("context")},
                                             {rule.messageIndex, QStringLiteral("message")},
                                             {rule.commentIndex, QStringLiteral("comment")}};
    for (const auto &[index, role] : roles) {
        if (index > 0 && index <= operands.size() && operands.at(index - 1).shDollarQuote)
            warnings->append(QStringLiteral("%1:%2: the %3's $'...' is bash's quoting; sh (dash) reads it as '$' "
                                            "and a quoted string")
                                 .arg(input.scriptName).arg(line).arg(role));
    }
}

} // namespace

void extractMessages(const QList<ShellCommand> &commands, const CallRules &rules, const QSet<CommandId> &wrapperBodies,
                     const ExtractionInput &input, QList<FoundMessage> *found, QStringList *warnings)
{
    for (const ShellCommand &command : commands) {
        const WordValue name = wordValue(command.words.first().toObject(), input.codec);
        const CallRule *rule = name.literal ? ruleForCommand(rules, QString::fromUtf8(name.bytes)) : nullptr;
        if (!rule)
            continue;
        const QList<WordValue> operands = callOperands(command, *rule, input.codec);
        if (wrapperBodies.contains(commandId(command))) { // its operands go into every call through the wrapper
            warnShDollarQuotes(operands, *rule, input, command.line, warnings);
            continue;
        }
        FoundMessage message;
        QString why;
        switch (readCall(operands, *rule, input, &message, &why)) {
        case Outcome::Found:
            message.scriptPath = input.scriptPath;
            message.line = command.line;
            found->append(message);
            warnShDollarQuotes(operands, *rule, input, command.line, warnings);
            break;
        case Outcome::Unreadable:
            warnings->append(QStringLiteral("%1:%2: %3; not extracted").arg(input.scriptName).arg(command.line).arg(why));
            break;
        case Outcome::NotACall:
            break;
        }
    }
}
