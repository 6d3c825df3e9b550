#include "tsreader.h"

#include "tsescape.h"

#include <QXmlStreamReader>

#include <algorithm>

namespace {

QList<XmlAttribute> attributesOf(const QXmlStreamReader &reader)
{
    QList<XmlAttribute> attributes;
    for (const QXmlStreamAttribute &attribute : reader.attributes())
        attributes.append({attribute.qualifiedName().toString(), attribute.value().toString()});
    return attributes;
}

bool fail(QXmlStreamReader &reader, const QString &why)
{
    reader.raiseError(why);
    return false;
}

// The character a <byte value="xHH"/> (or decimal) stands for.
bool byteElementCharacter(QXmlStreamReader &reader, QString *text)
{
    const QStringView value = reader.attributes().value(QStringLiteral("value"));
    bool ok = false;
    const uint code = value.startsWith(u'x') ? value.mid(1).toUInt(&ok, 16) : value.toUInt(&ok, 10);
    if (!ok || code > 0x10ffff || (code >= 0xd800 && code < 0xe000))
        return fail(reader, QStringLiteral("bad <byte> value"));
    const char32_t character = code;
    *text += QString::fromUcs4(&character, 1);
    reader.skipCurrentElement();
    return true;
}

// The text of an element such as <source>, its <byte> elements read back.
bool elementText(QXmlStreamReader &reader, QString *text)
{
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::Characters:
            *text += reader.text();
            break;
        case QXmlStreamReader::StartElement:
            if (reader.name() != u"byte")
                return fail(reader, QStringLiteral("unexpected <%1> in text").arg(reader.name()));
            if (!byteElementCharacter(reader, text))
                return false;
            break;
        case QXmlStreamReader::EndElement:
            return true;
        case QXmlStreamReader::EntityReference:
            return fail(reader, QStringLiteral("entity references are not read"));
        default:
            break;
        }
    }
    return false;
}

struct ContentItem
{
    QString xml;
    bool element = false;
    bool blank = true; // whitespace text, or a <byte> element
};

QString elementXml(QXmlStreamReader &reader, int indent, bool *hasText);

// Everything inside the current element, as XML: child elements one a line
// when they are separated by white space only, otherwise as found.
QString contentXml(QXmlStreamReader &reader, int indent, bool *hasText)
{
    QList<ContentItem> items;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token == QXmlStreamReader::EntityReference) {
            fail(reader, QStringLiteral("entity references are not read"));
            return QString();
        }
        if (token == QXmlStreamReader::Characters) {
            const bool blank = reader.isWhitespace();
            *hasText = *hasText || !blank;
            items.append({escapedText(reader.text()), false, blank});
        } else if (token == QXmlStreamReader::StartElement) {
            const bool isByte = reader.name() == u"byte";
            items.append({elementXml(reader, indent + 4, hasText), !isByte, isByte});
        }
    }
    const bool block = std::any_of(items.cbegin(), items.cend(), [](const ContentItem &i) { return i.element; })
                       && std::all_of(items.cbegin(), items.cend(),
                                      [](const ContentItem &i) { return i.element || i.blank; });
    QString out;
    for (const ContentItem &item : items) {
        if (!block)
            out += item.xml;
        else if (item.element)
            out += u'\n' + QString(indent + 4, u' ') + item.xml;
    }
    if (block)
        out += u'\n' + QString(indent, u' ');
    return out;
}

QString elementXml(QXmlStreamReader &reader, int indent, bool *hasText)
{
    const QString name = reader.qualifiedName().toString();
    const QList<XmlAttribute> attributes = attributesOf(reader);
    const QString start = u'<' + name + attributesXml(attributes);
    const QString content = contentXml(reader, indent, hasText);
    if (content.isEmpty() && !attributes.isEmpty()) // as Qt writes <byte value="x1"/>
        return start + QStringLiteral("/>");
    return start + u'>' + content + QStringLiteral("</") + name + u'>';
}

void readLocation(QXmlStreamReader &reader, TsFile *file)
{
    const QStringView line = reader.attributes().value(QStringLiteral("line"));
    file->hasLocations = true;
    if (line.startsWith(u'+') || line.startsWith(u'-'))
        file->locationStyle = LocationStyle::Relative;
    reader.skipCurrentElement();
}

bool readMessage(QXmlStreamReader &reader, TsFile *file, TsContext *context)
{
    TsMessage message;
    message.attributes = attributesOf(reader);
    bool hasSource = false;
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        if (name == u"location") {
            readLocation(reader, file);
        } else if (name == u"source") {
            if (hasSource || !elementText(reader, &message.source))
                return fail(reader, QStringLiteral("a <message> with a bad <source>"));
            hasSource = true;
            message.parts.append({TsMessagePart::Source, QString()});
        } else if (name == u"comment") {
            if (!elementText(reader, &message.comment))
                return false;
            message.parts.append({TsMessagePart::Comment, QString()});
        } else if (name == u"translation") {
            message.translationAttributes = attributesOf(reader);
            message.translationXml = contentXml(reader, 8, &message.translated);
            message.parts.append({TsMessagePart::Translation, QString()});
        } else {
            bool unused = false;
            message.parts.append({TsMessagePart::Other, elementXml(reader, 8, &unused)});
        }
    }
    if (!hasSource && !reader.hasError())
        return fail(reader, QStringLiteral("a <message> without <source>"));
    context->messages.append(message);
    return !reader.hasError();
}

bool readContext(QXmlStreamReader &reader, TsFile *file)
{
    TsContext context;
    bool hasName = false;
    while (reader.readNextStartElement()) {
        if (reader.name() == u"name" && !hasName) {
            hasName = elementText(reader, &context.name);
        } else if (reader.name() == u"message") {
            if (!readMessage(reader, file, &context))
                return false;
        } else {
            bool unused = false;
            context.otherElements.append(elementXml(reader, 4, &unused));
        }
    }
    if (!hasName && !reader.hasError())
        return fail(reader, QStringLiteral("a <context> without <name>"));
    file->contexts.append(context);
    return !reader.hasError();
}

bool readProlog(QXmlStreamReader &reader)
{
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD
            && (!reader.entityDeclarations().isEmpty() || reader.text().contains(u"<!ENTITY")))
            return fail(reader, QStringLiteral("the document type declares entities, which are not read"));
        if (token == QXmlStreamReader::StartElement) {
            if (reader.name() != u"TS")
                return fail(reader, QStringLiteral("the root element is <%1>, not <TS>").arg(reader.name()));
            return true;
        }
    }
    return false;
}

} // namespace

bool readTsFile(const QByteArray &bytes, TsFile *file, QString *error)
{
    QXmlStreamReader reader(bytes);
    *file = TsFile();
    if (readProlog(reader)) {
        file->attributes = attributesOf(reader);
        while (reader.readNextStartElement()) {
            if (reader.name() == u"context") {
                if (!readContext(reader, file))
                    break;
            } else {
                bool unused = false;
                file->otherElements.append(elementXml(reader, 0, &unused));
            }
        }
        while (!reader.atEnd() && !reader.hasError())
            reader.readNext();
    } else if (!reader.hasError()) {
        reader.raiseError(QStringLiteral("no <TS> element"));
    }
    if (!reader.hasError())
        return true;
    *error = QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
    return false;
}
