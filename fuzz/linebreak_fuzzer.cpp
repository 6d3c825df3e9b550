// The message's line-break markers. Property: every 0x19 before the first
// NUL becomes a line feed, and nothing else changes.
#include "translation/request.h"

#include <QByteArray>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray original(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray message = original;
    expandLineBreakMarkers(message.data());
    const qsizetype end = qstrnlen(original.constData(), original.size());
    for (qsizetype i = 0; i < original.size(); ++i) {
        const char expected = i < end && original[i] == lineBreakMarker ? '\n' : original[i];
        if (message[i] != expected)
            std::abort();
    }
    return 0;
}
