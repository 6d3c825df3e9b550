#include "platform/platform.h"

#include <QTextCodec>

#include <cctype>
#include <string>
#include <climits>
#include <cstdlib>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

void keepStandardStreamsUsable()
{
    // A Windows console program's standard streams stay in the C runtime's
    // text mode, so that a newline is written as CR LF. Nothing to mend: a
    // closed stream is refused by the runtime, not given to the next file.
}

QByteArray localeCharsetName()
{
    // The ANSI code page: what Windows gives a console program's argument
    // vector in and expects of its output when that is redirected. Qt knows
    // most as CP<number>; two only by their own names.
    const UINT codePage = GetACP();
    switch (codePage) {
    case CP_UTF8:
        return QByteArrayLiteral("UTF-8");
    case 932:
        return QByteArrayLiteral("Shift_JIS");
    case 874:
        return QByteArrayLiteral("TIS-620");
    default:
        return "CP" + QByteArray::number(uint(codePage));
    }
}

QTextCodec *fallbackLocaleCodec()
{
    return QTextCodec::codecForLocale();
}

bool isReadableRegularFile(const QByteArray &path)
{
    struct _stat64 status;
    return _stat64(path.constData(), &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG
        && _access(path.constData(), 4) == 0;
}

bool openReadableFile(const QByteArray &path, qint64 maxSize, ReadableFile *file)
{
    const int fd = _open(path.constData(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd < 0)
        return false;
    struct _stat64 status;
    if (_fstat64(fd, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG || status.st_size > maxSize) {
        _close(fd);
        return false;
    }
    file->descriptor = fd;
    file->size = qint64(status.st_size);
    return true;
}

bool readFileAt(const ReadableFile &file, qint64 offset, char *buffer, qint64 length)
{
    if (_lseeki64(file.descriptor, offset, SEEK_SET) != offset)
        return false;
    while (length > 0) {
        const int got = _read(file.descriptor, buffer, unsigned(qMin<qint64>(length, INT_MAX)));
        if (got <= 0)
            return false;
        buffer += got;
        length -= got;
    }
    return true;
}

void closeReadableFile(ReadableFile *file)
{
    if (file->descriptor >= 0)
        _close(file->descriptor);
    file->descriptor = -1;
}

QByteArray canonicalFilePath(const QByteArray &path)
{
    char resolved[_MAX_PATH];
    return _fullpath(resolved, path.constData(), sizeof resolved) ? QByteArray(resolved) : path;
}

bool isAbsoluteFileName(const QByteArray &name)
{
    // \dir, /dir, \\server\share and C:... (a drive counts as absolute, as it
    // does for Qt).
    return name.startsWith('\\') || name.startsWith('/')
        || (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':');
}

bool enterDirectory(const QByteArray &directory, WorkingDirectory *previous)
{
    char current[_MAX_PATH];
    previous->path = _getcwd(current, sizeof current) ? QByteArray(current) : QByteArray();
    return _chdir(directory.constData()) == 0;
}

void returnToDirectory(WorkingDirectory *previous)
{
    if (!previous->path.isEmpty())
        _chdir(previous->path.constData());
    previous->path.clear();
}

namespace {

// The console window shows its own code page (the OEM one), not the ANSI
// code page trmsg's bytes are in: there the text goes in Unicode instead.
bool writeToConsole(HANDLE console, const char *data, qsizetype size)
{
    const int units = MultiByteToWideChar(CP_ACP, 0, data, int(size), nullptr, 0);
    if (units <= 0)
        return size == 0;
    std::wstring text(size_t(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, data, int(size), text.data(), units);
    DWORD written = 0;
    return WriteConsoleW(console, text.data(), DWORD(text.size()), &written, nullptr) && written == text.size();
}

} // namespace

bool writeStandardOutput(const char *data, qsizetype size)
{
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out != INVALID_HANDLE_VALUE && out != nullptr && GetConsoleMode(out, &mode))
        return writeToConsole(out, data, size);
    // _write in text mode writes each newline as CR LF.
    while (size > 0) {
        const int written = _write(1, data, unsigned(qMin<qsizetype>(size, INT_MAX)));
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}
