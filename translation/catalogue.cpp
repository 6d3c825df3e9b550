#include "translation/catalogue.h"

#include "localecodec/localecodec.h"
#include "platform/platform.h"
#include "translation/cataloguefile.h"
#include "translation/qmcheck.h"
#include "translation/request.h"
#include "translation/substitution.h"

#include <QCoreApplication>
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

// The installed catalogue's bytes: the translator reads them in place.
QByteArray catalogueContents;

// The translator reading them, once installed; asked directly for plural
// forms, so that trmsg fills %n itself in the one pass over the markers.
QTranslator *catalogueTranslator;

// Loads catalogueContents into translator. QTranslator opens the catalogue's
// dependencies itself, by file names it encodes (in UTF-8 on Unix), so it is
// pointed at them through the working directory, entered by the directory's
// own name for the load, rather than by a name it might not encode back.
bool loadFromCatalogueDirectory(QTranslator *translator)
{
    const auto *data = reinterpret_cast<const uchar *>(catalogueContents.constData());
    const int size = int(catalogueContents.size());
    if (catalogueDependencies(catalogueContents).isEmpty())
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
    const QString name = catalogueFileName(translationRequest.prefix, QLocale::system().name());
    const QString path = findCatalogueFile(name, catalogueDirectory);
    if (path.isEmpty())
        return;
    catalogueContents = readSoundCatalogue(path, catalogueDirectory);
    if (catalogueContents.isEmpty())
        return;
    // Once installed, the translator lives as long as the process; one that
    // Qt would not load (a dependency missing) goes at once.
    auto *translator = new QTranslator;
    if (loadFromCatalogueDirectory(translator) && QCoreApplication::installTranslator(translator))
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
QString translatedText(const char *context, const char *message, const char *comment, qint32 pluralCount)
{
    if (pluralCount < 0)
        return QCoreApplication::translate(context, message, comment);
    const QString translation =
        catalogueTranslator ? catalogueTranslator->translate(context, message, comment, pluralCount) : QString();
    return translation.isNull() ? QString::fromUtf8(message) : translation;
}

} // namespace

void printTranslation(int count, char **vector)
{
    const TranslationRequest &request = translationRequest;
    // Catalogues hold their keys in UTF-8.
    const QByteArray context = operandToUtf8(request.context);
    const QByteArray message = operandToUtf8(request.message);
    const QByteArray comment = request.comment ? operandToUtf8(request.comment) : QByteArray();
    QString result = translatedText(context.constData(), message.constData(),
                                    request.comment ? comment.constData() : nullptr, request.pluralCount);
    if (request.firstArgIndex != 0 || request.pluralCount >= 0) {
        const int wanted = request.firstArgIndex != 0 ? distinctMarkerCount(result) : 0;
        result = substituteArguments(result, messageArguments(count, vector, request.firstArgIndex, wanted),
                                     request.pluralCount);
    }
    writeStandardOutputText(result);
}
