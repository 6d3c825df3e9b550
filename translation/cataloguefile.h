// Finding and reading catalogue files on disk.
//
// Paths here are file names as platform.h writes them (on Unix the caller's
// bytes, one per character): an installation directory or prefix given in
// any encoding reaches the file system unchanged.
#pragma once

#include <QByteArray>
#include <QString>

// The file QTranslator::load(name, directory) would load, by its default
// search: name + ".qm", name, then the same with name cut at its last '_' or
// '.', again and again. A relative name is sought in directory. Only readable
// regular files count. Empty when none is found.
QString findCatalogueFile(const QString &name, const QString &directory);

// The contents of the catalogue at path, provided that it and every catalogue
// it depends on (sought in directory, named in UTF-8 as QTranslator names
// them) are sound. Empty otherwise.
QByteArray readSoundCatalogue(const QString &path, const QString &directory);
