// What trmsg-lupdate knows about a .ts file's target language.
#pragma once

#include <QString>

// How many plural forms a numerus message has in the language (as Qt's
// translation tools count them); 1 for a language Qt does not know.
int numerusFormCount(const QString &language);
// The language a file name such as myproduct_fr_FR.ts names, or "".
QString languageFromFileName(const QString &tsPath);
