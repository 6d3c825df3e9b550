// Translation requests run through the built trmsg, in real locales; under
// scripts/test-windows through trmsg.exe, in the ANSI code page Wine gives
// the same language in place of the Unix locale's charset.
#include "iconvtext.h"
#include "processrun.h"
#include "windowsrun.h"

#include <QTest>

namespace {

using Operands = QList<QByteArray>;

// Rows whose expectation rests on the Unix charset itself.
const char *whyNotOnWindows(const QByteArray &row)
{
    if (row == "latin1: character it lacks")
        return "windows-1252 has the euro sign that ISO-8859-1 lacks";
    if (row == "gb18030: four-byte character")
        return "code page 936 (GBK) lacks U+1F600, which GB18030 has";
    return nullptr;
}

} // namespace

class Translation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void request_data();
    void request();
};

void Translation::initTestCase()
{
    if (testingWindowsProgram())
        QVERIFY(startWine());
}

void Translation::request_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<Operands>("operands");
    QTest::addColumn<QByteArray>("out");

    const QByteArray fr = "fr_FR.UTF-8";
    // Catalogue found, not found, or not used.
    QTest::newRow("found") << fr << Operands{"app", "Main", "Hello"} << QByteArray("Bonjour");
    QTest::newRow("fr_CA served by app_fr") << QByteArray("fr_CA.UTF-8") << Operands{"app", "Main", "Hello"}
                                            << QByteArray("Bonjour");
    QTest::newRow("message not in catalogue") << fr << Operands{"app", "Main", "Goodbye"} << QByteArray("Goodbye");
    QTest::newRow("no catalogue for locale") << QByteArray("it_IT.UTF-8") << Operands{"app", "Main", "Hello"}
                                             << QByteArray("Hello");
    QTest::newRow("C locale") << QByteArray("C") << Operands{"app", "Main", "Hello"} << QByteArray("Hello");
    QTest::newRow("no catalogue for prefix") << fr << Operands{"nothing", "Main", "Hello"} << QByteArray("Hello");
    QTest::newRow("context does not match") << fr << Operands{"app", "Other", "Hello"} << QByteArray("Hello");
    QTest::newRow("comment: verb") << fr << Operands{"app", "Main", "Open", "verb"} << QByteArray("Ouvrir");
    QTest::newRow("comment: adjective") << fr << Operands{"app", "Main", "Open", "adjective"}
                                        << QByteArray("Ouvert");
    QTest::newRow("empty message") << fr << Operands{"app", "Main", ""} << QByteArray();
    QTest::newRow("non-ASCII message key") << fr << Operands{"app", "Main", "Crème brûlée"}
                                           << QByteArray("Dessert");
    QTest::newRow("non-ASCII context") << fr << Operands{"app", "Café", "Hello"} << QByteArray("Salut");

    // Markers and arguments.
    QTest::newRow("markers filled in order") << fr << Operands{"app", "Main", "Copy %1 to %2", "", "a", "b"}
                                             << QByteArray("Copie de a vers b");
    QTest::newRow("lowest marker takes first argument")
        << fr << Operands{"app", "Main", "%1 before %2", "", "A", "B"} << QByteArray("B après A");
    QTest::newRow("missing argument") << fr << Operands{"app", "Main", "Copy %1 to %2", "", "a"}
                                      << QByteArray("Copie de a vers %2");
    QTest::newRow("extra arguments") << fr << Operands{"app", "Main", "Copy %1 to %2", "", "a", "b", "c", "d"}
                                     << QByteArray("Copie de a vers b");
    QTest::newRow("four operands fill nothing") << fr << Operands{"app", "Main", "Copy %1 to %2", ""}
                                                << QByteArray("Copie de %1 vers %2");
    QTest::newRow("untranslated markers") << fr << Operands{"app", "Main", "%2-%1-%2", "", "x", "y"}
                                          << QByteArray("y-x-y");
    QTest::newRow("argument holding a later marker") << fr << Operands{"app", "Main", "%1 %2", "", "50%2", "x"}
                                                     << QByteArray("50%2 x");
    QTest::newRow("argument holding its own marker") << fr << Operands{"app", "Main", "<%1>", "", "file%1.txt"}
                                                     << QByteArray("<file%1.txt>");
    QTest::newRow("argument like a Qt option") << fr << Operands{"app", "Main", "%1", "", "-qmljsdebugger=x"}
                                               << QByteArray("-qmljsdebugger=x");

    // Line-break markers: the message only.
    QTest::newRow("0x19 in message, translated")
        << fr << Operands{"app", "Main", "First line\x19Second line"}
        << QByteArray("Première ligne\nDeuxième ligne");
    QTest::newRow("0x19 twice, untranslated") << fr << Operands{"app", "Main", "a\x19\x19" "b"}
                                              << QByteArray("a\n\nb");
    // The catalogue has a context holding a line feed: 0x19 stands for one
    // only in the message.
    const QByteArray de("de_DE.UTF-8");
    QTest::newRow("0x19 in context kept") << de << Operands{"app", "Line\x19" "break", "Hello"} << QByteArray("Hello");
    QTest::newRow("line feed in context") << de << Operands{"app", "Line\nbreak", "Hello"}
                                          << QByteArray("Hallo mit Zeilenumbruch");
    QTest::newRow("0x19 in argument kept") << fr << Operands{"app", "Main", "[%1]", "", "a\x19" "b"}
                                           << QByteArray("[a\x19" "b]");

    // Legacy locales: keys typed in the locale's bytes, output in them.
    const char *latin1 = "ISO-8859-1";
    const QByteArray frLatin1 = "fr_FR.ISO-8859-1";
    // Plural forms: each language's form for counts on its rules' edges, by
    // hand from the language's rule (the index of the form in its catalogue).
    const QList<QByteArray> counts{"0", "1", "2", "3", "4", "5", "11", "12", "14", "21", "22", "25",
                                   "101", "111", "112", "1000001"};
    const struct
    {
        const char *language;
        const char *forms; // the catalogue's forms, '|' between them
        const char *chosen; // the form for each count above
    } plurals[] = {
        {"ja", "%n個のファイルをコピーしました", "0000000000000000"},
        {"fr", "%n fichier copié|%n fichiers copiés", "0011111111111111"},
        {"de", "%n Datei kopiert|%n Dateien kopiert", "1011111111111111"},
        {"ru", "%n файл скопирован|"
               "%n файла скопировано|"
               "%n файлов скопировано",
         "2011122220120220"},
        {"pl", "%n plik skopiowany|%n pliki skopiowane|%n plików skopiowanych", "2011122222122222"},
        {"cs", "%n soubor zkopírován|%n soubory zkopírovány|%n souborů zkopírováno",
         "2011122222222222"},
        {"ar", "zero %n|one %n|two %n|few %n|many %n|other %n", "0123334444445445"},
        {"sl", "one %n|two %n|few %n|other %n", "3012233333330330"},
    };
    for (const auto &plural : plurals) {
        const QList<QByteArray> forms = QByteArray(plural.forms).split('|');
        const QByteArray locale = QByteArray(plural.language) + '_' + QByteArray(plural.language).toUpper() + ".UTF-8";
        for (qsizetype i = 0; i < counts.size(); ++i) {
            QByteArray expected = forms[plural.chosen[i] - '0'];
            QTest::addRow("plural %s, %s", plural.language, counts[i].constData())
                << locale << Operands{"--count=" + counts[i], "plural", "Files", "%n file(s) copied"}
                << expected.replace("%n", counts[i]);
        }
    }
    // Every digit read as its value.
    QTest::newRow("plural, a count of every digit")
        << fr << Operands{"--count=1234567890", "plural", "Files", "%n file(s) copied"}
        << QByteArray("1234567890 fichiers copiés");
    QTest::newRow("plural message without a count") << fr << Operands{"plural", "Files", "%n file(s) copied"}
                                                    << QByteArray("%n fichier copi\xc3\xa9");
    QTest::newRow("plural with arguments") << fr << Operands{"--count=3", "plural", "Files", "%n file(s) in %1", "",
                                                             "dir%n%1"}
                                           << QByteArray("3 fichiers dans dir%n%1");
    QTest::newRow("plural, %Ln grouped") << QByteArray("de_DE.UTF-8")
                                         << Operands{"--count=1234567", "plural", "Files", "%Ln byte(s)"}
                                         << QByteArray("1.234.567 Bytes");
    QTest::newRow("plural, no catalogue") << QByteArray("it_IT.UTF-8")
                                          << Operands{"--count=5", "plural", "Files", "%n file(s) copied"}
                                          << QByteArray("5 file(s) copied");
    QTest::newRow("plural, count never read as a marker")
        << fr << Operands{"--count=1", "nothing", "Files", "%%n %L%n %n%1", "", "x"} << QByteArray("%1 %L1 1x");
    // lrelease stores an empty form as a null string, which ends Qt's reading
    // of the message: no form of it is used, whatever the count.
    for (const char *count : {"1", "2"})
        QTest::addRow("plural, empty form in catalogue, %s", count)
            << fr << Operands{QByteArray("--count=") + count, "plural", "Files", "%n item(s) left"}
            << QByteArray(count) + " item(s) left";
    QTest::newRow("plural, koi8-r") << QByteArray("ru_RU.KOI8-R")
                                    << Operands{"--count=22", "plural", "Files", "%n file(s) copied"}
                                    << in("KOI8-R", "22 \u0444\u0430\u0439\u043b\u0430 \u0441\u043a\u043e\u043f\u0438\u0440\u043e\u0432\u0430\u043d\u043e");

    QTest::newRow("latin1: translation") << frLatin1 << Operands{"app", "Main", "Coffee"} << in(latin1, "Café");
    QTest::newRow("latin1: non-ASCII key") << frLatin1 << Operands{"app", "Main", in(latin1, "Crème brûlée")}
                                           << QByteArray("Dessert");
    QTest::newRow("latin1: non-ASCII context") << frLatin1 << Operands{"app", in(latin1, "Café"), "Hello"}
                                               << QByteArray("Salut");
    QTest::newRow("latin1: untranslated echoed")
        << frLatin1 << Operands{"app", "Main", in(latin1, "Déjà %1"), "", in(latin1, "été")}
        << in(latin1, "Déjà été");
    QTest::newRow("latin1: translation with arguments")
        << frLatin1 << Operands{"app", "Main", "%1 before %2", "", in(latin1, "è"), "b"} << in(latin1, "b après è");
    QTest::newRow("latin1: character it lacks") << frLatin1 << Operands{"app", "Main", "Price"}
                                                << QByteArray("Prix : 5 ?");
    QTest::newRow("latin9: euro sign") << QByteArray("de_DE.ISO-8859-15@euro") << Operands{"app", "Main", "Price"}
                                       << in("ISO-8859-15", "Preis: 5 €");
    QTest::newRow("latin9: translation") << QByteArray("de_DE.ISO-8859-15@euro") << Operands{"app", "Main", "Hello"}
                                         << in("ISO-8859-15", "Grüß Gott");
    QTest::newRow("koi8-r: translation") << QByteArray("ru_RU.KOI8-R") << Operands{"app", "Main", "Hello"}
                                         << in("KOI8-R", "Привет");
    QTest::newRow("koi8-r: arguments") << QByteArray("ru_RU.KOI8-R")
                                       << Operands{"app", "Main", "Copy %1 to %2", "", in("KOI8-R", "файл"), "/tmp"}
                                       << in("KOI8-R", "Копирование файл в /tmp");
    QTest::newRow("koi8-r: untranslated echoed") << QByteArray("ru_RU.KOI8-R")
                                                 << Operands{"app", "Main", in("KOI8-R", "Пока")}
                                                 << in("KOI8-R", "Пока");
    QTest::newRow("euc-jp: translation") << QByteArray("ja_JP.EUC-JP")
                                         << Operands{"app", "Main", "Copy %1 to %2", "", in("EUC-JP", "日本"), "/"}
                                         << in("EUC-JP", "日本 を / にコピー");
    QTest::newRow("euc-jp: untranslated echoed") << QByteArray("ja_JP.EUC-JP")
                                                 << Operands{"app", "Main", in("EUC-JP", "さようなら")}
                                                 << in("EUC-JP", "さようなら");
    QTest::newRow("gb18030: four-byte character") << QByteArray("zh_CN.GB18030") << Operands{"app", "Main", "Hello"}
                                                  << in("GB18030", "你好 😀");
    // No codec for ARMSCII-8: Latin-1 keeps every byte typed, and characters
    // beyond Latin-1 become question marks.
    const QByteArray armenian = "hy_AM.ARMSCII-8";
    QTest::newRow("no codec: Latin-1 translation") << armenian << Operands{"app", "Main", "Hello"}
                                                   << QByteArray("Barev, caf\xe9");
    QTest::newRow("no codec: beyond Latin-1") << armenian << Operands{"app", "Main", "Price"} << QByteArray("???");
    QTest::newRow("no codec: untranslated echoed") << armenian << Operands{"app", "Main", "\xb2\xe1 %1", "", "\xff"}
                                                   << QByteArray("\xb2\xe1 \xff");
}

void Translation::request()
{
    QFETCH(QByteArray, locale);
    QFETCH(Operands, operands);
    QFETCH(QByteArray, out);
    QList<QByteArray> environment = localeEnvironment(locale, testInstallation());
    if (testingWindowsProgram()) {
        const WindowsLocale windows = windowsLocale(locale);
        const char *why = windows.notApplicable ? windows.notApplicable : whyNotOnWindows(QTest::currentDataTag());
        if (why)
            QSKIP(why);
        bool ok = false;
        out = windowsOutput(out, locale, windows.codePage, &ok);
        QVERIFY(ok);
        environment = windowsEnvironment(windows.locale, windowsPath(testInstallation()));
    }
    const ProcessResult result = runTrmsg(operands, environment);
    QVERIFY(!result.timedOut);
    QCOMPARE(result.signal, 0);
    QCOMPARE(result.exitStatus, 0);
    QCOMPARE(result.out, out);
    QCOMPARE(result.err, QByteArray());
}

QTEST_GUILESS_MAIN(Translation)
#include "tst_translation.moc"
