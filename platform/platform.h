// What trmsg needs of its operating system beyond standard C++ and Qt, in one
// place: platform-posix.cpp implements it for Unix, platform-win32.cpp for
// Windows. Nothing else in trmsg is bound to a platform.
//
// File names are the bytes the caller gave (Unix) or bytes in the ANSI code
// page (Windows), as the argument vector and the environment hold them.
#pragma once

#include <QByteArray>

class QTextCodec;

// Keeps the standard streams usable whatever state trmsg was started in: a
// stream the caller closed is opened on the null device, so that no file
// opened later takes its place, and a reader that has gone away makes a
// write fail instead of killing trmsg.
void keepStandardStreamsUsable();

// The name of the locale's 8-bit character set, as the environment sets it
// before Qt is started: the C library's codeset (Unix), the ANSI code page
// by the name Qt knows it by (Windows).
QByteArray localeCharsetName();

// The codec to use when Qt knows no codec by that name: none on Unix (trmsg
// then converts as Latin-1), Qt's own locale codec on Windows.
QTextCodec *fallbackLocaleCodec();

// Whether path names a regular file the process may read.
bool isReadableRegularFile(const QByteArray &path);

// A regular file open for reading at chosen offsets, never mapped: a file
// rewritten while it is read gives short or damaged contents, not a crash.
struct ReadableFile
{
    int descriptor = -1;
    qint64 size = 0; // when it was opened
};

// Opens the regular file at path; false when it cannot be opened, is not a
// regular file or is larger than maxSize.
bool openReadableFile(const QByteArray &path, qint64 maxSize, ReadableFile *file);

// Reads length bytes at offset into buffer; false unless all of them were
// there to read.
bool readFileAt(const ReadableFile &file, qint64 offset, char *buffer, qint64 length);

void closeReadableFile(ReadableFile *file);

// path made absolute, with symbolic links resolved where the platform has
// them; path itself when that fails.
QByteArray canonicalFilePath(const QByteArray &path);

// Whether a file name is absolute rather than relative to a directory.
bool isAbsoluteFileName(const QByteArray &name);

// The working directory to return to after entering another.
struct WorkingDirectory
{
    int descriptor = -1; // Unix
    QByteArray path;     // Windows
};

// Makes directory the working directory, keeping the current one in
// *previous. False when directory cannot be entered.
bool enterDirectory(const QByteArray &directory, WorkingDirectory *previous);
void returnToDirectory(WorkingDirectory *previous);

// Writes all of data to standard output at once, past any buffering; false
// when standard output refuses it. On Windows a newline is written as CR LF,
// and a console is written in Unicode (it shows another code page than the
// ANSI one the bytes are in).
bool writeStandardOutput(const char *data, qsizetype size);
