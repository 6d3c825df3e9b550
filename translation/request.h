// The translation request: the operands of one request, read once from the
// command line.
#pragma once

#include <QtGlobal>

struct TranslationRequest
{
    const char *prefix;   // catalogue file prefix
    const char *context;  // translation context
    char *message;        // source message, line-break markers already turned into line feeds
    const char *comment;  // disambiguation comment, null when not given
    qint32 firstArgIndex; // argument-vector index of the first message argument, 0 for none
};

// The one request of this process. Its texts point into the argument vector.
extern TranslationRequest translationRequest;

// The byte that shell scripts use in a message to stand for a line break.
constexpr char lineBreakMarker = '\x19';

// Fills translationRequest from the argument vector. False, with nothing
// filled, when there are fewer than three operands.
bool parseRequestArguments(int count, char **vector);

// Turns every line-break marker in text into a line feed, in place.
void expandLineBreakMarkers(char *text);
