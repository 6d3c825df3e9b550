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
    qint32 pluralCount;   // the count given with --count=N, picking the plural form; -1 for none
};

// The one request of this process. Its texts point into the argument vector.
extern TranslationRequest translationRequest;

// The byte that shell scripts use in a message to stand for a line break.
constexpr char lineBreakMarker = '\x19';

// Fills translationRequest from the argument vector: operands 1 to 3 are the
// prefix, context and message, 4 the comment, the rest message arguments;
// or, when operand 1 is --count=N and three or more operands follow it, the
// same one place further on. False, with nothing filled, when there are
// fewer than three operands or N is not a decimal number from 0 to
// 2147483647 written with digits only.
bool parseRequestArguments(int count, char **vector);

// The N of an operand --count=N, or -1 when operand is not of that form or N
// is malformed or out of range.
qint32 pluralCountOption(const char *operand);

// Turns every line-break marker in text into a line feed, in place.
void expandLineBreakMarkers(char *text);
