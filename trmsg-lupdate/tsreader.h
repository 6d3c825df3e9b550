// Reads a .ts file into the pieces of its text and what trmsg-lupdate needs
// of them. Entity declarations and references are refused: the reader never
// fetches or expands anything the file itself does not hold.
// Of an element Qt's tools read once per message (<source>, <comment>,
// <translation>, <extracomment>, <extra-...>...) or a context's <name>,
// they keep the last; so does the reader when the earlier ones are empty
// or the same, and it refuses the file when one would lose text.
#pragma once

#include <QByteArray>
#include <QString>

#include "tsmodel.h"

struct TsReadError
{
    qint64 line = 0;
    QString why;
};

// False with *error when the bytes are not a translation source the
// reader can write back faithfully.
bool readTsFile(const QByteArray &bytes, TsFile *file, TsReadError *error);
