#include "translation/cataloguefile.h"

#include "platform/platform.h"
#include "translation/qmcheck.h"

#include <QStringList>

#include <climits>

namespace {

// Deeper dependency chains than this are taken for damage.
constexpr int maxDependencyDepth = 16;

bool isLoadableFile(const QString &path)
{
    return isReadableRegularFile(path);
}

// The place in name where the search cuts it next: its last '_' or '.', or 0
// when there is none past the first character.
qsizetype nextCut(const QString &name)
{
    return qMax<qsizetype>(0, qMax(name.lastIndexOf(u'_'), name.lastIndexOf(u'.')));
}

// The contents of the file at path, when QTranslator can take its size (an
// int's worth).
QByteArray readFile(const QString &path)
{
    return readRegularFile(path, INT_MAX);
}

// Whether the catalogue at path and its dependencies are sound; chain holds
// the catalogues that led here, so that a catalogue depending on itself,
// directly or not, is refused instead of loaded forever.
bool isSoundCatalogueTree(const QString &path, const QString &directory, const QByteArray &data,
                          QStringList *chain)
{
    if (!isSoundCatalogue(data))
        return false;
    const QStringList dependencies = catalogueDependencies(data);
    if (dependencies.isEmpty())
        return true;
    const QString canonical = canonicalFilePath(path);
    if (chain->contains(canonical) || chain->size() >= maxDependencyDepth)
        return false;
    chain->append(canonical);
    for (const QString &dependency : dependencies) {
        // QTranslator opens a dependency's file by its name in Unicode.
        const QString dependencyPath = findCatalogueFile(fileNameFromUnicode(dependency), directory);
        if (dependencyPath.isEmpty())
            continue; // QTranslator refuses the catalogue then; nothing unsafe
        if (!isSoundCatalogueTree(dependencyPath, directory, readFile(dependencyPath), chain))
            return false;
    }
    chain->removeLast();
    return true;
}

} // namespace

QString findCatalogueFile(const QString &name, const QString &directory)
{
    QString prefix;
    if (!isAbsoluteFileName(name) && !directory.isEmpty()) {
        prefix = directory;
        if (!prefix.endsWith(u'/'))
            prefix += u'/';
    }
    QString stem = name;
    for (;;) {
        const QString withSuffix = prefix + stem + QLatin1String(".qm");
        if (isLoadableFile(withSuffix))
            return withSuffix;
        const QString bare = prefix + stem;
        if (isLoadableFile(bare))
            return bare;
        const qsizetype cut = nextCut(stem);
        if (cut == 0)
            return QString();
        stem.truncate(cut);
    }
}

QByteArray readSoundCatalogue(const QString &path, const QString &directory)
{
    const QByteArray data = readFile(path);
    QStringList chain;
    return isSoundCatalogueTree(path, directory, data, &chain) ? data : QByteArray();
}
