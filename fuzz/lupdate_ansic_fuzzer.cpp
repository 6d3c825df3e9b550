// trmsg-lupdate's reading of $'...' text. Properties: text without a
// backslash is itself; every byte written as \xHH reads back as that byte;
// the text always ends at the first NUL.
#include "ansic.h"

#include <QTextCodec>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray raw(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray upToNul = raw.left(qstrnlen(raw.constData(), raw.size()));
    static QTextCodec *const latin1 = QTextCodec::codecForName("ISO-8859-1");
    for (QTextCodec *codec : {static_cast<QTextCodec *>(nullptr), latin1}) {
        const QByteArray text = unescapeAnsiC(raw, codec);
        if (text.contains('\0') || (!raw.contains('\\') && text != upToNul))
            std::abort();
    }
    QByteArray escaped;
    for (const char c : raw)
        escaped += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
    if (unescapeAnsiC(escaped, nullptr) != upToNul)
        std::abort();
    return 0;
}
