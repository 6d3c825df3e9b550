#include "translation/catalogue.h"

#include "localecodec/localecodec.h"
#include "translation/cataloguefile.h"
#include "translation/request.h"
#include "translation/substitution.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

QString catalogueDirectory;

QString catalogueDirectoryFor(const char *installationDirectory)
{
    // File names in Qt 6 are the bytes QFile::decodeName gives back, whatever
    // the locale's encoding.
    const QChar separator = QDir::separator();
    return QFile::decodeName(installationDirectory) + separator + QLatin1String("lib") + separator
        + QLatin1String("locale");
}

QString catalogueFileName(const char *prefix, const QString &localeName)
{
    return QFile::decodeName(prefix) + u'_' + localeName;
}

namespace {

// The installed catalogue's bytes: the translator reads them in place.
QByteArray catalogueContents;

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
    auto *translator = new QTranslator; // lives as long as the process
    if (translator->load(reinterpret_cast<const uchar *>(catalogueContents.constData()),
                         int(catalogueContents.size()), catalogueDirectory))
        QCoreApplication::installTranslator(translator);
}

namespace {

QStringList messageArguments(int count, char **vector, int first, int wanted)
{
    QStringList arguments;
    for (int i = first; i < count && arguments.size() < wanted; ++i)
        arguments.append(localToUnicode(vector[i]));
    return arguments;
}

void writeToStandardOutput(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

} // namespace

void printTranslation(int count, char **vector)
{
    const TranslationRequest &request = translationRequest;
    // Catalogues hold their keys in UTF-8.
    const QByteArray context = localToUtf8(request.context);
    const QByteArray message = localToUtf8(request.message);
    const QByteArray comment = request.comment ? localToUtf8(request.comment) : QByteArray();
    QString result = QCoreApplication::translate(context.constData(), message.constData(),
                                                 request.comment ? comment.constData() : nullptr);
    if (request.firstArgIndex != 0) {
        const int wanted = distinctMarkerCount(result);
        result = substituteArguments(result, messageArguments(count, vector, request.firstArgIndex, wanted));
    }
    writeToStandardOutput(unicodeToLocal(result));
}
