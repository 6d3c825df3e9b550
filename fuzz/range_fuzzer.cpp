// The range operand: parsing and the listing's limits. The C library's
// sscanf("%x..%x") is the oracle wherever trmsg accepts the operand.
#include "localediag/localediag.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // An operand ends at its first NUL, as in the argument vector.
    const QByteArray operand(reinterpret_cast<const char *>(data), qsizetype(size));
    qint32 minimum = 0;
    qint32 maximum = 0;
    if (!parseCodePointRange(operand.constData(), &minimum, &maximum))
        return 0;
    unsigned low = 0;
    unsigned high = 0;
    if (std::sscanf(operand.constData(), "%x..%x", &low, &high) != 2 || low != quint32(minimum)
        || high != quint32(maximum))
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
