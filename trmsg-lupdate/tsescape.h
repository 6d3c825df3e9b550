// Text as Qt's translation tools write it in a .ts file: the five XML
// entities, and control characters other than tab and line feed, which XML
// 1.0 cannot hold, as <byte value="xHH"/> elements.
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include "tsmodel.h"

QString escapedText(QStringView text);
// Attribute values: the entities; control characters are dropped.
QString escapedAttributeValue(QStringView value);
// ' name="value"' for each attribute.
QString attributesXml(const QList<XmlAttribute> &attributes);
