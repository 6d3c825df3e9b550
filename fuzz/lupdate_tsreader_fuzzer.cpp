// trmsg-lupdate's .ts reader and writer. Properties: whatever the reader
// accepts comes back byte for byte when nothing changes; written with its
// locations in any style, or with the scripts' messages merged in, it reads
// back, and a second run changes nothing.
#include "merge.h"
#include "tsreader.h"
#include "tswriter.h"

#include <cstdlib>

namespace {

// What was written reads back, and the same run on it changes nothing.
void requireSettled(const QByteArray &written, LocationStyle style, bool restyle, const QList<FoundMessage> *found,
                    const MergeSettings &settings)
{
    TsFile again;
    TsReadError error;
    if (!readTsFile(written, &again, &error))
        std::abort();
    if (found != nullptr)
        mergeMessages(&again, *found, settings);
    if (tsFileBytes(again, style, restyle) != written)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TsFile file;
    TsReadError error;
    if (!readTsFile(bytes, &file, &error))
        return 0;
    const LocationStyle own = file.hasLocations ? file.locationStyle
                              : file.hasMessages ? LocationStyle::None
                                                 : LocationStyle::Absolute;
    if (tsFileBytes(file, own) != bytes)
        std::abort();
    const QList<FoundMessage> found{{QStringLiteral("C"), QStringLiteral("M"), QString(), QStringLiteral("/f/s.sh"), 3},
                                    {QStringLiteral("C"), QStringLiteral("%n \u00a0'\""), QString(),
                                     QStringLiteral("/f/s.sh"), 5},
                                    {QStringLiteral("D"), QStringLiteral("M"), QStringLiteral("c"),
                                     QStringLiteral("/f/t.sh"), 1}};
    const MergeSettings settings{QStringLiteral("/f"), {QStringLiteral("/f/s.sh"), QStringLiteral("/f/t.sh")}, false,
                                 nullptr};
    const QList<QPair<LocationStyle, bool>> writings{
        {own, false}, {LocationStyle::Absolute, true}, {LocationStyle::Relative, true}, {LocationStyle::None, true}};
    for (const auto &[style, restyle] : writings) {
        requireSettled(tsFileBytes(file, style, restyle), style, restyle, nullptr, settings);
        TsFile merged = file;
        mergeMessages(&merged, found, settings);
        requireSettled(tsFileBytes(merged, style, restyle), style, restyle, &found, settings);
    }
    return 0;
}
