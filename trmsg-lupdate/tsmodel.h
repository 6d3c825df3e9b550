// A Qt translation source (.ts) as trmsg-lupdate reads, merges and writes it.
// What it does not interpret (unknown elements, extra attributes, the inside
// of <translation>) is kept as XML text, so an update loses none of it.
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

// A child element of <message> other than <location>, in the file's order.
struct TsMessagePart
{
    enum Kind { Source, Comment, Translation, Other };
    Kind kind = Other;
    QString xml; // Other: the whole element as written back
};

struct TsMessage
{
    QList<XmlAttribute> attributes;
    QList<TsLocation> locations;
    QString source;
    QString comment;
    QList<TsMessagePart> parts;
    QList<XmlAttribute> translationAttributes; // type="unfinished", ...
    QString translationXml;                     // what is inside <translation>, as written back
    bool translated = false;                    // the translation holds some text
};

struct TsContext
{
    QString name;
    QStringList otherElements; // children other than <name> and <message>, as XML
    QList<TsMessage> messages;
};

enum class LocationStyle { Absolute, Relative, None };

struct TsFile
{
    QList<XmlAttribute> attributes; // of <TS>: version, language, sourcelanguage, ...
    QStringList otherElements;      // children of <TS> other than <context>, as XML
    QList<TsContext> contexts;
    bool hasLocations = false;
    LocationStyle locationStyle = LocationStyle::Absolute; // as found in the file
};

// The value of an attribute, or an empty string.
QString attributeValue(const QList<XmlAttribute> &attributes, const QString &name);
// Sets (or with an empty value, removes) an attribute, keeping the others' order.
void setAttribute(QList<XmlAttribute> *attributes, const QString &name, const QString &value);
