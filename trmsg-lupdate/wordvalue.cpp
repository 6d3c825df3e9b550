#include "wordvalue.h"

#include "ansic.h"

#include <QJsonArray>
#include <QTextCodec>

namespace {

QByteArray encoded(const QString &text, QTextCodec *codec)
{
    return codec ? codec->fromUnicode(text) : text.toUtf8();
}

// An unquoted word's text with its backslashes removed; false when the
// shell could expand it (a glob pattern, a brace expansion, a tilde).
bool unquotedText(const QByteArray &raw, bool wordStart, QByteArray *out)
{
    bool openBrace = false;
    if (wordStart && raw.startsWith('~'))
        return false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\\' && i + 1 < raw.size()) {
            *out += raw[++i];
            continue;
        }
        if (c == '*' || c == '?' || c == '[' || (c == '}' && openBrace))
            return false;
        openBrace = openBrace || c == '{';
        *out += c;
    }
    return true;
}

// Inside double quotes a backslash escapes only $ ` " and \.
QByteArray doubleQuotedText(const QByteArray &raw)
{
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size() && QByteArrayView("$`\"\\").contains(raw[i + 1]))
            ++i;
        out += raw[i];
    }
    return out;
}

QString expansionName(const QString &type)
{
    if (type == u"ParamExp")
        return QStringLiteral("a variable");
    if (type == u"CmdSubst")
        return QStringLiteral("a command substitution");
    if (type == u"ArithmExp")
        return QStringLiteral("an arithmetic expansion");
    if (type == u"ProcSubst")
        return QStringLiteral("a process substitution");
    return QStringLiteral("an expansion");
}

bool appendPart(const QJsonObject &part, bool wordStart, QTextCodec *codec, WordValue *value);

bool appendDoubleQuoted(const QJsonObject &quoted, QTextCodec *codec, WordValue *value)
{
    const QJsonArray parts = quoted.value(u"Parts").toArray();
    for (const QJsonValue &inner : parts) {
        const QJsonObject part = inner.toObject();
        if (part.value(u"Type").toString() != u"Lit") {
            value->why = expansionName(part.value(u"Type").toString());
            return false;
        }
        value->bytes += doubleQuotedText(encoded(part.value(u"Value").toString(), codec));
    }
    return true;
}

bool appendPart(const QJsonObject &part, bool wordStart, QTextCodec *codec, WordValue *value)
{
    const QString type = part.value(u"Type").toString();
    const QByteArray raw = encoded(part.value(u"Value").toString(), codec);
    if (type == u"Lit") {
        if (unquotedText(raw, wordStart, &value->bytes))
            return true;
        value->why = QStringLiteral("a pattern the shell may expand");
        return false;
    }
    if (type == u"SglQuoted") {
        value->bytes += part.value(u"Dollar").toBool() ? unescapeAnsiC(raw, codec) : raw;
        return true;
    }
    if (type == u"DblQuoted")
        return appendDoubleQuoted(part, codec, value);
    value->why = expansionName(type);
    return false;
}

// In sh's dialect shfmt parses bash's $'...' as a lone "$" and a
// single-quoted string, which is how dash reads it.
bool isShDollarQuote(const QJsonObject &previous, const QJsonObject &part)
{
    return previous.value(u"Type").toString() == u"Lit" && previous.value(u"Value").toString() == u"$"
           && part.value(u"Type").toString() == u"SglQuoted" && !part.value(u"Dollar").toBool();
}

} // namespace

WordValue wordValue(const QJsonObject &word, QTextCodec *codec)
{
    WordValue value;
    const QJsonArray parts = word.value(u"Parts").toArray();
    bool wordStart = true;
    QJsonObject previous;
    for (const QJsonValue &partValue : parts) {
        const QJsonObject part = partValue.toObject();
        if (!appendPart(part, wordStart, codec, &value)) {
            value.literalPrefix = value.bytes;
            value.bytes.clear();
            return value;
        }
        value.shDollarQuote = value.shDollarQuote || isShDollarQuote(previous, part);
        previous = part;
        wordStart = false;
    }
    value.literal = true;
    value.literalPrefix = value.bytes;
    return value;
}

bool decodeWordText(const QByteArray &bytes, QTextCodec *codec, QString *text)
{
    if (bytes.contains('\0'))
        return false;
    if (!codec) {
        *text = QString::fromUtf8(bytes);
        return text->toUtf8() == bytes;
    }
    QTextCodec::ConverterState state;
    *text = codec->toUnicode(bytes.constData(), int(bytes.size()), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}
