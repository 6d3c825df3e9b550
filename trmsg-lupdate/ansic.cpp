#include "ansic.h"

#include <QString>
#include <QTextCodec>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads up to maxDigits digits of the given base from raw at *i.
// Returns how many were read.
int readNumber(QByteArrayView raw, qsizetype *i, int base, int maxDigits, quint32 *value)
{
    int count = 0;
    *value = 0;
    while (count < maxDigits && *i < raw.size()) {
        const int digit = hexDigit(raw[*i]);
        if (digit < 0 || digit >= base)
            break;
        *value = *value * quint32(base) + quint32(digit);
        ++*i;
        ++count;
    }
    return count;
}

char simpleEscape(char c)
{
    switch (c) {
    case 'a': return '\a';
    case 'b': return '\b';
    case 'e':
    case 'E': return '\x1b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    case '\\':
    case '\'':
    case '"':
    case '?': return c;
    default: return 0;
    }
}

// UTF-8's bit pattern for any 31-bit value, surrogates and values beyond
// Unicode included, as bash writes them (which makes the text invalid).
QByteArray utf8Pattern(quint32 code)
{
    if (code < 0x80)
        return QByteArray(1, char(code));
    int trailing = code < 0x800 ? 1 : code < 0x10000 ? 2 : code < 0x200000 ? 3 : code < 0x4000000 ? 4 : 5;
    QByteArray bytes(trailing + 1, '\0');
    for (int k = trailing; k > 0; --k, code >>= 6)
        bytes[k] = char(0x80 | (code & 0x3f));
    bytes[0] = char((0xff00 >> (trailing + 1)) | code);
    return bytes;
}

// The bytes of a \u or \U character, or an empty array when the codec has
// none for it.
QByteArray encodedCodePoint(quint32 code, QTextCodec *codec)
{
    if (code < 0x80 || !codec)
        return utf8Pattern(code);
    if (code > 0x10ffff || (code >= 0xd800 && code < 0xe000))
        return QByteArray();
    const char32_t character = code;
    const QString text = QString::fromUcs4(&character, 1);
    return codec->canEncode(text) ? codec->fromUnicode(text) : QByteArray();
}

char controlCharacter(char c) { return c == '?' ? '\x7f' : char((c >= 'a' && c <= 'z' ? c - 32 : c) & 0x1f); }

} // namespace

QByteArray unescapeAnsiC(QByteArrayView raw, QTextCodec *codec)
{
    QByteArray out;
    out.reserve(raw.size());
    qsizetype i = 0;
    while (i < raw.size()) {
        const qsizetype before = out.size();
        const char c = raw[i++];
        if (c != '\\' || i == raw.size()) {
            out += c;
        } else if (const char simple = simpleEscape(raw[i])) {
            out += simple;
            ++i;
        } else if (raw[i] >= '0' && raw[i] <= '7') {
            quint32 value = 0;
            readNumber(raw, &i, 8, 3, &value);
            out += char(value & 0xff);
        } else if (raw[i] == 'x' || raw[i] == 'u' || raw[i] == 'U') {
            const char kind = raw[i++];
            const qsizetype digitsAt = i;
            quint32 value = 0;
            const int digits = readNumber(raw, &i, 16, kind == 'x' ? 2 : kind == 'u' ? 4 : 8, &value);
            const QByteArray bytes = kind == 'x' ? QByteArray(1, char(value)) : encodedCodePoint(value, codec);
            if (digits == 0 || bytes.isEmpty())
                out += raw.sliced(digitsAt - 2, i - digitsAt + 2); // left as written
            else
                out += bytes;
        } else if (raw[i] == 'c' && i + 1 < raw.size()) {
            const char target = raw[i + 1];
            i += (target == '\\' && i + 2 < raw.size() && raw[i + 2] == '\\') ? 3 : 2;
            out += controlCharacter(target);
        } else {
            out += '\\';
        }
        const qsizetype nul = out.indexOf('\0', before);
        if (nul >= 0) {
            out.truncate(nul);
            break;
        }
    }
    return out;
}
