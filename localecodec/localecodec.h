// The locale's 8-bit encoding: chosen once at start-up, and every conversion
// between it and Unicode. Nothing else in trmsg decides an encoding.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

class QTextCodec;

// Applies the environment's locale and picks the codec for its character set.
// Must run before the application object is constructed: newer Qt versions
// switch the C library to a UTF-8 locale while constructing it.
void chooseLocaleCodec();

// Picks the codec for a C library codeset name (what nl_langinfo(CODESET)
// answers). The plain ASCII of the C/POSIX locale means UTF-8.
void chooseCodecForCodeset(const char *codeset);

// The locale's codec, or null when Qt has none for the locale's character set.
QTextCodec *localeCodec();

// Conversions between the locale's encoding and Unicode. Where Qt has no codec
// for the locale, Latin-1 is used, which keeps every byte.
QString localToUnicode(const char *text, qsizetype size = -1);
QByteArray unicodeToLocal(QStringView text);

// Appends text in the locale's encoding to out, reusing out's storage.
void appendLocal(QStringView text, QByteArray *out);

// Text typed in the locale's encoding, as UTF-8.
QByteArray localToUtf8(const char *text);

// Operands of the command line as platform.h's commandLineArguments gives
// them: in the locale's encoding on Unix, UTF-8 on Windows.
QString operandToUnicode(const char *operand);
QByteArray operandToUtf8(const char *operand);

// Writes text to standard output: in the locale's encoding, or in Unicode to
// a console that takes it. False when standard output refuses it.
bool writeStandardOutputText(QStringView text);
