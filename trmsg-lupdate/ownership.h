// Which messages of a .ts file are the scripts': trmsg-lupdate changes only
// those, and the scripts' locations on messages other sources use too.
// The scripts' own carry a mark, an extra-* element Qt's tools keep.
#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include "tsmodel.h"

struct Ownership
{
    QSet<QString> scripts;     // this run's, named as locations name them
    bool unmarkedFile = false; // written before trmsg-lupdate marked messages
};

// scripts: absolute paths; tsDirectory: where locations are relative to.
Ownership ownershipIn(const TsFile &file, const QString &tsDirectory, const QStringList &scripts);

bool hasScriptsMark(const TsMessage &message);
void addScriptsMark(TsMessage *message);
// A message another source uses is not the scripts' own: it loses the mark,
// as Qt's lupdate drops it from a message it finds.
void removeScriptsMark(TsMessage *message);
// The message's locations outside the scripts: in one of another source.
QList<TsLocation> otherLocations(const TsMessage &message, const Ownership &ownership);
// Marked (or, in a file from before the mark, found only in scripts), and
// no location elsewhere.
bool isScriptsOwn(const TsMessage &message, const Ownership &ownership);
