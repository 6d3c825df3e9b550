// Loading the locale's catalogue, translating the request and printing it.
#pragma once

#include <QString>

// Where catalogues are sought: <installation directory>/lib/locale, a file
// name as platform.h writes them. Null until start-up has read the
// installation directory.
extern QString catalogueDirectory;

// The catalogue directory under an installation directory, taken as given.
QString catalogueDirectoryFor(const QString &installationDirectory);

// The catalogue's base name: the request's prefix, '_' and the locale name.
QString catalogueFileName(const char *prefix, const QString &localeName);

// Finds the catalogue for translationRequest.prefix and the current locale,
// checks what the request's lookup will read in it and loads it. No
// catalogue, or one damaged where the lookup reads, is not an error: the
// message then prints untranslated.
void loadCatalogue();

// Translates the request, fills in its message arguments (taken from the
// command line platform.h's commandLineArguments gives) and writes the result to
// standard output in the locale's encoding, with no newline.
void printTranslation(int count, char **vector);
