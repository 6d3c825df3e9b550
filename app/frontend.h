// Start-up, choice of command, the usage text and the error line.
#pragma once

#include <QString>

// Creates the application object, requires ZEZAVAVEV, sets the catalogue
// directory and runs the command the operands choose. True only when a
// translation request was accepted and its catalogue step has run; the
// caller then prints the translation.
bool initApplication(int count, char **vector);

// Writes the program path, a space, text in Latin-1 and a newline to
// standard error, and flushes it.
void reportError(const char *programPath, const QString &text);

// Reports the usage text as one error line.
void printUsage(const char *programPath);

// Entry 0 of the argument vector, or an empty path when the process was
// started without one.
const char *programPath(int count, char **vector);
