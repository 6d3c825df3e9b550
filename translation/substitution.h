// Filling the numbered markers (%1, %2, ...) of a message with its arguments,
// and %n with the count that chose its plural form.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// How many different marker numbers text holds: the most arguments it can use.
int distinctMarkerCount(QStringView text);

// Replaces the markers of text with arguments in a single pass: the first
// argument fills every occurrence of the lowest-numbered marker, the second
// the next lowest, and so on. A marker is a per cent sign, an optional 'L'
// and one or two digits, as QString::arg(a1, ..., a9) reads them. Text that
// comes from an argument is never read again as a marker. Markers left over
// stay as they are; arguments left over are ignored.
//
// With a count (pluralCount of 0 or more), the same pass replaces %n with the
// count and %Ln with the count in the locale's digit grouping, as Qt's
// QCoreApplication::translate does; the count's digits are never read as a
// marker either.
QString substituteArguments(QStringView text, const QStringList &arguments, qint32 pluralCount = -1);
