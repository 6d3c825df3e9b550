#include "tswriter.h"

#include "tsescape.h"
#include "tslayout.h"
#include "tslocations.h"

namespace {

struct Writing
{
    const TsLayout &layout;
    LocationStyle style;
    bool restyle;
    LocationReading locations; // as a reader of what is written so far stands
    QString out;
};

QString locationElement(const LocationXml &xml)
{
    QString out = QStringLiteral("<location");
    if (xml.named)
        out += QStringLiteral(" filename=\"") + escapedAttributeValue(xml.fileName) + u'"';
    if (xml.hasLine)
        out += QStringLiteral(" line=\"") + xml.line + u'"';
    return out + QStringLiteral("/>");
}

void writeLocations(Writing &w, const QList<TsLocation> &locations, const QString &leading)
{
    if (w.style == LocationStyle::None)
        return;
    for (qsizetype i = 0; i < locations.size(); ++i)
        w.out += leading + locationElement(locationXmlFor(locations.at(i), i == 0, w.style, &w.locations));
}

// Whether the message's <location> elements, where it now stands, read as
// its locations in the style written; *after: the reading past them.
bool locationsStand(const Writing &w, const TsMessage &message, LocationReading *after)
{
    if (message.locationsChanged)
        return false;
    *after = w.locations;
    QList<TsLocation> read;
    bool first = true; // as the reader counts: dropped locations too
    for (const TsMessagePart &part : message.parts) {
        if (part.kind != TsMessagePart::Location)
            continue;
        if ((w.restyle || w.style == LocationStyle::None) && !fitsStyle(part.location, w.style))
            return false;
        TsLocation location;
        qint64 line = 0;
        const LocationRead result = readLocationXml(part.location, first, after, &location, &line);
        first = false;
        if (result == LocationRead::NoSuchLine)
            return false;
        if (result == LocationRead::Taken)
            read.append(location);
    }
    return read == message.locations;
}

// The white space before the message's parts, as its first part has it.
QString partLeadingOf(const TsMessage &message, const TsLayout &layout)
{
    for (const TsMessagePart &part : message.parts) {
        if (!part.made)
            return trailingWhitespace(part.leading);
    }
    return layout.partLeading;
}

// A <translation> with the message's state: its start tag anew, the rest as it stands.
QString retypedTranslation(const TsMessagePart &part, const TsMessage &message)
{
    QList<XmlAttribute> attributes = part.attributes;
    const QString type = QStringLiteral("type");
    setAttribute(&attributes, type, attributeValue(message.translationAttributes, type));
    const bool selfClosing = part.xml.size() == part.startTagSize;
    return QStringLiteral("<translation") + attributesXml(attributes) + (selfClosing ? QStringLiteral("/>") : QStringLiteral(">"))
           + part.xml.mid(part.startTagSize);
}

QString emptyElement(const QString &name, const QString &attributes, const TsLayout &layout)
{
    const QString start = u'<' + name + attributes;
    return layout.selfClosingEmpty ? start + QStringLiteral("/>") : start + QStringLiteral("></") + name + u'>';
}

QString madeTranslation(const TsMessage &message, const TsLayout &layout, const QString &leading)
{
    const QString attributes = attributesXml(message.translationAttributes);
    if (message.numerusForms == 0)
        return emptyElement(QStringLiteral("translation"), attributes, layout);
    QString out = QStringLiteral("<translation") + attributes + u'>';
    for (int i = 0; i < message.numerusForms; ++i)
        out += layout.formLeading + emptyElement(QStringLiteral("numerusform"), QString(), layout);
    return out + leading + QStringLiteral("</translation>");
}

void writeMadeMessage(Writing &w, const TsMessage &message)
{
    const TsLayout &layout = w.layout;
    const QString &leading = layout.partLeading;
    w.out += layout.messageLeading + QStringLiteral("<message") + attributesXml(message.attributes) + u'>';
    writeLocations(w, message.locations, leading);
    w.out += leading + QStringLiteral("<source>") + escapedText(message.source, layout) + QStringLiteral("</source>");
    if (!message.comment.isEmpty())
        w.out += leading + QStringLiteral("<comment>") + escapedText(message.comment, layout) + QStringLiteral("</comment>");
    w.out += leading + madeTranslation(message, layout, leading);
    for (const TsMessagePart &part : message.parts) {
        if (part.made)
            w.out += leading + part.xml;
    }
    w.out += layout.messageLeading + QStringLiteral("</message>");
}

// A message as read, but for what changed: its locations where they no longer
// read as they should, its translation's state, and parts added to it.
void writeMessage(Writing &w, const TsMessage &message)
{
    if (message.startTag.isEmpty()) {
        writeMadeMessage(w, message);
        return;
    }
    LocationReading after;
    const bool stand = locationsStand(w, message, &after);
    const QString leading = partLeadingOf(message, w.layout);
    w.out += message.leading + message.startTag;
    bool placed = stand;
    QString carried; // what a dropped location had before it besides white space
    for (const TsMessagePart &part : message.parts) {
        if (!placed) {
            writeLocations(w, message.locations, leading);
            placed = true;
        }
        if (part.kind == TsMessagePart::Location && !stand) {
            carried += beforeTrailingWhitespace(part.leading);
            continue;
        }
        w.out += part.made ? leading : carried + part.leading;
        carried.clear();
        const bool retype = part.kind == TsMessagePart::Translation && message.translationChanged;
        w.out += retype ? retypedTranslation(part, message) : part.xml;
    }
    w.out += carried + message.end;
    if (stand)
        w.locations = after;
}

void writeContext(Writing &w, const TsContext &context)
{
    const bool made = context.head.isEmpty();
    if (made) {
        w.out += w.layout.contextLeading + QStringLiteral("<context>") + w.layout.messageLeading
                 + QStringLiteral("<name>") + escapedText(context.name, w.layout) + QStringLiteral("</name>");
    } else {
        w.out += context.leading + context.head;
    }
    for (const TsMessage &message : context.messages)
        writeMessage(w, message);
    w.out += made ? w.layout.contextLeading + QStringLiteral("</context>") : context.end;
}

QString madeHead(const TsFile &file)
{
    QList<XmlAttribute> attributes = file.attributes;
    attributes.removeIf([](const XmlAttribute &a) { return a.name == QStringLiteral("version"); });
    attributes.prepend({QStringLiteral("version"), QStringLiteral("2.1")});
    const QString &newline = file.layout.newline;
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>") + newline + QStringLiteral("<!DOCTYPE TS>")
           + newline + QStringLiteral("<TS") + attributesXml(attributes) + u'>';
}

// The head as read, its <TS> start tag anew when its attributes changed or
// the element, empty before, now holds contexts.
QString headOf(const TsFile &file, bool opened)
{
    if (!file.attributesChanged && !opened)
        return file.head;
    const QString tag = QStringLiteral("<TS") + attributesXml(file.attributes)
                        + (file.rootSelfClosing && !opened ? QStringLiteral("/>") : QStringLiteral(">"));
    return file.head.left(file.rootStartTagAt) + tag + file.head.mid(file.rootStartTagAt + file.rootStartTagSize);
}

} // namespace

QByteArray tsFileBytes(const TsFile &file, LocationStyle style, bool restyle)
{
    Writing w{file.layout, style, restyle, {}, {}};
    const bool made = file.rootStartTagAt < 0;
    const bool opened = file.rootSelfClosing && !file.contexts.isEmpty();
    w.out = made ? madeHead(file) : headOf(file, opened);
    for (const TsContext &context : file.contexts)
        writeContext(w, context);
    if (made)
        w.out += file.layout.newline + QStringLiteral("</TS>") + file.layout.newline;
    else
        w.out += (opened ? file.layout.newline + QStringLiteral("</TS>") : QString()) + file.end;
    return file.byteOrderMark + w.out.toUtf8();
}
