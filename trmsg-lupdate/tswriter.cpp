#include "tswriter.h"

#include "tsescape.h"

#include <QHash>

namespace {

// Relative locations count lines from the previous location in the same
// source file, across the whole .ts file, and name a file only when it
// differs from the previous location's.
struct RelativeState
{
    QString currentFile;
    QHash<QString, int> lastLine;
};

QString locationXml(const TsLocation &location, LocationStyle style, RelativeState *state)
{
    QString out = QStringLiteral("        <location");
    if (style == LocationStyle::Absolute) {
        out += QStringLiteral(" filename=\"") + escapedAttributeValue(location.fileName) + QStringLiteral("\" line=\"")
               + QString::number(location.line) + u'"';
    } else {
        if (location.fileName != state->currentFile) {
            out += QStringLiteral(" filename=\"") + escapedAttributeValue(location.fileName) + u'"';
            state->currentFile = location.fileName;
        }
        const int delta = location.line - state->lastLine.value(location.fileName, 0);
        state->lastLine.insert(location.fileName, location.line);
        out += QStringLiteral(" line=\"") + (delta < 0 ? QStringLiteral("-") : QStringLiteral("+"))
               + QString::number(qAbs(delta)) + QStringLiteral("\"");
    }
    return out + QStringLiteral("/>\n");
}

void appendMessage(QString *out, const TsMessage &message, LocationStyle style, RelativeState *state)
{
    *out += QStringLiteral("    <message") + attributesXml(message.attributes) + QStringLiteral(">\n");
    if (style != LocationStyle::None) {
        for (const TsLocation &location : message.locations)
            *out += locationXml(location, style, state);
    }
    for (const TsMessagePart &part : message.parts) {
        switch (part.kind) {
        case TsMessagePart::Source:
            *out += QStringLiteral("        <source>") + escapedText(message.source) + QStringLiteral("</source>\n");
            break;
        case TsMessagePart::Comment:
            *out += QStringLiteral("        <comment>") + escapedText(message.comment) + QStringLiteral("</comment>\n");
            break;
        case TsMessagePart::Translation:
            *out += QStringLiteral("        <translation") + attributesXml(message.translationAttributes) + u'>'
                    + message.translationXml + QStringLiteral("</translation>\n");
            break;
        case TsMessagePart::Other:
            *out += QStringLiteral("        ") + part.xml + u'\n';
            break;
        }
    }
    *out += QStringLiteral("    </message>\n");
}

void appendContext(QString *out, const TsContext &context, LocationStyle style, RelativeState *state)
{
    *out += QStringLiteral("<context>\n    <name>") + escapedText(context.name) + QStringLiteral("</name>\n");
    for (const QString &element : context.otherElements)
        *out += QStringLiteral("    ") + element + u'\n';
    for (const TsMessage &message : context.messages)
        appendMessage(out, message, style, state);
    *out += QStringLiteral("</context>\n");
}

} // namespace

QByteArray tsFileBytes(const TsFile &file, LocationStyle style)
{
    QList<XmlAttribute> attributes = file.attributes;
    attributes.removeIf([](const XmlAttribute &a) { return a.name == QStringLiteral("version"); });
    attributes.prepend({QStringLiteral("version"), QStringLiteral("2.1")});
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS")
                  + attributesXml(attributes) + QStringLiteral(">\n");
    for (const QString &element : file.otherElements)
        out += element + u'\n';
    RelativeState state;
    for (const TsContext &context : file.contexts)
        appendContext(&out, context, style, &state);
    out += QStringLiteral("</TS>\n");
    return out.toUtf8();
}
