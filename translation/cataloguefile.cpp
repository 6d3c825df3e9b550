#include "translation/cataloguefile.h"

#include "translation/qmcheck.h"

#include <QStringList>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Deeper dependency chains than this are taken for damage.
constexpr int maxDependencyDepth = 16;

// The C library's calls rather than QFileInfo and QFile: trmsg runs once per
// message, and Qt's file classes would cost it more memory than all its own
// work does.
bool isLoadableFile(const QString &path)
{
    const QByteArray name = path.toLatin1();
    struct stat status;
    return ::stat(name.constData(), &status) == 0 && S_ISREG(status.st_mode) && ::access(name.constData(), R_OK) == 0;
}

// The place in name where the search cuts it next: its last '_' or '.', or 0
// when there is none past the first character.
qsizetype nextCut(const QString &name)
{
    return qMax<qsizetype>(0, qMax(name.lastIndexOf(u'_'), name.lastIndexOf(u'.')));
}

// The size bytes of the file open at fd, read in one go into a buffer of
// that size; fewer when the file shrank meanwhile. Copied, not mapped: a
// catalogue rewritten in place while trmsg reads it then gives damaged or
// short contents, which the check refuses, never a SIGBUS.
QByteArray readContents(int fd, qsizetype size)
{
    QByteArray contents(size, Qt::Uninitialized);
    qsizetype done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, contents.data() + done, size_t(size - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return QByteArray();
        if (got == 0)
            break;
        done += got;
    }
    contents.truncate(done);
    return contents;
}

// The contents of the regular file at path, or nothing when it is too big
// for QTranslator (an int's worth). Opened without blocking, so that a FIFO
// put in the file's place after the search cannot hang trmsg.
QByteArray readFile(const QString &path)
{
    const int fd = ::open(path.toLatin1().constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return QByteArray();
    QByteArray contents;
    struct stat status;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= INT_MAX)
        contents = readContents(fd, qsizetype(status.st_size));
    ::close(fd);
    return contents;
}

QString canonicalPath(const QString &path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.toLatin1().constData(), resolved) ? QString::fromLatin1(resolved) : path;
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
    const QString canonical = canonicalPath(path);
    if (chain->contains(canonical) || chain->size() >= maxDependencyDepth)
        return false;
    chain->append(canonical);
    for (const QString &dependency : dependencies) {
        // QTranslator names a dependency's file in UTF-8.
        const QString dependencyPath = findCatalogueFile(QString::fromLatin1(dependency.toUtf8()), directory);
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
    if (!name.startsWith(u'/') && !directory.isEmpty()) {
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
