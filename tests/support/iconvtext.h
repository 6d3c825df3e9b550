// Text in a legacy encoding, made by the C library's iconv: an oracle that
// shares no code with Qt's codecs.
#pragma once

#include <QByteArray>

// text converted from charset from to charset to; empty and *ok false when
// iconv cannot convert it.
QByteArray iconvConvert(const QByteArray &text, const char *from, const char *to, bool *ok = nullptr);

// utf8 converted to charset; empty and *ok false when iconv cannot convert it.
QByteArray iconvFromUtf8(const QByteArray &utf8, const char *charset, bool *ok = nullptr);

// text (UTF-8) in charset, for test tables: a conversion that fails stops the
// test program, as a table built wrong would.
QByteArray in(const char *charset, const QByteArray &text);
