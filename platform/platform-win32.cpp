#include "platform/platform.h"

#include <QTextCodec>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <sys/stat.h>
#include <windows.h>

#include <shellapi.h> // needs windows.h first

namespace {

// A file name as Windows' wide calls take it: the QString's own UTF-16.
const wchar_t *wide(const QString &name)
{
    return reinterpret_cast<const wchar_t *>(name.utf16());
}

} // namespace

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

char **commandLineArguments(int *count, char **argv)
{
    // The C runtime's argv is the command line converted to the ANSI code
    // page, every character it lacks lost or changed by best fit; the
    // UTF-16 command line holds what was typed.
    int wideCount = 0;
    wchar_t **wideVector = CommandLineToArgvW(GetCommandLineW(), &wideCount);
    if (!wideVector)
        return argv;
    char **vector = new char *[size_t(wideCount) + 1];
    for (int i = 0; i < wideCount; ++i) {
        const QByteArray utf8 =
            i == 0 && *count > 0 ? QByteArray(argv[0]) : QString::fromWCharArray(wideVector[i]).toUtf8();
        vector[i] = new char[size_t(utf8.size()) + 1];
        std::copy(utf8.constData(), utf8.constData() + utf8.size() + 1, vector[i]);
    }
    vector[wideCount] = nullptr;
    LocalFree(wideVector);
    *count = wideCount;
    return vector;
}

bool commandLineIsUtf8()
{
    return true;
}

QString fileNameFromOperand(const char *operand)
{
    return QString::fromUtf8(operand);
}

QString fileNameFromUnicode(const QString &name)
{
    return name;
}

bool installationDirectory(QString *directory)
{
    // From the process's own UTF-16 environment, not the C runtime's copy
    // in the ANSI code page.
    const wchar_t name[] = L"ZEZAVAVEV";
    SetLastError(ERROR_SUCCESS);
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return false;
    directory->clear();
    if (size == 0)
        return true;
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    *directory = QString::fromWCharArray(value.data(), int(qMin(length, size)));
    return true;
}

bool isReadableRegularFile(const QString &path)
{
    struct _stat64 status;
    return _wstat64(wide(path), &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG
        && _waccess(wide(path), 4) == 0;
}

bool openReadableFile(const QString &path, qint64 maxSize, ReadableFile *file)
{
    const int fd = _wopen(wide(path), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
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

QString canonicalFilePath(const QString &path)
{
    wchar_t *resolved = _wfullpath(nullptr, wide(path), 0);
    if (!resolved)
        return path;
    const QString full = QString::fromWCharArray(resolved);
    std::free(resolved);
    return full;
}

bool isAbsoluteFileName(const QString &name)
{
    // \dir, /dir, \\server\share and C:... (a drive counts as absolute, as it
    // does for Qt).
    const auto isDriveLetter = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    return name.startsWith(u'\\') || name.startsWith(u'/')
        || (name.size() >= 2 && isDriveLetter(name[0]) && name[1] == u':');
}

bool enterDirectory(const QString &directory, WorkingDirectory *previous)
{
    wchar_t *current = _wgetcwd(nullptr, 0);
    previous->path = current ? QString::fromWCharArray(current) : QString();
    std::free(current);
    return _wchdir(wide(directory)) == 0;
}

void returnToDirectory(WorkingDirectory *previous)
{
    if (!previous->path.isEmpty())
        _wchdir(wide(previous->path));
    previous->path.clear();
}

namespace {

// The console window shows its own code page (the OEM one), not the ANSI
// code page trmsg's bytes are in: there the text goes in Unicode instead.
HANDLE consoleOutput()
{
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return out != INVALID_HANDLE_VALUE && out != nullptr && GetConsoleMode(out, &mode) ? out : nullptr;
}

bool writeToConsole(HANDLE console, const wchar_t *text, qsizetype size)
{
    DWORD written = 0;
    return size == 0 || (WriteConsoleW(console, text, DWORD(size), &written, nullptr) && written == DWORD(size));
}

} // namespace

bool standardOutputTakesUnicode()
{
    return consoleOutput() != nullptr;
}

bool writeStandardOutputUnicode(QStringView text)
{
    HANDLE console = consoleOutput();
    return console && writeToConsole(console, reinterpret_cast<const wchar_t *>(text.utf16()), text.size());
}

bool writeStandardOutput(const char *data, qsizetype size)
{
    if (HANDLE console = consoleOutput()) {
        // The console window shows its own code page (the OEM one), not the
        // ANSI code page the bytes are in: there they go in Unicode.
        const int units = MultiByteToWideChar(CP_ACP, 0, data, int(size), nullptr, 0);
        std::wstring text(size_t(qMax(units, 0)), L'\0');
        MultiByteToWideChar(CP_ACP, 0, data, int(size), text.data(), units);
        return (units > 0 || size == 0) && writeToConsole(console, text.data(), qsizetype(text.size()));
    }
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
