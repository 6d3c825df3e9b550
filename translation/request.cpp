#include "translation/request.h"

#include <cstring>
#include <limits>

TranslationRequest translationRequest;

void expandLineBreakMarkers(char *text)
{
    for (; *text; ++text) {
        if (*text == lineBreakMarker)
            *text = '\n';
    }
}

namespace {

constexpr char countOption[] = "--count=";

bool isCountOption(const char *operand)
{
    return std::strncmp(operand, countOption, sizeof countOption - 1) == 0;
}

} // namespace

qint32 pluralCountOption(const char *operand)
{
    if (!isCountOption(operand))
        return -1;
    const char *digits = operand + sizeof countOption - 1;
    qint64 value = 0;
    for (const char *p = digits; *p; ++p) {
        if (*p < '0' || *p > '9')
            return -1;
        value = value * 10 + (*p - '0');
        if (value > std::numeric_limits<qint32>::max())
            return -1;
    }
    return *digits ? qint32(value) : -1;
}

bool parseRequestArguments(int count, char **vector)
{
    translationRequest.firstArgIndex = 0;
    translationRequest.pluralCount = -1;
    if (count < 4)
        return false;
    // --count=... counts as the option only with a whole request after it;
    // otherwise it is the prefix, as any first operand is.
    const bool counted = count >= 5 && isCountOption(vector[1]);
    if (counted) {
        translationRequest.pluralCount = pluralCountOption(vector[1]);
        if (translationRequest.pluralCount < 0)
            return false;
    }
    const int first = counted ? 2 : 1; // the prefix's index
    translationRequest.prefix = vector[first];
    translationRequest.context = vector[first + 1];
    translationRequest.message = vector[first + 2];
    expandLineBreakMarkers(translationRequest.message);
    translationRequest.comment = count > first + 3 ? vector[first + 3] : nullptr;
    if (count > first + 4)
        translationRequest.firstArgIndex = first + 4;
    return true;
}
