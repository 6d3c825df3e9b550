// Catalogue lookups from raw bytes. For each lookup, as trmsg does for its
// one request, the check reads what it judges into a buffer of the
// catalogue's size; when it passes, QTranslator loads that buffer and answers
// the same lookup. The check's pages are AddressSanitizer's 8-byte granules,
// and those it did not read are poisoned: QTranslator's comparisons (Qt is not
// instrumented, but its memcmp calls are) must find everything they read among
// the bytes the check read.
#include "translation/qmcheck.h"

#include <QTranslator>
#include <QtEndian>

#include <sanitizer/asan_interface.h>

namespace {

// The texts of the fields tagged tag (source text 6, context 7, comment 8),
// found by scanning for their framing: the keys the catalogue's lookups hit.
QList<QByteArray> fieldTexts(const QByteArray &data, char tag, int most)
{
    QList<QByteArray> texts;
    for (qsizetype i = 0; i + 5 <= data.size() && texts.size() < most; ++i) {
        if (data[i] != tag)
            continue;
        const quint32 length = qFromBigEndian<quint32>(data.constData() + i + 1);
        if (length <= quint32(data.size() - i - 5) && length < 256)
            texts.append(data.mid(i + 5, length));
    }
    return texts;
}

// Pages of the size AddressSanitizer poisons.
constexpr int pageShift = 3;

// Poisons (or, with poison false, unpoisons) the pages of file not read.
void poisonUnreadPages(PagedFile *file, bool poison)
{
    const quint64 size = quint64(file->contents.size());
    for (quint64 pos = 0; pos < size; pos += 1u << pageShift) {
        if (pageIsRead(*file, pos))
            continue;
        char *page = file->contents.data() + pos;
        const size_t length = size_t(qMin<quint64>(1u << pageShift, size - pos));
        if (poison)
            ASAN_POISON_MEMORY_REGION(page, length);
        else
            ASAN_UNPOISON_MEMORY_REGION(page, length);
    }
}

void lookUp(const QByteArray &catalogue, const CatalogueLookup &lookup)
{
    PagedFile file = pagedMemory(catalogue, pageShift);
    CatalogueSections sections;
    CatalogueLookup asked = lookup;
    if (!readCatalogueSections(&file, &sections) || checkLookup(&file, sections, &asked) == LookupResult::Unsound)
        return;
    if (!catalogueDependencies(file, sections).isEmpty())
        return; // dependencies are files, checked where trmsg reads them
    poisonUnreadPages(&file, true);
    QTranslator translator;
    if (translator.load(reinterpret_cast<const uchar *>(file.contents.constData()), int(file.contents.size())))
        translator.translate(lookup.context.constData(), lookup.message.constData(), lookup.comment.constData(),
                             lookup.count);
    poisonUnreadPages(&file, false);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray catalogue(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> contexts = fieldTexts(catalogue, 7, 3);
    contexts.append(QByteArrayLiteral("Main"));
    QList<QByteArray> comments = fieldTexts(catalogue, 8, 2);
    comments.append(QByteArray());
    const QList<QByteArray> sources = fieldTexts(catalogue, 6, 8) + QList<QByteArray>{"Hello", ""};
    const qint32 count = qint32(size % 1000);
    for (const QByteArray &context : contexts) {
        for (const QByteArray &source : sources) {
            for (const QByteArray &comment : comments)
                lookUp(catalogue, CatalogueLookup{context, source, comment, -1});
            lookUp(catalogue, CatalogueLookup{context, source, QByteArray(), count});
        }
    }
    return 0;
}
