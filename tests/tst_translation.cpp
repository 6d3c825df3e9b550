// Translation requests run through the built trmsg, in real locales.
#include "iconvtext.h"
#include "processrun.h"

#include <QTest>

namespace {

using Operands = QList<QByteArray>;

// text (UTF-8 in this file) as the bytes a locale with this charset shows.
QByteArray in(const char *charset, const QByteArray &text)
{
    bool ok = false;
    const QByteArray bytes = iconvFromUtf8(text, charset, &ok);
    if (!ok)
        qFatal("iconv cannot convert %s to %s", text.constData(), charset);
    return bytes;
}

} // namespace

class Translation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void request_data();
    void request();
};

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
    const ProcessResult result = runTrmsg(operands, localeEnvironment(locale, testInstallation()));
    QVERIFY(!result.timedOut);
    QCOMPARE(result.signal, 0);
    QCOMPARE(result.exitStatus, 0);
    QTEST(result.out, "out");
    QCOMPARE(result.err, QByteArray());
}

QTEST_GUILESS_MAIN(Translation)
#include "tst_translation.moc"
