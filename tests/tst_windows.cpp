// trmsg.exe, the Windows build, run under Wine: the Windows conventions (the
// ANSI code page as the locale's encoding, CR LF newlines, backslashed
// paths) on the commands of every kind. Runs when TRMSG_PROGRAM names
// trmsg.exe and TRMSG_RUNNER the Wine that runs it (scripts/test-windows
// sets both); skipped otherwise. Wine takes the ANSI code page from the
// locale (compiled into the build, selected by LOCPATH): fr_FR gives 1252,
// ru_RU 1251, ja_JP 932. Wine hands the program its arguments converted from
// the Unix locale's encoding to the code page, as a user's typing would be.
#include "iconvtext.h"
#include "processrun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Operands = QList<QByteArray>;

const QByteArray french = "fr_FR.UTF-8";
const QByteArray russian = "ru_RU.KOI8-R";
const QByteArray japanese = "ja_JP.EUC-JP";

// A Unix path as Wine shows it to a Windows program: drive Z:, backslashes.
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

} // namespace

class Windows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void command_data();
    void command();
    void damagedCatalogue();
};

void Windows::initTestCase()
{
    if (!trmsgBinary().endsWith(".exe") || qEnvironmentVariableIsEmpty("TRMSG_RUNNER")
        || qEnvironmentVariableIsEmpty("TRMSG_WINEPREFIX"))
        QSKIP("not testing trmsg.exe: scripts/test-windows builds it and runs this test under Wine");
    // Wine's server and its services outlive the program that starts them:
    // started here, with no pipe of a test for standard streams, and kept
    // for the whole run, so that each run ends as soon as trmsg.exe does.
    const QByteArray runner = qgetenv("TRMSG_RUNNER");
    QProcess server;
    server.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    server.setStandardOutputFile(QProcess::nullDevice());
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(QFile::decodeName(runner.left(runner.lastIndexOf('/') + 1)) + QStringLiteral("wineserver"),
                 {QStringLiteral("-p60")});
    QVERIFY(server.waitForFinished(60000));
    QProcess warmUp;
    QProcessEnvironment environment;
    for (const QByteArray &variable : windowsEnvironment(french, QByteArray()))
        environment.insert(QString::fromLatin1(variable.split('=').first()),
                           QFile::decodeName(variable.mid(variable.indexOf('=') + 1)));
    warmUp.setProcessEnvironment(environment);
    warmUp.setStandardOutputFile(QProcess::nullDevice());
    warmUp.setStandardErrorFile(QProcess::nullDevice());
    warmUp.start(QFile::decodeName(runner), {QStringLiteral("cmd"), QStringLiteral("/c"), QStringLiteral("exit")});
    QVERIFY(warmUp.waitForFinished(180000));
}

void Windows::command_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<bool>("installation"); // ZEZAVAVEV set to the test catalogues
    QTest::addColumn<Operands>("operands");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");

    const QByteArray program = windowsPath(trmsgBinary());
    const QByteArray report1252 = "Mib:2252\tmimeName:\"windows-1252\"\tlocale:\"fr_FR\"\r\n";
    QTest::newRow("fatal line") << french << false << Operands{"--help"} << QByteArray()
                                << program + " Fatal Error: ZEZAVAVEV environment variable not set\r\n";
    QTest::newRow("usage") << french << true << Operands{"--help"} << QByteArray() << usageText(program, "\r\n");
    QTest::newRow("too few operands") << french << true << Operands{"app", "Main"} << QByteArray()
                                      << usageText(program, "\r\n");

    QTest::newRow("1252: translation") << french << true << Operands{"app", "Main", "Coffee"}
                                       << in("CP1252", "Caf\xc3\xa9") << QByteArray();
    QTest::newRow("1252: arguments") << french << true << Operands{"app", "Main", "%1 before %2", "", "\xc3\xa9", "b"}
                                     << in("CP1252", "b apr\xc3\xa8s \xc3\xa9") << QByteArray();
    QTest::newRow("1252: line break") << french << true << Operands{"app", "Main", "First line\x19Second line"}
                                      << in("CP1252", "Premi\xc3\xa8re ligne\r\nDeuxi\xc3\xa8me ligne")
                                      << QByteArray();
    QTest::newRow("1251: arguments") << russian << true
                                     << Operands{"app", "Main", "Copy %1 to %2", "", in("KOI8-R", "\xd1\x84"), "/"}
                                     << in("CP1251", "\xd0\x9a\xd0\xbe\xd0\xbf\xd0\xb8\xd1\x80\xd0\xbe\xd0\xb2\xd0\xb0"
                                                     "\xd0\xbd\xd0\xb8\xd0\xb5 \xd1\x84 \xd0\xb2 /")
                                     << QByteArray();
    QTest::newRow("932: arguments") << japanese << true
                                    << Operands{"app", "Main", "Copy %1 to %2", "", in("EUC-JP", "\xe8\xa1\xa8"), "b"}
                                    << in("SHIFT_JIS", "\xe8\xa1\xa8 \xe3\x82\x92 b \xe3\x81\xab\xe3\x82\xb3\xe3\x83\x94"
                                                       "\xe3\x83\xbc")
                                    << QByteArray();
    QTest::newRow("plural count") << russian << true << Operands{"--count=22", "plural", "Files", "%n file(s) copied"}
                                  << in("CP1251", "22 \xd1\x84\xd0\xb0\xd0\xb9\xd0\xbb\xd0\xb0 \xd1\x81\xd0\xba\xd0\xbe"
                                                  "\xd0\xbf\xd0\xb8\xd1\x80\xd0\xbe\xd0\xb2\xd0\xb0\xd0\xbd\xd0\xbe")
                                  << QByteArray();

    QTest::newRow("1252: report") << french << true << Operands{} << report1252 << QByteArray();
    QTest::newRow("1251: report") << russian << true << Operands{}
                                  << QByteArray("Mib:2251\tmimeName:\"windows-1251\"\tlocale:\"ru_RU\"\r\n") << QByteArray();
    QTest::newRow("932: report") << japanese << true << Operands{}
                                 << QByteArray("Mib:17\tmimeName:\"Shift_JIS\"\tlocale:\"ja_JP\"\r\n") << QByteArray();
    QTest::newRow("1252: MIME name") << french << true << Operands{"--mimename"} << QByteArray("windows-1252")
                                     << QByteArray();
    QTest::newRow("1251: MIME name") << russian << true << Operands{"--mimename"} << QByteArray("windows-1251")
                                     << QByteArray();
    QTest::newRow("932: MIME name") << japanese << true << Operands{"--mimename"} << QByteArray("Shift_JIS")
                                    << QByteArray();
    QTest::newRow("listing 41..43") << french << true << Operands{"41..43"} << report1252 + "41:A\r\n42:B\r\n43:C\r\n"
                                    << QByteArray();
    QTest::newRow("listing e9..e9") << french << true << Operands{"e9..e9"} << report1252 + "e9:\xe9\r\n"
                                    << QByteArray();
    QTest::newRow("--utf8, accented") << french << true << Operands{"--utf8", "caf\xc3\xa9"}
                                      << QByteArray("caf\xe9\r\n\\x63\\x61\\x66\\xc3\\xa9\r\n") << QByteArray();
}

void Windows::command()
{
    QFETCH(QByteArray, locale);
    QFETCH(bool, installation);
    QFETCH(Operands, operands);
    const ProcessResult result = runTrmsg(
        operands, windowsEnvironment(locale, installation ? windowsPath(testInstallation()) : QByteArray()));
    QVERIFY(!result.timedOut);
    QCOMPARE(result.exitStatus, 0);
    QTEST(result.out, "out");
    QTEST(result.err, "err");
}

void Windows::damagedCatalogue()
{
    // Cut short inside its messages: printed untranslated, nothing reported.
    QTemporaryDir installation;
    QVERIFY(QDir(installation.path()).mkpath(QStringLiteral("lib/locale")));
    QFile real(QFile::decodeName(testInstallation()) + QStringLiteral("/lib/locale/app_fr.qm"));
    QVERIFY(real.open(QIODevice::ReadOnly));
    QFile damaged(installation.path() + QStringLiteral("/lib/locale/app_fr.qm"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(real.readAll().chopped(40));
    damaged.close();
    const ProcessResult result = runTrmsg(
        {"app", "Main", "Coffee"}, windowsEnvironment(french, windowsPath(QFile::encodeName(installation.path()))));
    QCOMPARE(result.exitStatus, 0);
    QCOMPARE(result.out, QByteArray("Coffee"));
    QCOMPARE(result.err, QByteArray());
}

QTEST_GUILESS_MAIN(Windows)
#include "tst_windows.moc"
