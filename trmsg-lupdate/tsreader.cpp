#include "tsreader.h"

#include "tslayout.h"
#include "tslocations.h"

#include <QHash>
#include <QStringDecoder>
#include <QXmlStreamReader>

namespace {

struct Reading
{
    QString text; // the file, decoded
    QXmlStreamReader xml;
    LocationReading locations;
    TsReadError *error = nullptr;
};

bool fail(Reading &r, const QString &why)
{
    r.xml.raiseError(why);
    return false;
}

// Where the tag just read starts and ends in the text: the reader's offset
// stands just past its '>', and no '<' can come inside a tag.
qsizetype tagStart(const Reading &r)
{
    return r.text.lastIndexOf(u'<', qsizetype(r.xml.characterOffset()) - 1);
}

qsizetype tagEnd(const Reading &r)
{
    return qsizetype(r.xml.characterOffset());
}

QString slice(const Reading &r, qsizetype from, qsizetype to)
{
    return r.text.mid(from, to - from);
}

QList<XmlAttribute> attributesOf(const QXmlStreamReader &xml)
{
    QList<XmlAttribute> attributes;
    for (const QXmlStreamAttribute &attribute : xml.attributes())
        attributes.append({attribute.qualifiedName().toString(), attribute.value().toString()});
    return attributes;
}

// The character a <byte value="xHH"/> (or decimal) stands for.
bool byteElementCharacter(Reading &r, QString *text)
{
    const QStringView value = r.xml.attributes().value(QStringLiteral("value"));
    bool ok = false;
    const uint code = value.startsWith(u'x') ? value.mid(1).toUInt(&ok, 16) : value.toUInt(&ok, 10);
    if (!ok || code > 0x10ffff || (code >= 0xd800 && code < 0xe000))
        return fail(r, QStringLiteral("bad <byte> value"));
    const char32_t character = code;
    *text += QString::fromUcs4(&character, 1);
    r.xml.skipCurrentElement();
    return true;
}

// The text of an element such as <source>, its <byte> elements read back.
bool elementText(Reading &r, QString *text)
{
    while (!r.xml.atEnd()) {
        switch (r.xml.readNext()) {
        case QXmlStreamReader::Characters:
            *text += r.xml.text();
            break;
        case QXmlStreamReader::StartElement:
            if (r.xml.name() != u"byte")
                return fail(r, QStringLiteral("unexpected <%1> in text").arg(r.xml.name()));
            if (!byteElementCharacter(r, text))
                return false;
            break;
        case QXmlStreamReader::EndElement:
            return true;
        case QXmlStreamReader::EntityReference:
            return fail(r, QStringLiteral("entity references are not read"));
        default:
            break;
        }
    }
    return false;
}

// A .ts file from Qt's tools nests five deep below <TS>; refusing what
// nests far deeper keeps the recursion small.
constexpr int maximumDepth = 32;

// Reads to the end of the current element. *hasText: it holds text, that is
// any character outside the white space that lays out child elements.
bool skipContent(Reading &r, int depth, bool *hasText)
{
    if (depth >= maximumDepth)
        return fail(r, QStringLiteral("elements nested more than %1 deep").arg(maximumDepth));
    bool anyItem = false;
    bool anyElement = false;
    bool anyText = false;
    while (!r.xml.atEnd()) {
        const QXmlStreamReader::TokenType token = r.xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token == QXmlStreamReader::EntityReference)
            return fail(r, QStringLiteral("entity references are not read"));
        if (token == QXmlStreamReader::Characters) {
            anyItem = true;
            anyText = anyText || !r.xml.isWhitespace();
        } else if (token == QXmlStreamReader::StartElement) {
            anyItem = true;
            if (r.xml.name() == u"byte")
                anyText = true;
            else
                anyElement = true;
            if (!skipContent(r, depth + 1, hasText))
                return false;
        }
    }
    const bool block = anyElement && !anyText;
    *hasText = *hasText || (!block && anyItem);
    return !r.xml.hasError();
}

bool readLocation(Reading &r, TsFile *file, TsMessage *message, TsMessagePart *part)
{
    const QXmlStreamAttributes attributes = r.xml.attributes();
    LocationXml &xml = part->location;
    xml.fileName = attributes.value(QStringLiteral("filename")).toString();
    xml.named = !xml.fileName.isEmpty();
    xml.line = attributes.value(QStringLiteral("line")).toString();
    xml.hasLine = !xml.line.isEmpty();
    r.xml.skipCurrentElement();
    file->hasLocations = true;
    if (xml.line.startsWith(u'+') || xml.line.startsWith(u'-'))
        file->locationStyle = LocationStyle::Relative;
    const bool first = std::none_of(message->parts.cbegin(), message->parts.cend(),
                                    [](const TsMessagePart &p) { return p.kind == TsMessagePart::Location; });
    TsLocation location;
    qint64 line = 0;
    switch (readLocationXml(xml, first, &r.locations, &location, &line)) {
    case LocationRead::Taken:
        message->locations.append(location);
        return true;
    case LocationRead::Dropped:
        return true;
    case LocationRead::NoSuchLine:
        break;
    }
    return fail(r, QStringLiteral("a <location> at line %1, which no file has").arg(line));
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
bool keepLast(Reading &r, QHash<QString, ReadElement> *seen, const QString &name, const ReadElement &element,
              qint64 line)
{
    const auto earlier = seen->constFind(name);
    if (earlier != seen->constEnd() && !earlier->empty && earlier->value != element.value) {
        r.error->line = line;
        r.error->why = QStringLiteral("a second <%1> that differs from the one before it; Qt's tools read only the "
                                      "last, so the first would be lost: keep one")
                           .arg(name);
        return fail(r, r.error->why);
    }
    seen->insert(name, element);
    return true;
}

// Qt's tools take the state from the last <translation> that gives one.
void takeTranslation(TsMessage *message, QList<XmlAttribute> attributes, bool translated)
{
    const QString type = QStringLiteral("type");
    if (attributeValue(attributes, type).isEmpty())
        setAttribute(&attributes, type, attributeValue(message->translationAttributes, type));
    message->translationAttributes = attributes;
    message->translated = translated;
}

// One child element of <message>, started at the reader; false on error.
bool readMessagePart(Reading &r, TsFile *file, TsMessage *message, TsMessagePart *part, ReadElement *element)
{
    const QString name = r.xml.name().toString();
    const qsizetype start = tagStart(r);
    part->startTagSize = tagEnd(r) - start;
    if (name == u"location") {
        part->kind = TsMessagePart::Location;
        if (!readLocation(r, file, message, part))
            return false;
    } else if (name == u"source" || name == u"comment") {
        part->kind = name == u"source" ? TsMessagePart::Source : TsMessagePart::Comment;
        if (!elementText(r, &element->value))
            return name == u"source" ? fail(r, QStringLiteral("a <message> with a bad <source>")) : false;
        element->empty = element->value.isEmpty();
        (name == u"source" ? message->source : message->comment) = element->value;
    } else {
        part->kind = name == u"translation" ? TsMessagePart::Translation : TsMessagePart::Other;
        const QList<XmlAttribute> attributes = attributesOf(r.xml);
        bool hasText = false;
        if (!skipContent(r, 3, &hasText))
            return false;
        element->value = slice(r, start + part->startTagSize, tagEnd(r));
        element->empty = !hasText;
        if (part->kind == TsMessagePart::Translation) {
            part->attributes = attributes;
            takeTranslation(message, attributes, hasText);
        }
    }
    part->xml = slice(r, start, tagEnd(r));
    if (part->kind == TsMessagePart::Other)
        element->value = part->xml;
    return !r.xml.hasError();
}

bool readMessage(Reading &r, TsFile *file, TsMessage *message)
{
    message->attributes = attributesOf(r.xml);
    qsizetype cursor = tagEnd(r);
    message->startTag = slice(r, tagStart(r), cursor);
    QHash<QString, ReadElement> seen;
    while (r.xml.readNextStartElement()) {
        const QString name = r.xml.name().toString();
        const qint64 line = r.xml.lineNumber();
        TsMessagePart part;
        part.leading = slice(r, cursor, tagStart(r));
        ReadElement element;
        if (!readMessagePart(r, file, message, &part, &element))
            return false;
        if (isSingleValued(name) && !keepLast(r, &seen, name, element, line))
            return false;
        cursor = tagEnd(r);
        message->parts.append(part);
    }
    if (r.xml.hasError())
        return false;
    if (!seen.contains(QStringLiteral("source")))
        return fail(r, QStringLiteral("a <message> without <source>"));
    message->end = slice(r, cursor, tagEnd(r));
    file->hasMessages = true;
    return true;
}

bool readContextName(Reading &r, QHash<QString, ReadElement> *seen, TsContext *context)
{
    const qint64 line = r.xml.lineNumber();
    ReadElement name;
    if (!elementText(r, &name.value))
        return false;
    name.empty = name.value.isEmpty();
    if (!keepLast(r, seen, QStringLiteral("name"), name, line))
        return false;
    context->name = name.value;
    return true;
}

// What the context holds besides its name and messages: they stay with it.
bool isOtherContent(const QXmlStreamReader &xml)
{
    switch (xml.tokenType()) {
    case QXmlStreamReader::Characters:
        return !xml.isWhitespace();
    case QXmlStreamReader::Comment:
    case QXmlStreamReader::ProcessingInstruction:
        return true;
    default:
        return false;
    }
}

// The head runs to the end of the last element before the first message;
// each message's leading from the end of what precedes it; the end from the
// last message (or the head) to </context>.
bool readContext(Reading &r, TsFile *file, TsContext *context)
{
    const qsizetype start = tagStart(r);
    qsizetype cursor = tagEnd(r);
    QHash<QString, ReadElement> seen;
    while (!r.xml.atEnd()) {
        const QXmlStreamReader::TokenType token = r.xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        context->holdsOther = context->holdsOther || isOtherContent(r.xml);
        if (token == QXmlStreamReader::EntityReference)
            return fail(r, QStringLiteral("entity references are not read"));
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (r.xml.name() == u"message") {
            if (context->messages.isEmpty())
                context->head = slice(r, start, cursor);
            TsMessage message;
            message.leading = slice(r, cursor, tagStart(r));
            if (!readMessage(r, file, &message))
                return false;
            context->messages.append(message);
            cursor = tagEnd(r);
            continue;
        }
        bool unused = false;
        if (r.xml.name() == u"name") {
            if (!readContextName(r, &seen, context))
                return false;
        } else {
            context->holdsOther = true;
            if (!skipContent(r, 2, &unused))
                return false;
        }
        if (context->messages.isEmpty())
            cursor = tagEnd(r);
    }
    if (r.xml.hasError())
        return false;
    if (!seen.contains(QStringLiteral("name")))
        return fail(r, QStringLiteral("a <context> without <name>"));
    if (context->messages.isEmpty())
        context->head = slice(r, start, cursor);
    context->end = slice(r, cursor, tagEnd(r));
    return true;
}

bool readProlog(Reading &r)
{
    while (!r.xml.atEnd()) {
        const QXmlStreamReader::TokenType token = r.xml.readNext();
        if (token == QXmlStreamReader::StartDocument && !r.xml.documentEncoding().isEmpty()
            && r.xml.documentEncoding().compare(u"utf-8", Qt::CaseInsensitive) != 0)
            return fail(r, QStringLiteral("the file declares the encoding %1; .ts files are read in UTF-8, as Qt's "
                                          "tools write them")
                               .arg(r.xml.documentEncoding()));
        if (token == QXmlStreamReader::DTD
            && (!r.xml.entityDeclarations().isEmpty() || r.xml.text().contains(u"<!ENTITY")))
            return fail(r, QStringLiteral("the document type declares entities, which are not read"));
        if (token == QXmlStreamReader::StartElement) {
            if (r.xml.name() != u"TS")
                return fail(r, QStringLiteral("the root element is <%1>, not <TS>").arg(r.xml.name()));
            return true;
        }
    }
    return false;
}

// The contexts, and the text before, between and after them.
bool readRoot(Reading &r, TsFile *file)
{
    file->attributes = attributesOf(r.xml);
    file->rootStartTagAt = tagStart(r);
    file->rootStartTagSize = tagEnd(r) - file->rootStartTagAt;
    qsizetype headEnd = tagEnd(r);
    qsizetype cursor = headEnd;
    while (r.xml.readNextStartElement()) {
        if (r.xml.name() == u"context") {
            if (file->contexts.isEmpty())
                file->head = slice(r, 0, cursor = headEnd);
            TsContext context;
            context.leading = slice(r, cursor, tagStart(r));
            if (!readContext(r, file, &context))
                return false;
            file->contexts.append(context);
            cursor = tagEnd(r);
            continue;
        }
        bool unused = false;
        if (!skipContent(r, 1, &unused))
            return false;
        if (file->contexts.isEmpty())
            headEnd = tagEnd(r);
    }
    if (r.xml.hasError())
        return false;
    file->rootSelfClosing = tagEnd(r) == file->rootStartTagAt + file->rootStartTagSize;
    if (file->contexts.isEmpty())
        file->head = slice(r, 0, cursor = headEnd);
    while (!r.xml.atEnd() && !r.xml.hasError())
        r.xml.readNext();
    file->end = r.text.mid(cursor);
    return !r.xml.hasError();
}

// Without state, so that a sequence cut at the end of the text is an error
// rather than held back and lost.
constexpr QStringConverter::Flags utf8Flags =
    QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless;

// The line of the first byte that is not UTF-8.
qint64 lineOfBadUtf8(const QByteArray &bytes)
{
    qint64 line = 1;
    for (const QByteArray &text : bytes.split('\n')) {
        QStringDecoder decoder(QStringConverter::Utf8, utf8Flags);
        const QString unused = decoder(text);
        if (decoder.hasError())
            return line;
        ++line;
    }
    return line;
}

bool decodedText(const QByteArray &bytes, TsFile *file, QString *text, TsReadError *error)
{
    static const QByteArray utf8Mark("\xef\xbb\xbf");
    if (bytes.startsWith(utf8Mark))
        file->byteOrderMark = utf8Mark;
    const QByteArray body = bytes.mid(file->byteOrderMark.size());
    QStringDecoder decoder(QStringConverter::Utf8, utf8Flags);
    *text = decoder(body);
    if (text->startsWith(QChar(0xfeff))) { // which the XML reader would skip without counting it
        *error = {1, QStringLiteral("a second byte order mark")};
        return false;
    }
    if (!decoder.hasError())
        return true;
    *error = {lineOfBadUtf8(body), QStringLiteral("not valid UTF-8; .ts files are read in UTF-8, as Qt's tools "
                                                  "write them")};
    return false;
}

} // namespace

bool readTsFile(const QByteArray &bytes, TsFile *file, TsReadError *error)
{
    *error = TsReadError();
    *file = TsFile();
    Reading r;
    r.error = error;
    if (!decodedText(bytes, file, &r.text, error))
        return false;
    r.xml.addData(r.text);
    // Namespace declarations are attributes like any other, kept with the
    // prefixed names they declare. Elements are told by their local names,
    // as Qt's tools tell them.
    r.xml.setNamespaceProcessing(false);
    if (readProlog(r))
        readRoot(r, file);
    else if (!r.xml.hasError())
        r.xml.raiseError(QStringLiteral("no <TS> element"));
    if (!r.xml.hasError()) {
        file->layout = layoutOf(*file);
        return true;
    }
    if (error->line == 0)
        *error = {r.xml.lineNumber(), QStringLiteral("not a valid translation source: ") + r.xml.errorString()};
    return false;
}
