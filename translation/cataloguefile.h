// Finding and reading catalogue files on disk.
//
// Paths here are file names as platform.h writes them (on Unix the caller's
// bytes, one per character): an installation directory or prefix given in
// any encoding reaches the file system unchanged.
#pragma once

#include <QByteArray>
#include <QString>

struct CatalogueLookup;

// The file QTranslator::load(name, directory) would load, by its default
// search: name + ".qm", name, then the same with name cut at its last '_' or
// '.', again and again. A relative name is sought in directory. Only readable
// regular files count. Empty when none is found.
QString findCatalogueFile(const QString &name, const QString &directory);

// The catalogue at path, read as far as QTranslator's loading of it and its
// answer to lookup read it (the rest of the buffer, the file's size, is
// never touched), provided that what QTranslator reads for them there and
// in the catalogues it depends on (sought in directory, named in UTF-8 as
// QTranslator names them) is sound. Empty otherwise. *hasDependencies tells
// whether it names any.
QByteArray readSoundCatalogue(const QString &path, const QString &directory, const CatalogueLookup &lookup,
                              bool *hasDependencies);
