// Text as Qt's translation tools write it in a .ts file: the XML entities,
// control characters other than tab and line feed, which XML 1.0 cannot hold,
// as <byte value="xHH"/> elements, and the spaces beyond ASCII (U+00A0,
// U+202F, U+3000, ...) as character references, as Qt's lupdate writes them.
// A file that writes ' or " as they are gets them so.
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include "tsmodel.h"

QString escapedText(QStringView text, const TsLayout &layout = TsLayout());
// Attribute values: the entities; control characters are dropped.
QString escapedAttributeValue(QStringView value);
// ' name="value"' for each attribute.
QString attributesXml(const QList<XmlAttribute> &attributes);
