// Reading a script for shfmt, which reads UTF-8 only.
#pragma once

#include <QByteArray>
#include <QString>

class QTextCodec;

// Scripts beyond this are refused: shfmt's syntax tree is some 150 times
// the size of the script.
constexpr qint64 maximumScriptBytes = 8 * 1024 * 1024;

// The codec for -source-encoding NAME; nullptr for UTF-8. False if Qt has
// no such codec.
bool sourceCodec(const QString &name, QTextCodec **codec);
// The script's text in UTF-8; false with *error when it cannot be read.
bool readScriptAsUtf8(const QString &path, QTextCodec *codec, QByteArray *utf8, QString *error);
