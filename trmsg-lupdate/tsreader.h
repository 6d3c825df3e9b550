// Reads a .ts file. Entity declarations and references are refused: the
// reader never fetches or expands anything the file itself does not hold.
#pragma once

#include <QByteArray>
#include <QString>

#include "tsmodel.h"

// False with *error ("line N: why") when the bytes are not a well-formed
// translation source.
bool readTsFile(const QByteArray &bytes, TsFile *file, QString *error);
