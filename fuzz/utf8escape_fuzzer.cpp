// UTF-8 escaping for C source, in several locale encodings. Property: the
// escaped text is printable ASCII and reads back as the UTF-8 bytes.
#include "localecodec/localecodec.h"
#include "localediag/localediag.h"

#include <cstdlib>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads C escapes back: \x and one or two hex digits. An escape is never
// followed by a raw hex digit, which is what makes this unambiguous.
QByteArray unescape(const QByteArray &escaped)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < escaped.size();) {
        const char c = escaped[i];
        if (c < 0x20 || c > 0x7e || hexValue(c) >= 0 || (c >= 'A' && c <= 'F'))
            std::abort();
        if (c != '\\' || i + 2 >= escaped.size() || escaped[i + 1] != 'x' || hexValue(escaped[i + 2]) < 0) {
            bytes += c;
            ++i;
            continue;
        }
        int value = hexValue(escaped[i + 2]);
        i += 3;
        if (i < escaped.size() && hexValue(escaped[i]) >= 0)
            value = value * 16 + hexValue(escaped[i++]);
        bytes += char(value);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const codesets[] = {"UTF-8", "ISO-8859-1", "KOI8-R", "EUC-JP", "GB18030", "ARMSCII-8"};
    if (size == 0)
        return 0;
    chooseCodecForCodeset(codesets[data[0] % (sizeof codesets / sizeof *codesets)]);
    const QByteArray operand(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QByteArray utf8 = localToUnicode(operand.constData()).toUtf8();
    const QByteArray escaped = escapeForCSource(utf8);
    if (unescape(escaped) != utf8.left(qstrnlen(utf8.constData(), utf8.size())))
        std::abort();
    return 0;
}
