// The layout of a .ts file as read: its line ends, the indentation of each
// kind of element, its form of an empty translation and of quotes in text.
// What the file does not show is taken as Qt's lupdate lays it out.
#pragma once

#include <QString>

#include "tsmodel.h"

TsLayout layoutOf(const TsFile &file);

// The white space that ends text, and the text before it.
QString trailingWhitespace(const QString &text);
QString beforeTrailingWhitespace(const QString &text);
