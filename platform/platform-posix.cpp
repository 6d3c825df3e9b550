#include "platform/platform.h"

#include <cerrno>
#include <climits>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

void keepStandardStreamsUsable()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) == -1)
            break;
    }
    std::signal(SIGPIPE, SIG_IGN);
}

QByteArray localeCharsetName()
{
    std::setlocale(LC_ALL, "");
    return QByteArray(nl_langinfo(CODESET));
}

QTextCodec *fallbackLocaleCodec()
{
    return nullptr;
}

char **commandLineArguments(int *, char **argv)
{
    return argv;
}

bool commandLineIsUtf8()
{
    return false;
}

QString fileNameFromOperand(const char *operand)
{
    return QString::fromLatin1(operand);
}

QString fileNameFromUnicode(const QString &name)
{
    return QString::fromLatin1(name.toUtf8());
}

bool installationDirectory(QString *directory)
{
    const char *value = std::getenv("ZEZAVAVEV");
    if (!value)
        return false;
    *directory = QString::fromLatin1(value);
    return true;
}

// The C library's calls rather than QFileInfo and QFile: trmsg runs once per
// message, and Qt's file classes would cost it more memory than all its own
// work does.
bool isReadableRegularFile(const QString &path)
{
    const QByteArray name = path.toLatin1();
    struct stat status;
    return ::stat(name.constData(), &status) == 0 && S_ISREG(status.st_mode) && ::access(name.constData(), R_OK) == 0;
}

bool openReadableFile(const QString &path, qint64 maxSize, ReadableFile *file)
{
    // Opened without blocking, so that a FIFO put in the file's place after
    // it was found cannot hang trmsg.
    const int fd = ::open(path.toLatin1().constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxSize) {
        ::close(fd);
        return false;
    }
    file->descriptor = fd;
    file->size = qint64(status.st_size);
    return true;
}

bool readFileAt(const ReadableFile &file, qint64 offset, char *buffer, qint64 length)
{
    while (length > 0) {
        const ssize_t got = ::pread(file.descriptor, buffer, size_t(length), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        buffer += got;
        offset += got;
        length -= got;
    }
    return true;
}

void closeReadableFile(ReadableFile *file)
{
    if (file->descriptor >= 0)
        ::close(file->descriptor);
    file->descriptor = -1;
}

QString canonicalFilePath(const QString &path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.toLatin1().constData(), resolved) ? QString::fromLatin1(resolved) : path;
}

bool isAbsoluteFileName(const QString &name)
{
    return name.startsWith(u'/');
}

bool enterDirectory(const QString &directory, WorkingDirectory *previous)
{
    // A descriptor rather than a name: the way back works even when the
    // current directory has no name the process could use.
    previous->descriptor = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return ::chdir(directory.toLatin1().constData()) == 0;
}

void returnToDirectory(WorkingDirectory *previous)
{
    if (previous->descriptor < 0)
        return;
    (void)!::fchdir(previous->descriptor);
    ::close(previous->descriptor);
    previous->descriptor = -1;
}

bool writeStandardOutput(const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool standardOutputTakesUnicode()
{
    return false;
}

bool writeStandardOutputUnicode(QStringView)
{
    return false;
}
