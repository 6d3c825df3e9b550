#include "localediag/localediag.h"

#include "localecodec/localecodec.h"
#include "platform/platform.h"

#include <cstring>

namespace {

bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads one number as scanf's %x does, advancing *text past it. A value
// wider than 32 bits is refused rather than clipped.
bool scanHex(const char **text, quint32 *value)
{
    const char *p = *text;
    while (isSpace(*p))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        p += 2;
        if (hexDigitValue(*p) < 0) { // the C library reads a bare 0x as 0
            *value = 0;
            *text = p;
            return true;
        }
    }
    if (hexDigitValue(*p) < 0)
        return false;
    quint64 magnitude = 0;
    for (; hexDigitValue(*p) >= 0; ++p) {
        magnitude = magnitude * 16 + quint64(hexDigitValue(*p));
        if (magnitude > 0xffffffffu)
            return false;
    }
    *value = negative ? quint32(0u - quint32(magnitude)) : quint32(magnitude);
    *text = p;
    return true;
}

// Writes value in lower-case hexadecimal to out; returns how many digits.
size_t formatHex(quint32 value, char *out)
{
    char digits[8];
    size_t count = 0;
    do {
        digits[count++] = "0123456789abcdef"[value & 0xf];
        value >>= 4;
    } while (value != 0);
    for (size_t i = 0; i < count; ++i)
        out[i] = digits[count - 1 - i];
    return count;
}

// Writes "fffffffe:", the locale's bytes for the position's character up to
// their first NUL, and a newline, as one line that leaves at once. bytes
// keeps its storage from one position to the next. False once standard
// output refuses the line.
bool writeListingLine(qint32 position, QByteArray *bytes)
{
    char16_t units[2];
    bytes->truncate(0);
    appendLocal(listedCharacter(position, units), bytes);
    const size_t shown = qstrnlen(bytes->constData(), size_t(bytes->size()));
    char line[64];
    size_t length = formatHex(quint32(position), line);
    line[length++] = ':';
    if (length + shown + 1 > sizeof line) // longer than any encoding makes one character
        return writeStandardOutput(line, length) && writeStandardOutput(bytes->constData(), shown)
            && writeStandardOutput("\n", 1);
    std::memcpy(line + length, bytes->constData(), shown);
    length += shown;
    line[length++] = '\n';
    return writeStandardOutput(line, length);
}

} // namespace

bool parseCodePointRange(const char *operand, qint32 *minimum, qint32 *maximum)
{
    quint32 low = 0;
    quint32 high = 0;
    const char *p = operand;
    if (!scanHex(&p, &low) || std::strncmp(p, "..", 2) != 0)
        return false;
    p += 2;
    if (!scanHex(&p, &high))
        return false;
    *minimum = qint32(low);
    *maximum = qint32(high);
    return true;
}

QStringView listedCharacter(qint32 position, char16_t (&units)[2])
{
    if (position >= 0x10000 && position <= 0x10ffff) {
        units[0] = QChar::highSurrogate(char32_t(position));
        units[1] = QChar::lowSurrogate(char32_t(position));
        return QStringView(units, 2);
    }
    units[0] = char16_t(quint32(position) & 0xffff);
    return QStringView(units, 1);
}

void printCodePointRange(const char *operand)
{
    qint32 minimum = 0;
    qint32 maximum = 0;
    if (!parseCodePointRange(operand, &minimum, &maximum))
        return;
    // Each line is flushed as it is made. Writing the lines to the file
    // descriptor directly does just that, at the cost of one write() a line
    // and nothing more; the report line ahead of them leaves first.
    if (std::fflush(stdout) != 0)
        return;
    // 64 bits, so that a maximum of 0x7fffffff still ends the loop. Once
    // standard output refuses a line (a full disk) the rest would be lost too.
    QByteArray bytes;
    bytes.reserve(16);
    for (qint64 position = minimum; position <= maximum; ++position) {
        if (!writeListingLine(qint32(position), &bytes))
            return;
    }
}
