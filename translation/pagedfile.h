// A catalogue's bytes read on demand: a buffer of the file's size into which
// only the pages asked for are read. The pages never asked for are never
// read, and their memory never touched: a lookup in a big catalogue costs
// what it reads, as with a mapped file, without mapping it (a file rewritten
// in place must not kill trmsg). Each page is read once, so that what a
// check has read is what QTranslator reads after it.
#pragma once

#include "platform/platform.h"

#include <QByteArray>

struct PagedFile
{
    QByteArray contents;      // the file's size; meaningful only where read
    QByteArray pagesRead;     // one bit per page of contents
    ReadableFile file;        // where pages are read from, or
    const char *memory;       // the bytes themselves, for data already in memory
    int pageShift;            // a page is 1 << pageShift bytes
};

// Pages of files: the system's.
constexpr int filePageShift = 12;

// Opens the regular file at path, reading nothing yet; false when it cannot
// be opened, is not a regular file or is larger than maxSize.
bool openPagedFile(const QString &path, qint64 maxSize, PagedFile *paged);

// The same over bytes already in memory, which must outlive paged, read in
// pages of 1 << pageShift bytes.
PagedFile pagedMemory(const QByteArray &bytes, int pageShift = filePageShift);

void closePagedFile(PagedFile *paged);

// Makes bytes pos to pos + length of paged->contents readable, reading the
// pages not yet read; false when they lie outside the file or could not be
// read (the file shrank).
bool readPages(PagedFile *paged, quint64 pos, quint64 length);

// Whether the page holding byte pos has been read.
inline bool pageIsRead(const PagedFile &paged, quint64 pos)
{
    const quint64 page = pos >> paged.pageShift;
    return paged.pagesRead.constData()[page / 8] & (1u << (page % 8));
}
