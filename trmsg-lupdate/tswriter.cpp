#include "tswriter.h"

#include "tsescape.h"

#include <QHash>

namespace {

// Relative locations count lines from the last location in the same source
// file, across the whole .ts file. A message's first location names its file
// unless the previous message's first location was in the same file; a later
// one, unless the location before it in the message was.
struct RelativeState
{
    QString firstFile;
    QHash<QString, int> lastLine;
};

QString locationXml(const TsLocation &location, LocationStyle style, bool nameFile, RelativeState *state)
{
    QString out = QStringLiteral("        <location");
    if (nameFile)
        out += QStringLiteral(" filename=\"") + escapedAttributeValue(location.fileName) + u'"';
    if (location.line >= 0 && style == LocationStyle::Absolute) {
        out += QStringLiteral(" line=\"") + QString::number(location.line) + u'"';
    } else if (location.line >= 0) {
        int &last = state->lastLine[location.fileName];
        const int delta = location.line - last;
        last = location.line;
        out += QStringLiteral(" line=\"") + (delta < 0 ? QString() : QStringLiteral("+")) + QString::number(delta) + u'"';
    }
    return out + QStringLiteral("/>\n");
}

void appendLocations(QString *out, const QList<TsLocation> &locations, LocationStyle style, RelativeState *state)
{
    if (style == LocationStyle::None)
        return;
    QString currentFile = state->firstFile;
    for (qsizetype i = 0; i < locations.size(); ++i) {
        const TsLocation &location = locations.at(i);
        bool nameFile = !location.fileName.isEmpty();
        if (style == LocationStyle::Relative) {
            nameFile = location.fileName != currentFile;
            currentFile = location.fileName;
            if (i == 0)
                state->firstFile = currentFile;
        }
        *out += locationXml(location, style, nameFile, state);
    }
}

void appendMessage(QString *out, const TsMessage &message, LocationStyle style, RelativeState *state)
{
    *out += QStringLiteral("    <message") + attributesXml(message.attributes) + QStringLiteral(">\n");
    appendLocations(out, message.locations, style, state);
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
