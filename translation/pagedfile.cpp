#include "translation/pagedfile.h"

#include <cstring>

namespace {

PagedFile pagedOfSize(qint64 size, int pageShift)
{
    PagedFile paged;
    // Uninitialised: a big buffer comes straight from the system, its pages
    // untouched until read into.
    paged.contents = QByteArray(qsizetype(size), Qt::Uninitialized);
    paged.pagesRead = QByteArray(qsizetype((quint64(size) >> pageShift) / 8 + 1), '\0');
    paged.memory = nullptr;
    paged.pageShift = pageShift;
    return paged;
}

void markRead(PagedFile *paged, quint64 page)
{
    paged->pagesRead.data()[page / 8] |= char(1u << (page % 8));
}

// Reads pages first to last - 1, all unread, in one go.
bool readRun(PagedFile *paged, quint64 first, quint64 last)
{
    const quint64 start = first << paged->pageShift;
    const quint64 length = qMin<quint64>(last << paged->pageShift, quint64(paged->contents.size())) - start;
    char *target = paged->contents.data() + start;
    if (paged->memory)
        std::memcpy(target, paged->memory + start, length);
    else if (!readFileAt(paged->file, qint64(start), target, qint64(length)))
        return false;
    for (quint64 page = first; page < last; ++page)
        markRead(paged, page);
    return true;
}

} // namespace

bool openPagedFile(const QString &path, qint64 maxSize, PagedFile *paged)
{
    ReadableFile file;
    if (!openReadableFile(path, maxSize, &file))
        return false;
    *paged = pagedOfSize(file.size, filePageShift);
    paged->file = file;
    return true;
}

PagedFile pagedMemory(const QByteArray &bytes, int pageShift)
{
    PagedFile paged = pagedOfSize(bytes.size(), pageShift);
    paged.memory = bytes.constData();
    return paged;
}

void closePagedFile(PagedFile *paged)
{
    closeReadableFile(&paged->file);
}

bool readPages(PagedFile *paged, quint64 pos, quint64 length)
{
    const quint64 size = quint64(paged->contents.size());
    if (pos > size || length > size - pos)
        return false;
    if (length == 0)
        return true;
    const int shift = paged->pageShift;
    const quint64 last = ((pos + length - 1) >> shift) + 1;
    quint64 page = pos >> shift;
    while (page < last) {
        if (pageIsRead(*paged, page << shift)) {
            ++page;
            continue;
        }
        quint64 end = page + 1;
        while (end < last && !pageIsRead(*paged, end << shift))
            ++end;
        if (!readRun(paged, page, end))
            return false;
        page = end;
    }
    return true;
}
