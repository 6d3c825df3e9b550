#include "iconvtext.h"

#include <iconv.h>

QByteArray iconvConvert(const QByteArray &text, const char *from, const char *to, bool *ok)
{
    if (ok)
        *ok = false;
    iconv_t converter = iconv_open(to, from);
    if (converter == iconv_t(-1))
        return QByteArray();
    QByteArray input = text;
    QByteArray output(text.size() * 4 + 16, '\0');
    char *in = input.data();
    size_t inLeft = size_t(input.size());
    char *out = output.data();
    size_t outLeft = size_t(output.size());
    const size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (converted == size_t(-1))
        return QByteArray();
    if (ok)
        *ok = true;
    output.truncate(output.size() - qsizetype(outLeft));
    return output;
}

QByteArray iconvFromUtf8(const QByteArray &utf8, const char *charset, bool *ok)
{
    return iconvConvert(utf8, "UTF-8", charset, ok);
}

QByteArray in(const char *charset, const QByteArray &text)
{
    bool ok = false;
    const QByteArray bytes = iconvFromUtf8(text, charset, &ok);
    if (!ok)
        qFatal("iconv cannot convert %s to %s", text.constData(), charset);
    return bytes;
}
