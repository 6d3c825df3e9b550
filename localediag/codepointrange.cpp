#include "localediag/localediag.h"

#include "localecodec/localecodec.h"

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
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigitValue(p[2]) >= 0)
        p += 2;
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

// "fffffffe:" and the locale's bytes up to their first NUL, with a newline.
QByteArray listingLine(qint32 position)
{
    char number[16];
    const int length = std::snprintf(number, sizeof number, "%x:", unsigned(quint32(position)));
    const QByteArray bytes = unicodeToLocal(listedCharacter(position));
    const qsizetype shown = qstrnlen(bytes.constData(), bytes.size());
    QByteArray line;
    line.reserve(length + shown + 1);
    line.append(number, length).append(bytes.constData(), shown).append('\n');
    return line;
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

QString listedCharacter(qint32 position)
{
    if (position >= 0x10000 && position <= 0x10ffff) {
        const char32_t codePoint = char32_t(position);
        return QString::fromUcs4(&codePoint, 1);
    }
    return QString(QChar(char16_t(quint32(position) & 0xffff)));
}

void printCodePointRange(const char *operand)
{
    qint32 minimum = 0;
    qint32 maximum = 0;
    if (!parseCodePointRange(operand, &minimum, &maximum))
        return;
    // 64 bits, so that a maximum of 0x7fffffff still ends the loop. Once
    // standard output refuses a line (a full disk) the rest would be lost too.
    for (qint64 position = minimum; position <= maximum; ++position) {
        const QByteArray line = listingLine(qint32(position));
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        if (std::fflush(stdout) != 0)
            return;
    }
}
