#include "translation/catalogue.h"

#include "localecodec/localecodec.h"
#include "platform/platform.h"
#include "translation/cataloguefile.h"
#include "translation/qmcheck.h"
#include "translation/request.h"
#include "translation/substitution.h"

#include <QDir>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

QString catalogueDirectory;

QString catalogueDirectoryFor(const QString &installationDirectory)
{
    // As given: trmsg's own file code gives a Unix name's bytes back
    // unchanged (Qt 6 would read them as UTF-8, and lose those of a
    // directory named in a legacy encoding).
    const QChar separator = QDir::separator();
    return installationDirectory + separator + QLatin1String("lib") + separator
        + QLatin1String("locale");
}

QString catalogueFileName(const char *prefix, const QString &localeName)
{
    return fileNameFromOperand(prefix) + u'_' + localeName;
}

namespace {

// The request's lookup: its keys in UTF-8, as catalogues hold them.
CatalogueLookup requestLookup;

// The catalogue's bytes, as far as the request's lookup reads them: the
// translator reads them in place.
QByteArray catalogueContents;

// The translator reading them, once loaded. It is asked directly rather
// than installed in the application, so that it answers no lookup but the
// request's own, the one its catalogue was checked for, and so that trmsg
// fills %n itself in the one pass over the markers.
QTranslator *catalogueTranslator;

// Loads catalogueContents into translator. QTranslator opens the catalogue's
// dependencies itself, by file names it encodes (in UTF-8 on Unix), so it is
// pointed at them through the working directory, entered by the directory's
// own name for the load, rather than by a name it might not encode back.
bool loadFromCatalogueDirectory(QTranslator *translator, bool hasDependencies)
{
    const auto *data = reinterpret_cast<const uchar *>(catalogueContents.constData());
    const int size = int(catalogueContents.size());
    if (!hasDependencies)
        return translator->load(data, size, catalogueDirectory);
    WorkingDirectory previous;
    const bool loaded = enterDirectory(catalogueDirectory, &previous)
        && translator->load(data, size, QStringLiteral("."));
    returnToDirectory(&previous);
    return loaded;
}

} // namespace

void loadCatalogue()
{
    const TranslationRequest &request = translationRequest;
    requestLookup.context = operandToUtf8(request.context);
    requestLookup.message = operandToUtf8(request.message);
    requestLookup.comment = request.comment ? operandToUtf8(request.comment) : QByteArray();
    requestLookup.count = request.pluralCount;
    const QString name = catalogueFileName(request.prefix, QLocale::system().name());
    const QString path = findCatalogueFile(name, catalogueDirectory);
    if (path.isEmpty())
        return;
    bool hasDependencies = false;
    catalogueContents = readSoundCatalogue(path, catalogueDirectory, requestLookup, &hasDependencies);
    if (catalogueContents.isEmpty())
        return;
    // Once loaded, the translator lives as long as the process; one that Qt
    // would not load (a dependency missing) goes at once.
    auto *translator = new QTranslator;
    if (loadFromCatalogueDirectory(translator, hasDependencies))
        catalogueTranslator = translator;
    else
        delete translator;
}

namespace {

QStringList messageArguments(int count, char **vector, int first, int wanted)
{
    QStringList arguments;
    for (int i = first; i < count && arguments.size() < wanted; ++i)
        arguments.append(operandToUnicode(vector[i]));
    return arguments;
}

// The translation of message, and with a count the plural form for it, as
// QCoreApplication::translate picks it (but with %n left for the markers'
// pass); the message itself when the catalogue has none.
QString translatedText(const CatalogueLookup &lookup)
{
    const QString translation = catalogueTranslator
        ? catalogueTranslator->translate(lookup.context.constData(), lookup.message.constData(),
                                         lookup.comment.constData(), lookup.count)
        : QString();
    return translation.isNull() ? QString::fromUtf8(lookup.message) : translation;
}

} // namespace

void printTranslation(int count, char **vector)
{
    const TranslationRequest &request = translationRequest;
    QString result = translatedText(requestLookup);
    if (request.firstArgIndex != 0 || request.pluralCount >= 0) {
        const int wanted = request.firstArgIndex != 0 ? distinctMarkerCount(result) : 0;
        result = substituteArguments(result, messageArguments(count, vector, request.firstArgIndex, wanted),
                                     request.pluralCount);
    }
    writeStandardOutputText(result);
}
