// Brings a .ts file up to date with the messages found in the scripts,
// keeping every translation and its state.
#pragma once

#include <QList>
#include <QString>

#include "extraction.h"
#include "tsmodel.h"

struct MergeCounts
{
    int found = 0;    // distinct messages in the scripts
    int added = 0;    // of which new to the file
    int vanished = 0; // in the file, no longer in the scripts, kept
    int removed = 0;  // in the file, no longer in the scripts, dropped
    int restored = 0; // of the found, taken back from the previous file
    bool heldScripts = false; // the file held a message of the scripts before
};

struct MergeSettings
{
    QString tsDirectory; // locations are written relative to it
    QStringList scripts; // this run's, absolute
    bool noObsolete = false;
    // The file as it was before Qt's lupdate ran on it, or null: the scripts'
    // own messages it dropped come back from there, as they were.
    const TsFile *previous = nullptr;
};

MergeCounts mergeMessages(TsFile *file, const QList<FoundMessage> &found, const MergeSettings &settings);
