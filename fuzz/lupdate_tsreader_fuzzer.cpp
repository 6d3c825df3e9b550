// trmsg-lupdate's .ts reader. Property: whatever it accepts, it writes in a
// form it reads back to the same text, its locations absolute or relative.
#include "tsreader.h"
#include "tswriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TsFile file;
    TsReadError error;
    if (!readTsFile(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &file, &error))
        return 0;
    for (const LocationStyle style : {LocationStyle::Absolute, LocationStyle::Relative}) {
        const QByteArray written = tsFileBytes(file, style);
        TsFile again;
        if (!readTsFile(written, &again, &error) || tsFileBytes(again, style) != written)
            std::abort();
    }
    return 0;
}
