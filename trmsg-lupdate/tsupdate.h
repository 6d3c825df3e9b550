// Creating or updating one .ts file with the messages found.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "extraction.h"
#include "merge.h"
#include "options.h"

struct TsUpdate
{
    QString path;
    bool exists = false;
    QByteArray oldBytes;
    QByteArray newBytes;
    MergeCounts counts;
    QString previousPath; // the copy the scripts' dropped messages came back from
    QString warning;
};

// Reads the file if it exists and works out its new text; false with
// *error when the file cannot be read or is not a translation source.
bool prepareTsUpdate(const QString &path, const QList<FoundMessage> &found, const LupdateOptions &options,
                     TsUpdate *update, QString *error);
// Writes the new text through a temporary file renamed over the old one,
// unless nothing changed.
bool writeTsUpdate(const TsUpdate &update, QString *error);
// The summary lines for standard error.
QString updateSummary(const TsUpdate &update);
