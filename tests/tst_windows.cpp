// trmsg.exe, the Windows build, run under Wine: the Windows conventions (the
// ANSI code page as the locale's encoding, CR LF newlines, backslashed
// paths, names and operands in UTF-16) on the commands of every kind. Runs
// when scripts/test-windows names trmsg.exe and Wine (see windowsrun.h);
// skipped otherwise.
#include "iconvtext.h"
#include "processrun.h"
#include "windowsrun.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

using Operands = QList<QByteArray>;

const QByteArray french = "fr_FR.UTF-8";
const QByteArray russian = "ru_RU.KOI8-R";
const QByteArray russianUtf8 = "ru_RU.UTF-8";
const QByteArray japanese = "ja_JP.EUC-JP";

QByteArray catalogueFile(const QByteArray &name)
{
    QFile file(QFile::decodeName(testInstallation()) + QStringLiteral("/lib/locale/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A catalogue of no messages of its own that depends on the catalogue
// named dependency, like Qt's qt_XX.qm: the magic, then a dependencies
// section of one name in UTF-16.
QByteArray dependingCatalogue(const QByteArray &magicFrom, const QString &dependency)
{
    QByteArray name(dependency.size() * 2, '\0');
    qToBigEndian<quint16>(dependency.utf16(), dependency.size(), name.data());
    QByteArray length(4, '\0');
    qToBigEndian<quint32>(quint32(name.size()), length.data());
    QByteArray sectionSize(4, '\0');
    qToBigEndian<quint32>(quint32(name.size() + 4), sectionSize.data());
    return magicFrom.left(16) + char(0x96) + sectionSize + length + name;
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
    void unicode_data();
    void unicode();
    void console();
};

void Windows::initTestCase()
{
    if (!testingWindowsProgram())
        QSKIP("not testing trmsg.exe: scripts/test-windows builds it and runs this test under Wine");
    QVERIFY(startWine());
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

void Windows::unicode_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("directory"); // the installation's name (UTF-8), empty for the test catalogues'
    QTest::addColumn<bool>("throughDependency"); // app_<language>.qm depends on the catalogue, named common.qm
    QTest::addColumn<Operands>("operands");
    QTest::addColumn<QByteArray>("out");

    const Operands hello{"app", "Main", "Hello"};
    QTest::newRow("1252: installed under a Cyrillic name") << french << QByteArray("Зоя") << false << hello
                                                          << QByteArray("Bonjour");
    QTest::newRow("1252: installed under a Cyrillic name, dependency") << french << QByteArray("Зоя") << true << hello
                                                                      << QByteArray("Bonjour");
    QTest::newRow("1251: installed under a Chinese name") << russianUtf8 << QByteArray("王伟") << true << hello
                                                         << in("CP1251", "Привет");
    QTest::newRow("1252: installed under a name within the code page") << french << QByteArray("Zoé") << true << hello
                                                                      << QByteArray("Bonjour");
    QTest::newRow("1252: key outside the code page") << french << QByteArray() << false
                                                     << Operands{"wide", "Main", "Next →"} << QByteArray("Suivant");
    QTest::newRow("1252: key in another script") << french << QByteArray() << false << Operands{"wide", "Main", "Зоя"}
                                                 << in("CP1252", "Zoé");
    QTest::newRow("1251: key that best fit would change") << russianUtf8 << QByteArray() << false
                                                          << Operands{"wide", "Main", "café →"} << in("CP1251", "кафе");
    // Written to a pipe in the code page: what it lacks becomes '?', where
    // best fit would have made Ł and ź plain and, in 1251, the arrow '>'.
    QTest::newRow("1252: arguments outside the code page")
        << french << QByteArray() << false << Operands{"app", "Main", "Copy %1 to %2", "", "Łódź", "Зоя"}
        << in("CP1252", "Copie de ?ód? vers ???");
    QTest::newRow("1251: argument outside the code page")
        << russianUtf8 << QByteArray() << false << Operands{"app", "Main", "Copy %1 to %2", "", "café →", "/"}
        << in("CP1251", "Копирование caf? ? в /");
    QTest::newRow("1252: --utf8 of an arrow") << french << QByteArray() << false << Operands{"--utf8", "café →"}
                                              << in("CP1252", "café ?\r\n\\x63\\x61\\x66\\xc3\\xa9 \\xe2\\x86\\x92\r\n");
}

void Windows::unicode()
{
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, directory);
    QFETCH(bool, throughDependency);
    QFETCH(Operands, operands);
    QTemporaryDir root;
    QByteArray installation = testInstallation();
    if (!directory.isEmpty()) {
        // Made by the test, whose own names are UTF-8 like Wine's.
        installation = QFile::encodeName(root.path()) + '/' + directory;
        const QString locales = QString::fromUtf8(installation) + QStringLiteral("/lib/locale/");
        QVERIFY(QDir().mkpath(locales));
        const QByteArray language = locale.left(2);
        const QByteArray catalogue = catalogueFile("app_" + language + ".qm");
        QFile main(locales + QStringLiteral("app_") + QString::fromLatin1(language) + QStringLiteral(".qm"));
        QVERIFY(main.open(QIODevice::WriteOnly));
        main.write(throughDependency ? dependingCatalogue(catalogue, QStringLiteral("common")) : catalogue);
        main.close();
        if (throughDependency) {
            QFile common(locales + QStringLiteral("common.qm"));
            QVERIFY(common.open(QIODevice::WriteOnly));
            common.write(catalogue);
        }
    }
    const ProcessResult result = runTrmsg(operands, windowsEnvironment(locale, windowsPath(installation)));
    QVERIFY(!result.timedOut);
    QCOMPARE(result.exitStatus, 0);
    QTEST(result.out, "out");
    QCOMPARE(result.err, QByteArray());
}

void Windows::console()
{
    // On a terminal Wine gives trmsg.exe a console, which shows the terminal's
    // UTF-8: an argument outside the code page shows as typed, not as the
    // code page's '?'. The terminal is script(1)'s pseudo-terminal.
    QByteArray command = qgetenv("TRMSG_RUNNER");
    for (const QByteArray &argument :
         Operands{trmsgBinary(), "app", "Main", "[%1]", "", "Зоя →"})
        command += " '" + argument + "'";
    const ProcessResult result = runProgram("/usr/bin/script", {"script", "-qec", command, "/dev/null"},
                                            windowsEnvironment(french, windowsPath(testInstallation())));
    QVERIFY(!result.timedOut);
    QCOMPARE(result.exitStatus, 0);
    // The terminal's control sequences (cursor and title) aside.
    const QRegularExpression controls(QStringLiteral("\x1b\\[[0-9;?]*[A-Za-z]|\x1b\\][^\x07]*\x07"));
    QCOMPARE(QString::fromUtf8(result.out).remove(controls), QStringLiteral("[Зоя →]"));
}

QTEST_GUILESS_MAIN(Windows)
#include "tst_windows.moc"
