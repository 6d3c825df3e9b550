// The range operand: parsing and the listing's limits. The C library's
// sscanf("%x..%x") is the oracle both ways: trmsg accepts exactly the operands
// it reads two bounds from, bounds wider than 32 bits aside, and reads the
// same values.
#include "localediag/localediag.h"

#include <QByteArray>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // An operand ends at its first NUL, as in the argument vector.
    const QByteArray operand(reinterpret_cast<const char *>(data), qsizetype(size));
    qint32 minimum = 0;
    qint32 maximum = 0;
    const bool parsed = parseCodePointRange(operand.constData(), &minimum, &maximum);
    // The 64-bit reading tells a bound wider than 32 bits: its magnitude,
    // read before the sign is applied (modulo 2^64), must fit.
    unsigned long long low = 0;
    unsigned long long high = 0;
    int secondStart = 0;
    errno = 0;
    const int read = std::sscanf(operand.constData(), "%llx..%n%llx", &low, &secondStart, &high);
    const auto fits = [](const char *text, unsigned long long bound) {
        while (std::isspace(static_cast<unsigned char>(*text)))
            ++text;
        return (*text == '-' ? 0ull - bound : bound) <= 0xffffffffull;
    };
    const bool twoBounds = read == 2 && errno != ERANGE && fits(operand.constData(), low)
        && fits(operand.constData() + secondStart, high);
    if (parsed != twoBounds)
        std::abort();
    if (!parsed)
        return 0;
    unsigned narrowLow = 0;
    unsigned narrowHigh = 0;
    if (std::sscanf(operand.constData(), "%x..%x", &narrowLow, &narrowHigh) != 2 || narrowLow != quint32(minimum)
        || narrowHigh != quint32(maximum) || quint32(low) != quint32(minimum))
        std::abort();
    // The listing's loop runs over 64-bit positions: at most 2^32 of them, each
    // a character of one or two UTF-16 units.
    const qint64 lines = minimum <= maximum ? qint64(maximum) - qint64(minimum) + 1 : 0;
    if (lines < 0 || lines > (qint64(1) << 32))
        std::abort();
    for (qint32 position : {minimum, maximum}) {
        char16_t units[2];
        const QStringView character = listedCharacter(position, units);
        if (character.size() != (position >= 0x10000 && position <= 0x10ffff ? 2 : 1))
            std::abort();
    }
    return 0;
}
