// Structural check of a compiled Qt translation catalogue (.qm), for one
// lookup.
//
// QTranslator checks a catalogue's magic number and the framing of its
// sections, but trusts what lies inside them: a context table of size zero
// makes every lookup divide by zero, and message fields whose lengths run
// past their section make it read beyond the file. trmsg checks, before
// handing a catalogue to QTranslator, exactly what QTranslator will read to
// load it and to answer the request's lookup, in the order it reads it: what
// no lookup of the request reaches is neither read nor judged, so a request
// costs the same on the biggest catalogue.
#pragma once

#include "translation/pagedfile.h"

#include <QByteArray>
#include <QStringList>

// One lookup: the keys in UTF-8, as QTranslator::translate is given them
// (no comment and an empty one are the same to it), and the count picking a
// plural form, -1 for none.
struct CatalogueLookup
{
    QByteArray context;
    QByteArray message;
    QByteArray comment;
    qint32 count = -1;
};

// Where a catalogue's sections lie, as QTranslator keeps them on load.
struct CatalogueSection
{
    quint32 start = 0; // offset in the file
    quint32 size = 0;  // 0: no such section
};

struct CatalogueSections
{
    CatalogueSection contexts, hashes, messages, numerusRules;
    QList<CatalogueSection> dependencies; // every dependencies section, in file order
};

// Reads what QTranslator reads to load the catalogue in file: its magic
// number and the framing of its sections, and whole the sections it reads on
// load (language, plural rules, dependencies). False when QTranslator would
// refuse it or the file cannot be read.
bool readCatalogueSections(PagedFile *file, CatalogueSections *sections);

// The catalogues file names as its dependencies, in the order QTranslator
// loads them from the same directory; from sections readCatalogueSections
// has read.
QStringList catalogueDependencies(const PagedFile &file, const CatalogueSections &sections);

// What QTranslator's lookup finds in one catalogue's own tables.
enum class LookupResult {
    Unsound,      // it would divide by zero, step backwards or read outside a section
    Translated,   // a translation, and the search ends
    Absent,       // nothing, and the search ends (the context is not in the catalogue)
    Dependencies, // nothing here: the catalogue's dependencies are asked next
};

// Checks, reading it into file, what QTranslator reads to answer lookup from
// the catalogue's own tables. With LookupResult::Dependencies, *lookup is
// what the dependencies are then asked (QTranslator asks them without the
// comment once it has tried it here).
LookupResult checkLookup(PagedFile *file, const CatalogueSections &sections, CatalogueLookup *lookup);

// True when QTranslator can load data and answer lookup from it without
// dividing by zero or reading outside the section it reads from (its
// dependencies, which are files, aside). Everything QTranslator reads
// correctly is sound, including what lrelease writes but lookups skip (a
// null translation, an unknown field tag).
bool isSoundCatalogue(const QByteArray &data, const CatalogueLookup &lookup);
