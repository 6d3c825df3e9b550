// A Qt translation source (.ts) as trmsg-lupdate reads, merges and writes it.
// Besides what trmsg-lupdate interprets, every message, context and the file
// keep their text as read, in pieces that laid end to end give the file back:
// what trmsg-lupdate does not change is written back byte for byte, and what
// it changes is written anew in the file's own layout.
#pragma once

#include <QList>
#include <QString>

struct XmlAttribute
{
    QString name;
    QString value;
};

struct TsLocation
{
    QString fileName; // relative to the .ts file's directory
    int line = -1;    // -1: none given
};

bool operator==(const TsLocation &a, const TsLocation &b);

// A <location> as written: its meaning depends on the locations before it.
struct LocationXml
{
    bool named = false; // has a filename attribute
    QString fileName;
    bool hasLine = false;
    QString line; // as written: "12", "+3", "-1"
};

// A child element of <message>, with the text before it.
struct TsMessagePart
{
    enum Kind { Location, Source, Comment, Translation, Other };
    Kind kind = Other;
    bool made = false;       // by trmsg-lupdate: laid out as the file lays out its own
    QString leading;         // white space (and comments) since the previous part
    QString xml;             // the whole element, as written back
    qsizetype startTagSize = 0;     // of its start tag in xml
    QList<XmlAttribute> attributes; // Translation: its own
    LocationXml location;           // Location
};

struct TsMessage
{
    QString leading;  // before <message>, since what precedes it in the context
    QString startTag; // as read; empty for a message trmsg-lupdate makes
    QString end;      // after the last part: white space and </message>
    QList<XmlAttribute> attributes;
    QList<TsMessagePart> parts;
    QList<TsLocation> locations; // as resolved from the parts, or as set
    QString source;
    QString comment;
    QList<XmlAttribute> translationAttributes; // type="unfinished", ...
    bool translated = false;                    // the translation holds some text
    bool locationsChanged = false;
    bool translationChanged = false;
    int numerusForms = 0; // of a numerus message made here
};

struct TsContext
{
    QString leading; // before <context>, since what precedes it in the file
    QString head;    // from <context> to the first message's leading: its <name>, ...; empty when made here
    QString end;     // after the last message: white space and </context>
    QString name;
    bool holdsOther = false; // an element, comment or text besides <name> and the messages
    QList<TsMessage> messages;
};

enum class LocationStyle { Absolute, Relative, None };

// How the file lays out what it holds, for what trmsg-lupdate writes anew:
// the white space before each kind of element, line end included.
struct TsLayout
{
    QString newline = QStringLiteral("\n");
    QString contextLeading = QStringLiteral("\n");             // before <context>, </context>
    QString messageLeading = QStringLiteral("\n    ");         // before <name>, <message>, </message>
    QString partLeading = QStringLiteral("\n        ");        // before <location>, <source>, ...
    QString formLeading = QStringLiteral("\n            ");    // before <numerusform>
    bool selfClosingEmpty = false; // <translation type="unfinished"/>
    bool rawApostrophe = false;    // ' in text, not &apos;
    bool rawQuote = false;         // " in text, not &quot;
};

struct TsFile
{
    QByteArray byteOrderMark;
    QString head;  // up to the first context's leading: the prolog, <TS ...> and what precedes the contexts
    QString end;   // after the last context: white space, </TS> and what follows it
    bool rootSelfClosing = false; // <TS .../>
    qsizetype rootStartTagAt = -1; // in head; -1 for a file made here
    qsizetype rootStartTagSize = 0;
    QList<XmlAttribute> attributes; // of <TS>: version, language, sourcelanguage, ...
    bool attributesChanged = false;
    QList<TsContext> contexts;
    bool hasMessages = false;
    bool hasLocations = false;
    LocationStyle locationStyle = LocationStyle::Absolute; // as found in the file
    TsLayout layout;
};

// The value of an attribute, or an empty string.
QString attributeValue(const QList<XmlAttribute> &attributes, const QString &name);
// Sets (or with an empty value, removes) an attribute, keeping the others' order.
// False when that changes nothing.
bool setAttribute(QList<XmlAttribute> *attributes, const QString &name, const QString &value);
