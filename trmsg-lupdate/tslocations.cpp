#include "tslocations.h"

#include <limits>

LocationRead readLocationXml(const LocationXml &xml, bool firstInMessage, LocationReading *reading,
                             TsLocation *location, qint64 *line)
{
    if (firstInMessage)
        reading->messageFile = reading->firstFile;
    if (xml.named) {
        reading->messageFile = xml.fileName;
        if (firstInMessage)
            reading->firstFile = xml.fileName;
    }
    *location = TsLocation{reading->messageFile, -1};
    if (location->fileName.isEmpty())
        return LocationRead::Dropped; // no file named before it: it says nothing
    if (!xml.hasLine)
        return LocationRead::Taken;
    bool ok = false;
    qint64 number = xml.line.toInt(&ok);
    if (!ok)
        return LocationRead::Dropped; // as Qt's tools drop it
    const bool relative = xml.line.startsWith(u'+') || xml.line.startsWith(u'-');
    if (relative)
        number += reading->lastLine.value(location->fileName);
    if (number < 0 || number > std::numeric_limits<int>::max()) {
        *line = number;
        return LocationRead::NoSuchLine;
    }
    location->line = int(number);
    if (relative) // as Qt's tools count: from the last relative line
        reading->lastLine.insert(location->fileName, location->line);
    return LocationRead::Taken;
}

LocationXml locationXmlFor(const TsLocation &location, bool firstInMessage, LocationStyle style,
                           LocationReading *reading)
{
    LocationXml xml;
    const QString &current = firstInMessage ? reading->firstFile : reading->messageFile;
    xml.named = style == LocationStyle::Relative ? location.fileName != current : !location.fileName.isEmpty();
    xml.fileName = xml.named ? location.fileName : QString();
    xml.hasLine = location.line >= 0;
    if (xml.hasLine && style == LocationStyle::Relative) {
        const int delta = location.line - reading->lastLine.value(location.fileName);
        xml.line = (delta < 0 ? QString() : QStringLiteral("+")) + QString::number(delta);
    } else if (xml.hasLine) {
        xml.line = QString::number(location.line);
    }
    TsLocation unused;
    qint64 unusedLine = 0;
    readLocationXml(xml, firstInMessage, reading, &unused, &unusedLine);
    return xml;
}

bool fitsStyle(const LocationXml &xml, LocationStyle style)
{
    if (style == LocationStyle::None)
        return false;
    const bool relative = xml.line.startsWith(u'+') || xml.line.startsWith(u'-');
    return !xml.hasLine || relative == (style == LocationStyle::Relative);
}
