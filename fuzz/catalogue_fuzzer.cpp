// Catalogue loading from raw bytes followed by lookups. Every catalogue that
// passes trmsg's check must survive QTranslator's lookups of the messages it
// holds (AddressSanitizer watches every read).
#include "translation/qmcheck.h"

#include <QTranslator>
#include <QtEndian>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // trmsg holds catalogues in a QByteArray, as here.
    const QByteArray catalogue(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!isSoundCatalogue(catalogue) || !catalogueDependencies(catalogue).isEmpty())
        return 0; // dependencies are files, checked where trmsg reads them
    QTranslator translator;
    if (!translator.load(reinterpret_cast<const uchar *>(catalogue.constData()), int(catalogue.size())))
        return 0;
    QList<QByteArray> contexts = fieldTexts(catalogue, 7, 4);
    contexts.append(QByteArrayLiteral("Main"));
    QList<QByteArray> comments = fieldTexts(catalogue, 8, 2);
    comments.append(QByteArray());
    const QList<QByteArray> sources = fieldTexts(catalogue, 6, 16) + QList<QByteArray>{"Hello", ""};
    for (const QByteArray &context : contexts) {
        for (const QByteArray &source : sources) {
            for (const QByteArray &comment : comments)
                translator.translate(context.constData(), source.constData(), comment.constData());
            translator.translate(context.constData(), source.constData(), nullptr);
        }
    }
    return 0;
}
