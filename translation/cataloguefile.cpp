#include "translation/cataloguefile.h"

#include "platform/platform.h"
#include "translation/pagedfile.h"
#include "translation/qmcheck.h"

#include <QStringList>

#include <climits>

namespace {

// Deeper dependency chains than this are taken for damage.
constexpr int maxDependencyDepth = 16;

// The place in name where the search cuts it next: its last '_' or '.', or 0
// when there is none past the first character.
qsizetype nextCut(const QString &name)
{
    return qMax<qsizetype>(0, qMax(name.lastIndexOf(u'_'), name.lastIndexOf(u'.')));
}

// Opens the catalogue at path, when QTranslator can take its size (an int's
// worth).
bool openCatalogue(const QString &path, PagedFile *file)
{
    return openPagedFile(path, INT_MAX, file);
}

// What a check of a catalogue and its dependencies found.
enum class Verdict { Unsound, Translated, Untranslated };

// Checks the catalogue open in file and, file by file, those it depends on,
// as QTranslator loads them all and then, when asked (lookedUp), answers
// lookup: first from the catalogue's own tables, then from each dependency
// in turn until one translates. chain holds the catalogues that led here, so
// that a catalogue depending on itself, directly or not, is refused instead
// of loaded forever.
Verdict checkCatalogueTree(PagedFile *file, const QString &path, const QString &directory,
                           const CatalogueLookup &lookup, bool lookedUp, QStringList *chain,
                           bool *hasDependencies = nullptr)
{
    CatalogueSections sections;
    if (!readCatalogueSections(file, &sections))
        return Verdict::Unsound;
    CatalogueLookup asked = lookup;
    const LookupResult result = lookedUp ? checkLookup(file, sections, &asked) : LookupResult::Absent;
    if (result == LookupResult::Unsound)
        return Verdict::Unsound;
    Verdict verdict = result == LookupResult::Translated ? Verdict::Translated : Verdict::Untranslated;
    const QStringList dependencies = catalogueDependencies(*file, sections);
    if (hasDependencies)
        *hasDependencies = !dependencies.isEmpty();
    if (dependencies.isEmpty())
        return verdict;
    const QString canonical = canonicalFilePath(path);
    if (chain->contains(canonical) || chain->size() >= maxDependencyDepth)
        return Verdict::Unsound;
    chain->append(canonical);
    bool searching = result == LookupResult::Dependencies;
    for (const QString &dependency : dependencies) {
        // QTranslator opens a dependency's file by its name in Unicode.
        const QString dependencyPath = findCatalogueFile(fileNameFromUnicode(dependency), directory);
        if (dependencyPath.isEmpty())
            continue; // QTranslator refuses the catalogue then; nothing unsafe
        PagedFile dependencyFile;
        if (!openCatalogue(dependencyPath, &dependencyFile))
            return Verdict::Unsound;
        const Verdict found =
            checkCatalogueTree(&dependencyFile, dependencyPath, directory, asked, searching, chain);
        closePagedFile(&dependencyFile);
        if (found == Verdict::Unsound)
            return Verdict::Unsound;
        if (searching && found == Verdict::Translated) {
            searching = false;
            verdict = Verdict::Translated;
        }
    }
    chain->removeLast();
    return verdict;
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
        if (isReadableRegularFile(withSuffix))
            return withSuffix;
        const QString bare = prefix + stem;
        if (isReadableRegularFile(bare))
            return bare;
        const qsizetype cut = nextCut(stem);
        if (cut == 0)
            return QString();
        stem.truncate(cut);
    }
}

QByteArray readSoundCatalogue(const QString &path, const QString &directory, const CatalogueLookup &lookup,
                              bool *hasDependencies)
{
    PagedFile file;
    if (!openCatalogue(path, &file))
        return QByteArray();
    QStringList chain;
    const Verdict verdict = checkCatalogueTree(&file, path, directory, lookup, true, &chain, hasDependencies);
    closePagedFile(&file);
    return verdict == Verdict::Unsound ? QByteArray() : file.contents;
}
