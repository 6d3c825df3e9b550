// How the <location> elements of a .ts file read, and how to write one that
// reads back as the location meant where it stands. Without a file name, a
// message's first location takes the file of the previous message's first
// location, a later one the file named last in its own message; a relative
// line (+N, -N) counts from the last relative line in that file. This is how
// Qt's tools resolve them.
#pragma once

#include <QHash>
#include <QString>

#include "tsmodel.h"

struct LocationReading
{
    QString firstFile;   // of the previous message's first location
    QString messageFile; // named last in the current message
    QHash<QString, int> lastLine;
};

enum class LocationRead { Taken, Dropped, NoSuchLine };

// Resolves one <location>, the first of its message or not, and moves the
// reading on past it. Dropped: a line Qt's tools do not read, or no file
// named before it; NoSuchLine: a line below 0 or past the largest int, with
// *line set to it.
LocationRead readLocationXml(const LocationXml &xml, bool firstInMessage, LocationReading *reading,
                             TsLocation *location, qint64 *line);

// The <location> that reads back as location at this point of the file,
// written in style (Absolute or Relative); moves the reading on past it.
LocationXml locationXmlFor(const TsLocation &location, bool firstInMessage, LocationStyle style,
                           LocationReading *reading);

// True when the element is written as style writes locations.
bool fitsStyle(const LocationXml &xml, LocationStyle style);
