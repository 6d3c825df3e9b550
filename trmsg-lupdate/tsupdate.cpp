#include "tsupdate.h"

#include "languages.h"
#include "tsreader.h"
#include "tswriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr qint64 maximumTsBytes = 256 * 1024 * 1024;

bool readBytes(const QString &path, bool *exists, QByteArray *bytes, QString *error)
{
    QFile file(path);
    *exists = file.exists();
    if (!*exists)
        return true;
    if (!file.open(QIODevice::ReadOnly) || file.size() > maximumTsBytes) {
        *error = QStringLiteral("%1: cannot read: %2")
                     .arg(path, file.isOpen() ? QStringLiteral("too big") : file.errorString());
        return false;
    }
    *bytes = file.readAll();
    return true;
}

bool readTs(const QString &path, const QByteArray &bytes, TsFile *file, QString *error)
{
    TsReadError readError;
    if (readTsFile(bytes, file, &readError))
        return true;
    *error = QStringLiteral("%1:%2: %3").arg(path).arg(readError.line).arg(readError.why);
    return false;
}

// The copy of the file from before Qt's lupdate ran, when there is one.
bool readPrevious(const QString &path, const LupdateOptions &options, TsUpdate *update, TsFile *previous,
                  bool *found, QString *error)
{
    *found = false;
    if (options.previousDirectory.isEmpty())
        return true;
    const QString previousPath = QDir(options.previousDirectory).filePath(QFileInfo(path).fileName());
    QByteArray bytes;
    if (!readBytes(previousPath, found, &bytes, error) || !*found)
        return !*found || error->isEmpty();
    update->previousPath = previousPath;
    return readTs(previousPath, bytes, previous, error);
}

// Without a location in it, a file that holds messages gets none; one that
// holds none gets them as a new file does.
LocationStyle locationStyleFor(const TsFile &file, bool exists, const LupdateOptions &options)
{
    if (options.locationsGiven)
        return options.locations;
    if (!exists)
        return LocationStyle::Absolute;
    if (file.hasLocations)
        return file.locationStyle;
    return file.hasMessages ? LocationStyle::None : LocationStyle::Absolute;
}

// Qt's lupdate drops the scripts' messages with -no-obsolete: a file of
// other messages that gets every one of the scripts' as new may have lost them.
QString droppedWarning(const TsUpdate &update, const TsFile &file)
{
    const MergeCounts &counts = update.counts;
    if (!update.exists || !file.hasMessages || !update.previousPath.isEmpty() || counts.heldScripts
        || counts.added == 0 || counts.added != counts.found)
        return QString();
    return QStringLiteral("%1: none of the scripts' %2 messages was in it; if Qt's lupdate dropped them "
                          "(-no-obsolete), their translations are lost: see -previous in trmsg-lupdate(1)")
        .arg(update.path)
        .arg(counts.found);
}

void setLanguages(TsFile *file, const QString &path, bool created, const LupdateOptions &options)
{
    QString language = options.targetLanguage;
    if (language.isEmpty() && created)
        language = languageFromFileName(path);
    if (!language.isEmpty() && setAttribute(&file->attributes, QStringLiteral("language"), language))
        file->attributesChanged = true;
    if (!options.sourceLanguage.isEmpty()
        && setAttribute(&file->attributes, QStringLiteral("sourcelanguage"), options.sourceLanguage))
        file->attributesChanged = true;
}

// Unbuffered, a write that stops short (a full disk, a file size limit) is
// seen, and writing the rest gets its error; buffered, Qt would drop it.
bool writeAll(QSaveFile *file, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file->write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool prepareTsUpdate(const QString &path, const QList<FoundMessage> &found, const LupdateOptions &options,
                     TsUpdate *update, QString *error)
{
    update->path = path;
    TsFile file;
    TsFile previous;
    bool hasPrevious = false;
    if (!readBytes(path, &update->exists, &update->oldBytes, error)
        || (update->exists && !readTs(path, update->oldBytes, &file, error))
        || !readPrevious(path, options, update, &previous, &hasPrevious, error))
        return false;
    setLanguages(&file, path, !update->exists, options);
    const LocationStyle style = locationStyleFor(file, update->exists, options);
    MergeSettings settings{QFileInfo(path).absolutePath(), {}, options.noObsolete, hasPrevious ? &previous : nullptr};
    for (const QString &script : options.scripts)
        settings.scripts.append(QFileInfo(script).absoluteFilePath());
    update->counts = mergeMessages(&file, found, settings);
    update->newBytes = tsFileBytes(file, style, options.locationsGiven);
    update->warning = droppedWarning(*update, file);
    return true;
}

bool writeTsUpdate(const TsUpdate &update, QString *error)
{
    if (update.exists && update.newBytes == update.oldBytes)
        return true;
    QSaveFile file(update.path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && writeAll(&file, update.newBytes) && file.commit())
        return true;
    *error = QStringLiteral("%1: cannot write: %2").arg(update.path, file.errorString());
    return false;
}

QString updateSummary(const TsUpdate &update)
{
    const MergeCounts &counts = update.counts;
    QString summary = QStringLiteral("%1 '%2'...\n    Found %3 source text(s) (%4 new and %5 already existing)\n")
                          .arg(update.exists ? QStringLiteral("Updating") : QStringLiteral("Creating"), update.path)
                          .arg(counts.found)
                          .arg(counts.added)
                          .arg(counts.found - counts.added);
    if (counts.vanished > 0)
        summary += QStringLiteral("    Kept %1 vanished entries\n").arg(counts.vanished);
    if (counts.removed > 0)
        summary += QStringLiteral("    Removed %1 vanished entries\n").arg(counts.removed);
    if (counts.restored > 0)
        summary += QStringLiteral("    Took back %1 entries from %2\n").arg(counts.restored).arg(update.previousPath);
    return summary;
}
