// What trmsg needs of its operating system beyond standard C++ and Qt, in one
// place: platform-posix.cpp implements it for Unix, platform-win32.cpp for
// Windows. Nothing else in trmsg is bound to a platform.
//
// File names are QStrings: on Unix the bytes the caller gave, one per
// character (Latin-1), so that a name in any encoding reaches the file system
// unchanged; on Windows the name itself, in UTF-16, as Windows stores it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

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

// The command line trmsg works on, in *count entries. Unix: argv itself, the
// bytes the caller gave, in the locale's encoding. Windows: the UTF-16
// command line (CommandLineToArgvW) in UTF-8, so that no character is lost
// to the ANSI code page; entry 0 stays argv[0], the program path as the
// usage text prints it.
char **commandLineArguments(int *count, char **argv);

// Whether commandLineArguments gives UTF-8 rather than the locale's encoding.
bool commandLineIsUtf8();

// An operand of that command line as a file name.
QString fileNameFromOperand(const char *operand);

// The file name Qt opens for a name in Unicode (QFile's encoding of it).
QString fileNameFromUnicode(const QString &name);

// The value of ZEZAVAVEV as a file name; false when it is not set.
bool installationDirectory(QString *directory);

// Whether path names a regular file the process may read.
bool isReadableRegularFile(const QString &path);

// A regular file open for reading at chosen offsets, never mapped: a file
// rewritten while it is read gives short or damaged contents, not a crash.
struct ReadableFile
{
    int descriptor = -1;
    qint64 size = 0; // when it was opened
};

// Opens the regular file at path; false when it cannot be opened, is not a
// regular file or is larger than maxSize.
bool openReadableFile(const QString &path, qint64 maxSize, ReadableFile *file);

// Reads length bytes at offset into buffer; false unless all of them were
// there to read.
bool readFileAt(const ReadableFile &file, qint64 offset, char *buffer, qint64 length);

void closeReadableFile(ReadableFile *file);

// path made absolute, with symbolic links resolved where the platform has
// them; path itself when that fails.
QString canonicalFilePath(const QString &path);

// Whether a file name is absolute rather than relative to a directory.
bool isAbsoluteFileName(const QString &name);

// The working directory to return to after entering another.
struct WorkingDirectory
{
    int descriptor = -1; // Unix
    QString path;        // Windows
};

// Makes directory the working directory, keeping the current one in
// *previous. False when directory cannot be entered.
bool enterDirectory(const QString &directory, WorkingDirectory *previous);
void returnToDirectory(WorkingDirectory *previous);

// Writes all of data to standard output at once, past any buffering; false
// when standard output refuses it. On Windows a newline is written as CR LF,
// and a console is written in Unicode (it shows another code page than the
// ANSI one the bytes are in).
bool writeStandardOutput(const char *data, qsizetype size);

// Whether standard output is a console that takes text in Unicode (Windows'
// console window), to be written with writeStandardOutputUnicode rather than
// in the locale's bytes. Never on Unix.
bool standardOutputTakesUnicode();
bool writeStandardOutputUnicode(QStringView text);
