// Running trmsg-lupdate and the Qt tools on files in a scratch directory.
#pragma once

#include "processrun.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// trmsg-lupdate with the given arguments and PATH=/usr/bin:/bin (or path);
// with fileSizeKiB, under that file size limit with SIGXFSZ ignored, so that
// a write beyond it fails with EFBIG.
ProcessResult runLupdate(const QStringList &arguments, const QByteArray &path = "/usr/bin:/bin", int fileSizeKiB = 0);
ProcessResult runTool(const QByteArray &binary, const QStringList &arguments);
QByteArray lconvertBinary();
QByteArray lreleaseBinary();
QByteArray bashBinary();

void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
// A file's inode number and modification time: what tells a rewrite.
QByteArray fileIdentity(const QString &path);

// The messages of a .ts file, one "context|source|comment" each (line
// breaks as \n), read independently of trmsg-lupdate's reader.
QStringList messagesOf(const QByteArray &ts);
// Fills every unfinished translation whose source is a key of translations.
QByteArray withTranslations(const QByteArray &ts, const QList<QPair<QString, QString>> &translations);
