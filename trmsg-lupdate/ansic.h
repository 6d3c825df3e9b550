// The text of a $'...' word, its escapes read as bash reads them.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

class QTextCodec;

// raw: the bytes between $' and ', in the script's encoding. \u and \U
// characters are encoded with codec (nullptr: UTF-8); one it cannot encode
// stays as written. A NUL ends the text, as it ends bash's.
QByteArray unescapeAnsiC(QByteArrayView raw, QTextCodec *codec);
