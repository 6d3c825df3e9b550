// Writes a .ts file: what trmsg-lupdate did not change as it was read, byte
// for byte, and what it made or changed in the file's own layout, as Qt's
// lupdate writes it.
#pragma once

#include <QByteArray>

#include "tsmodel.h"

// style: how locations are written anew. A message's locations are written
// anew where they no longer read as they should, and with restyle where
// they are written otherwise than style.
QByteArray tsFileBytes(const TsFile &file, LocationStyle style, bool restyle = false);
