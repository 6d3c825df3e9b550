#include "windowsrun.h"

#include "iconvtext.h"
#include "processrun.h"

#include <QFile>
#include <QProcess>

bool testingWindowsProgram()
{
    return trmsgBinary().endsWith(".exe") && !qEnvironmentVariableIsEmpty("TRMSG_RUNNER")
        && !qEnvironmentVariableIsEmpty("TRMSG_WINEPREFIX");
}

bool startWine()
{
    const QByteArray runner = qgetenv("TRMSG_RUNNER");
    QProcess server;
    QProcessEnvironment serverEnvironment = QProcessEnvironment::systemEnvironment();
    serverEnvironment.insert(QStringLiteral("WINEPREFIX"), qEnvironmentVariable("TRMSG_WINEPREFIX"));
    server.setProcessEnvironment(serverEnvironment);
    server.setStandardOutputFile(QProcess::nullDevice());
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(QFile::decodeName(runner.left(runner.lastIndexOf('/') + 1)) + QStringLiteral("wineserver"),
                 {QStringLiteral("-p60")});
    if (!server.waitForFinished(60000))
        return false;
    QProcess warmUp;
    QProcessEnvironment environment;
    for (const QByteArray &variable : windowsEnvironment("fr_FR.UTF-8", QByteArray()))
        environment.insert(QString::fromLatin1(variable.split('=').first()),
                           QFile::decodeName(variable.mid(variable.indexOf('=') + 1)));
    warmUp.setProcessEnvironment(environment);
    warmUp.setStandardOutputFile(QProcess::nullDevice());
    warmUp.setStandardErrorFile(QProcess::nullDevice());
    warmUp.start(QFile::decodeName(runner), {QStringLiteral("cmd"), QStringLiteral("/c"), QStringLiteral("exit")});
    return warmUp.waitForFinished(180000);
}

QByteArray windowsPath(QByteArray path)
{
    return "Z:" + path.replace('/', '\\');
}

QList<QByteArray> windowsEnvironment(const QByteArray &locale, const QByteArray &installation)
{
    QList<QByteArray> environment{"WINEPREFIX=" + qgetenv("TRMSG_WINEPREFIX"), "WINEDEBUG=-all",
                                  "PATH=/usr/bin:/bin", "LOCPATH=" + compiledLocales(), "LANG=" + locale};
    if (!installation.isNull())
        environment.append("ZEZAVAVEV=" + installation);
    return environment;
}

WindowsLocale windowsLocale(const QByteArray &unixLocale)
{
    static const struct
    {
        const char *language;
        const char *territory; // one the build compiles the language's UTF-8 locale for
        const char *codePage;
    } languages[] = {{"fr", nullptr, "CP1252"}, {"de", nullptr, "CP1252"}, {"it", nullptr, "CP1252"},
                     {"C", nullptr, "CP1252"},  {"ru", "RU", "CP1251"},    {"ja", "JP", "CP932"},
                     {"pl", "PL", "CP1250"},    {"cs", "CZ", "CP1250"},    {"sl", "SI", "CP1250"},
                     {"ar", "EG", "CP1256"},    {"zh", nullptr, "CP936"}};
    const QByteArray language = unixLocale.split('_').first().split('.').first();
    for (const auto &known : languages) {
        if (language != known.language)
            continue;
        QByteArray locale = unixLocale;
        if (known.territory)
            locale = language + '_' + known.territory + unixLocale.mid(unixLocale.indexOf('.'));
        return {locale, known.codePage};
    }
    return {unixLocale, QByteArray(),
            "Windows has no 8-bit ANSI code page for Armenian (Wine gives it UTF-8): the Latin-1 fallback for a "
            "charset Qt lacks cannot arise"};
}

QByteArray windowsOutput(const QByteArray &out, const QByteArray &unixLocale, const QByteArray &codePage, bool *ok)
{
    const qsizetype dot = unixLocale.indexOf('.');
    const QByteArray charset = dot < 0 ? QByteArray("UTF-8") : unixLocale.mid(dot + 1).split('@').first();
    QByteArray converted = iconvConvert(out, charset.constData(), codePage.constData(), ok);
    return converted.replace("\n", "\r\n");
}
