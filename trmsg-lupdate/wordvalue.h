// The value a shell word takes when it holds no expansion, read from its
// node in shfmt's syntax tree.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

class QTextCodec;

struct WordValue
{
    bool literal = false;
    QByteArray bytes;         // the value, in the script's encoding, when literal
    QByteArray literalPrefix; // the value up to the first expansion
    QString why;              // what makes the word not literal: "a variable", ...
    bool shDollarQuote = false; // a $'...' parsed as sh reads it: a '$' and a quoted string
};

// codec: the script's encoding (nullptr: UTF-8).
WordValue wordValue(const QJsonObject &word, QTextCodec *codec);

// The text of a literal value in the script's encoding; false when the
// bytes are not valid text in it.
bool decodeWordText(const QByteArray &bytes, QTextCodec *codec, QString *text);
