#include "localediag/localediag.h"

#include "localecodec/localecodec.h"

#include <QLocale>
#include <QTextCodec>

#include <cstdlib>

void writeLocaleReport(std::FILE *out, const QTextCodec *codec, const QString &localeName, const char *lang)
{
    const bool hasLocaleName = !localeName.isEmpty();
    const QByteArray name = localeName.toLatin1();
    if (codec) {
        std::fprintf(out, "Mib:%d\tmimeName:\"%s\"\tlocale:\"%s\"\n", codec->mibEnum(), codec->name().constData(),
                     hasLocaleName ? name.constData() : "<null>");
    } else if (hasLocaleName) {
        std::fprintf(out, "locale (no codecForLocale):\"%s\"\n", name.constData());
    } else {
        std::fprintf(out, "$LANG (unknown locale encoding):\"%s\"\n", lang ? lang : "<not set>");
    }
}

void printLocaleReport()
{
    writeLocaleReport(stdout, localeCodec(), QLocale::system().name(), std::getenv("LANG"));
}

void printMimeName()
{
    if (const QTextCodec *codec = localeCodec())
        std::fprintf(stdout, "%s", codec->name().constData());
    else
        std::fputs("<no codec for locale>", stdout);
}
