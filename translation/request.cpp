#include "translation/request.h"

TranslationRequest translationRequest;

void expandLineBreakMarkers(char *text)
{
    for (; *text; ++text) {
        if (*text == lineBreakMarker)
            *text = '\n';
    }
}

bool parseRequestArguments(int count, char **vector)
{
    translationRequest.firstArgIndex = 0;
    if (count < 4)
        return false;
    translationRequest.prefix = vector[1];
    translationRequest.context = vector[2];
    translationRequest.message = vector[3];
    expandLineBreakMarkers(translationRequest.message);
    translationRequest.comment = count >= 5 ? vector[4] : nullptr;
    if (count >= 6)
        translationRequest.firstArgIndex = 5;
    return true;
}
