#include "tsreader.h"

#include "tsescape.h"

#include <QHash>
#include <QXmlStreamReader>

#include <algorithm>
#include <limits>

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
    bool blank = true; // white space only
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
            items.append({escapedText(reader.text()), false, reader.isWhitespace()});
        } else if (token == QXmlStreamReader::StartElement) {
            const bool isByte = reader.name() == u"byte";
            items.append({elementXml(reader, indent + 4, hasText), !isByte, false});
        }
    }
    const bool block = std::any_of(items.cbegin(), items.cend(), [](const ContentItem &i) { return i.element; })
                       && std::all_of(items.cbegin(), items.cend(),
                                      [](const ContentItem &i) { return i.element || i.blank; });
    // Text is any character outside the white space that lays out a block.
    *hasText = *hasText || (!block && !items.isEmpty());
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

// A .ts file from Qt's tools nests five deep below <TS>; refusing what
// nests far deeper keeps the recursion and the layout's cost small.
constexpr int maximumDepth = 32;

QString elementXml(QXmlStreamReader &reader, int indent, bool *hasText)
{
    if (indent / 4 >= maximumDepth) {
        fail(reader, QStringLiteral("elements nested more than %1 deep").arg(maximumDepth));
        return QString();
    }
    const QString name = reader.qualifiedName().toString();
    const QList<XmlAttribute> attributes = attributesOf(reader);
    const QString start = u'<' + name + attributesXml(attributes);
    const QString content = contentXml(reader, indent, hasText);
    if (content.isEmpty() && !attributes.isEmpty()) // as Qt writes <byte value="x1"/>
        return start + QStringLiteral("/>");
    return start + u'>' + content + QStringLiteral("</") + name + u'>';
}

// Where a <location> without a file name points, and what a relative line
// counts from: a message's first location without a name takes the file of
// the previous message's first location, a later one the file named last in
// its own message; a relative line counts from the last line read in that
// file. This is how Qt's tools resolve them.
struct LocationState
{
    QString firstFile;   // of the previous message's first location
    QString messageFile; // named last in the current message
    QHash<QString, int> lastLine;
};

bool readLocation(QXmlStreamReader &reader, TsFile *file, LocationState *state, TsMessage *message)
{
    const QXmlStreamAttributes attributes = reader.attributes();
    const QString fileName = attributes.value(QStringLiteral("filename")).toString();
    const QString line = attributes.value(QStringLiteral("line")).toString();
    reader.skipCurrentElement();
    file->hasLocations = true;
    if (message->locations.isEmpty())
        state->messageFile = state->firstFile;
    if (!fileName.isEmpty()) {
        state->messageFile = fileName;
        if (message->locations.isEmpty())
            state->firstFile = fileName;
    }
    TsLocation location{state->messageFile, -1};
    if (!line.isEmpty()) {
        bool ok = false;
        qint64 number = line.toInt(&ok);
        if (!ok)
            return true; // Qt's tools drop such a location
        const bool relative = line.startsWith(u'+') || line.startsWith(u'-');
        if (relative) {
            file->locationStyle = LocationStyle::Relative;
            number += state->lastLine.value(location.fileName);
        }
        if (number < 0 || number > std::numeric_limits<int>::max())
            return fail(reader, QStringLiteral("a <location> at line %1, which no file has").arg(number));
        location.line = int(number);
        if (relative) // as Qt's tools count: from the last relative line
            state->lastLine.insert(location.fileName, location.line);
    }
    message->locations.append(location);
    return true;
}

// The elements Qt's tools read once per message: of several, they keep the last.
bool isSingleValued(QStringView name)
{
    return name == u"source" || name == u"comment" || name == u"translation" || name == u"extracomment"
           || name == u"translatorcomment" || name == u"oldsource" || name == u"oldcomment" || name == u"userdata"
           || name.startsWith(u"extra-");
}

// One child of <message> as read: value compares two occurrences.
struct ReadElement
{
    QString value;
    bool empty = true;
};

// Keeps the last of repeated elements, as Qt's tools do, when the earlier
// one is empty or the same; refuses the file when dropping it would lose text.
bool keepLast(QXmlStreamReader &reader, QHash<QString, ReadElement> *seen, const QString &name,
              const ReadElement &element, qint64 line, TsReadError *error)
{
    const auto earlier = seen->constFind(name);
    if (earlier != seen->constEnd() && !earlier->empty && earlier->value != element.value) {
        error->line = line;
        error->why = QStringLiteral("a second <%1> that differs from the one before it; Qt's tools read only the "
                                    "last, so the first would be lost: keep one")
                         .arg(name);
        return fail(reader, error->why);
    }
    seen->insert(name, element);
    return true;
}

bool readMessage(QXmlStreamReader &reader, TsFile *file, LocationState *locations, TsContext *context,
                 TsReadError *error)
{
    TsMessage message;
    message.attributes = attributesOf(reader);
    QHash<QString, ReadElement> seen;
    QStringList names; // of message.parts
    while (reader.readNextStartElement()) {
        const QString name = reader.name().toString();
        const qint64 line = reader.lineNumber();
        ReadElement element;
        TsMessagePart part;
        QList<XmlAttribute> translationAttributes;
        QString translationXml;
        bool translated = false;
        if (name == u"location") {
            if (!readLocation(reader, file, locations, &message))
                return false;
            continue;
        } else if (name == u"source" || name == u"comment") {
            if (!elementText(reader, &element.value))
                return name == u"source" ? fail(reader, QStringLiteral("a <message> with a bad <source>")) : false;
            element.empty = element.value.isEmpty();
            part.kind = name == u"source" ? TsMessagePart::Source : TsMessagePart::Comment;
        } else if (name == u"translation") {
            translationAttributes = attributesOf(reader);
            translationXml = contentXml(reader, 8, &translated);
            element = {translationXml, !translated};
            part.kind = TsMessagePart::Translation;
        } else {
            bool hasText = false;
            part.xml = elementXml(reader, 8, &hasText);
            element = {part.xml, !hasText};
        }
        if (reader.hasError() || (isSingleValued(name) && !keepLast(reader, &seen, name, element, line, error)))
            return false;
        if (part.kind == TsMessagePart::Source) {
            message.source = element.value;
        } else if (part.kind == TsMessagePart::Comment) {
            message.comment = element.value;
        } else if (part.kind == TsMessagePart::Translation) {
            // Qt's tools take the state from the last <translation> that gives one.
            const QString type = QStringLiteral("type");
            if (attributeValue(translationAttributes, type).isEmpty())
                setAttribute(&translationAttributes, type, attributeValue(message.translationAttributes, type));
            message.translationAttributes = translationAttributes;
            message.translationXml = translationXml;
            message.translated = translated;
        }
        message.parts.append(part);
        names.append(name);
    }
    if (!seen.contains(QStringLiteral("source")) && !reader.hasError())
        return fail(reader, QStringLiteral("a <message> without <source>"));
    QList<TsMessagePart> kept; // the last of each single-valued element
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!isSingleValued(names.at(i)) || names.lastIndexOf(names.at(i)) == i)
            kept.append(message.parts.at(i));
    }
    message.parts = kept;
    context->messages.append(message);
    return !reader.hasError();
}

bool readContext(QXmlStreamReader &reader, TsFile *file, LocationState *locations, TsReadError *error)
{
    TsContext context;
    QHash<QString, ReadElement> seen;
    while (reader.readNextStartElement()) {
        if (reader.name() == u"name") {
            const qint64 line = reader.lineNumber();
            ReadElement name;
            if (!elementText(reader, &name.value))
                return false;
            name.empty = name.value.isEmpty();
            if (!keepLast(reader, &seen, QStringLiteral("name"), name, line, error))
                return false;
            context.name = name.value;
        } else if (reader.name() == u"message") {
            if (!readMessage(reader, file, locations, &context, error))
                return false;
        } else {
            bool unused = false;
            context.otherElements.append(elementXml(reader, 4, &unused));
        }
    }
    if (!seen.contains(QStringLiteral("name")) && !reader.hasError())
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

bool readTsFile(const QByteArray &bytes, TsFile *file, TsReadError *error)
{
    *error = TsReadError();
    QXmlStreamReader reader(bytes);
    // Namespace declarations are attributes like any other, kept with the
    // prefixed names they declare, so that what is written reads back.
    // Elements are told by their local names, as Qt's tools tell them.
    reader.setNamespaceProcessing(false);
    *file = TsFile();
    if (readProlog(reader)) {
        file->attributes = attributesOf(reader);
        LocationState locations;
        while (reader.readNextStartElement()) {
            if (reader.name() == u"context") {
                if (!readContext(reader, file, &locations, error))
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
    if (error->line == 0)
        *error = {reader.lineNumber(), QStringLiteral("not a valid translation source: ") + reader.errorString()};
    return false;
}
