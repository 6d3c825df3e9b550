#include "tsupdate.h"

#include "languages.h"
#include "tsreader.h"
#include "tswriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr qint64 maximumTsBytes = 256 * 1024 * 1024;

bool readExisting(const QString &path, TsUpdate *update, QString *error)
{
    QFile file(path);
    update->exists = file.exists();
    if (!update->exists)
        return true;
    if (!file.open(QIODevice::ReadOnly) || file.size() > maximumTsBytes) {
        *error = QStringLiteral("%1: cannot read: %2")
                     .arg(path, file.isOpen() ? QStringLiteral("too big") : file.errorString());
        return false;
    }
    update->oldBytes = file.readAll();
    return true;
}

void setLanguages(TsFile *file, const QString &path, bool created, const LupdateOptions &options)
{
    QString language = options.targetLanguage;
    if (language.isEmpty() && created)
        language = languageFromFileName(path);
    if (!language.isEmpty())
        setAttribute(&file->attributes, QStringLiteral("language"), language);
    if (!options.sourceLanguage.isEmpty())
        setAttribute(&file->attributes, QStringLiteral("sourcelanguage"), options.sourceLanguage);
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
    if (!readExisting(path, update, error))
        return false;
    TsFile file;
    TsReadError readError;
    if (update->exists && !readTsFile(update->oldBytes, &file, &readError)) {
        *error = QStringLiteral("%1:%2: %3").arg(path).arg(readError.line).arg(readError.why);
        return false;
    }
    setLanguages(&file, path, !update->exists, options);
    LocationStyle style = LocationStyle::Absolute;
    if (options.locationsGiven)
        style = options.locations;
    else if (file.hasLocations)
        style = file.locationStyle;
    MergeSettings settings{QFileInfo(path).absolutePath(), {}, options.noObsolete};
    for (const QString &script : options.scripts)
        settings.scripts.append(QFileInfo(script).absoluteFilePath());
    update->counts = mergeMessages(&file, found, settings);
    update->newBytes = tsFileBytes(file, style);
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
    return summary;
}
