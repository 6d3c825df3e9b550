// Diagnostics of the locale's encoding: the codec report, the MIME name, the
// listing of Unicode positions in the locale's bytes and the UTF-8 escaping
// of a string for C source.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <cstdio>

class QTextCodec;

// One line: the codec's MIB number, MIME name and the locale name, or the
// fallback line when there is no codec.
void printLocaleReport();

// The locale codec's MIME name, with no newline.
void printMimeName();

// Writes the report line chosen for these inputs to out. A null or empty
// localeName counts as missing; lang is the value of LANG, null when unset.
void writeLocaleReport(std::FILE *out, const QTextCodec *codec, const QString &localeName, const char *lang);

// Reads "<min>..<max>" as scanf's "%x..%x" does (leading white space, a sign,
// an optional 0x, either case; anything after the second number is
// ignored). False when the operand does not give both bounds, or a bound has
// more than 32 bits.
bool parseCodePointRange(const char *operand, qint32 *minimum, qint32 *maximum);

// The character listed for a position, as UTF-16 code units stored in units:
// the real character for the Unicode planes above the first, otherwise the
// character of the low 16 bits.
QStringView listedCharacter(qint32 position, char16_t (&units)[2]);

// One line per position of the range: the position in hexadecimal, a colon
// and the locale's bytes for its character; each line is flushed.
void printCodePointRange(const char *operand);

// The bytes of utf8 up to its first NUL, with printable ASCII other than hex
// digits as it is and every other byte as \x and its lower-case hex value.
QByteArray escapeForCSource(const QByteArray &utf8);

// The operand as typed, then its UTF-8 form as C string escapes, a line each.
void printUtf8Escaped(const char *operand);
