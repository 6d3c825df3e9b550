// Structural check of a compiled Qt translation catalogue (.qm).
//
// QTranslator checks a catalogue's magic number and the framing of its
// sections, but trusts what lies inside them: a context table of size zero
// makes every lookup divide by zero, and message records whose lengths run
// past their section make it read beyond the file. trmsg checks a catalogue
// with these functions before handing it to QTranslator.
#pragma once

#include <QByteArray>
#include <QStringList>

// True when data is a catalogue QTranslator can load and look up messages in
// without leaving the data: known sections inside the data, a non-empty
// context table whose chains stay inside it, hash entries that point into the
// messages section, and message records whose fields all lie inside it.
// data must be NUL-terminated past its size, as every QByteArray is.
bool isSoundCatalogue(const QByteArray &data);

// The catalogues data names as its dependencies, which QTranslator loads
// from the same directory. Meaningful only for sound data.
QStringList catalogueDependencies(const QByteArray &data);
