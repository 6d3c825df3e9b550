// trmsg-lupdate's command line: [options] SCRIPT|DIRECTORY... -ts FILE.ts...
#pragma once

#include <QString>
#include <QStringList>

#include "tsmodel.h"

struct LupdateOptions
{
    QStringList scripts;
    QStringList tsFiles;
    QString dialect;        // -ln; empty: shfmt chooses
    QString prefix;         // -prefix
    QStringList keywords;   // -keyword, as given
    QString sourceEncoding; // -source-encoding
    bool locationsGiven = false;
    LocationStyle locations = LocationStyle::Absolute;
    bool noObsolete = false;
    QString previousDirectory; // -previous
    bool silent = false;
    QString targetLanguage;
    QString sourceLanguage;
    bool help = false;
    bool version = false;
};

// arguments: without the program name. False with *error for a bad command line.
bool parseOptions(const QStringList &arguments, LupdateOptions *options, QString *error);
QString usageText();
