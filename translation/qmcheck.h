// Structural check of a compiled Qt translation catalogue (.qm).
//
// QTranslator checks a catalogue's magic number and the framing of its
// sections, but trusts what lies inside them: a context table of size zero
// makes every lookup divide by zero, and message fields whose lengths run
// past their section make it read beyond the file. trmsg checks a catalogue
// with these functions before handing it to QTranslator.
#pragma once

#include <QByteArray>
#include <QStringList>

// True when QTranslator can load data and look up any message in it without
// dividing by zero or reading outside the section it reads from. Everything
// QTranslator reads correctly is sound, including what lrelease writes but
// lookups skip (a null translation, an unknown field tag).
// data must be NUL-terminated past its size, as every QByteArray is.
bool isSoundCatalogue(const QByteArray &data);

// The catalogues data names as its dependencies, in the order QTranslator
// loads them from the same directory. Meaningful only for sound data.
QStringList catalogueDependencies(const QByteArray &data);
