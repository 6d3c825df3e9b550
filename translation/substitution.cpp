#include "translation/substitution.h"

#include <QLocale>

#include <array>

namespace {

constexpr int markerNumberCount = 100; // two digits at most: %0 to %99
constexpr int countMarker = -2;         // %n or %Ln, when a count is given

using MarkerTable = std::array<int, markerNumberCount>;

int digitValue(QChar c)
{
    const int value = c.unicode() - u'0';
    return value >= 0 && value <= 9 ? value : -1;
}

// Reads the marker that starts at text[pos], a per cent sign. Returns its
// number (countMarker for %n and %Ln when withCount) and sets *end past it,
// or returns -1 when no marker starts there.
int markerAt(QStringView text, qsizetype pos, qsizetype *end, bool withCount)
{
    qsizetype i = pos + 1;
    if (i < text.size() && text[i] == u'L')
        ++i;
    if (i >= text.size())
        return -1;
    if (withCount && text[i] == u'n') {
        *end = i + 1;
        return countMarker;
    }
    int number = digitValue(text[i]);
    if (number < 0)
        return -1;
    ++i;
    if (i < text.size() && digitValue(text[i]) >= 0) {
        number = number * 10 + digitValue(text[i]);
        ++i;
    }
    *end = i;
    return number;
}

// Calls found(number, begin, end) for every marker of text, left to right.
template <typename Found>
void forEachMarker(QStringView text, bool withCount, Found found)
{
    qsizetype pos = text.indexOf(u'%');
    while (pos >= 0) {
        qsizetype end = pos + 1;
        const int number = markerAt(text, pos, &end, withCount);
        if (number != -1)
            found(number, pos, end);
        pos = text.indexOf(u'%', number != -1 ? end : pos + 1);
    }
}

// For each marker number that occurs in text, its rank among the numbers
// that occur (0 for the lowest); -1 for numbers that do not occur.
MarkerTable markerRanks(QStringView text, int *distinct)
{
    MarkerTable ranks;
    ranks.fill(-1);
    forEachMarker(text, false, [&](int number, qsizetype, qsizetype) { ranks[number] = 0; });
    int rank = 0;
    for (int &r : ranks) {
        if (r == 0)
            r = rank++;
    }
    *distinct = rank;
    return ranks;
}

} // namespace

int distinctMarkerCount(QStringView text)
{
    int distinct = 0;
    markerRanks(text, &distinct);
    return distinct;
}

QString substituteArguments(QStringView text, const QStringList &arguments, qint32 pluralCount)
{
    int distinct = 0;
    const MarkerTable ranks = markerRanks(text, &distinct);
    QString result;
    result.reserve(text.size());
    qsizetype copied = 0;
    forEachMarker(text, pluralCount >= 0, [&](int number, qsizetype begin, qsizetype end) {
        const bool count = number == countMarker;
        if (!count && ranks[number] >= arguments.size())
            return;
        result += text.sliced(copied, begin - copied);
        if (!count)
            result += arguments.at(ranks[number]);
        else if (text[begin + 1] == u'L')
            result += QLocale().toString(pluralCount);
        else
            result += QString::number(pluralCount);
        copied = end;
    });
    result += text.sliced(copied);
    return result;
}
