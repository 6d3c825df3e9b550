// Writes a .ts file laid out as Qt's translation tools lay it out.
#pragma once

#include <QByteArray>

#include "tsmodel.h"

QByteArray tsFileBytes(const TsFile &file, LocationStyle style);
