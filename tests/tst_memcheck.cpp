// Representative commands under valgrind's memcheck: no invalid read or
// write and no use of an uninitialised value, in trmsg or in what it asks of
// Qt. The application object and the translator live until the process ends
// by design, so leaks are not looked for.
#include "processrun.h"

#include <QTest>

namespace {

using Operands = QList<QByteArray>;

} // namespace

class Memcheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void command_data();
    void command();
};

void Memcheck::initTestCase()
{
    if (const char *why = whyNoMemcheck())
        QSKIP(why);
}

void Memcheck::command_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<Operands>("operands");

    QTest::newRow("report, no codec") << QByteArray("hy_AM.ARMSCII-8") << Operands{};
    QTest::newRow("mime name") << QByteArray("de_DE.ISO-8859-15@euro") << Operands{"--mimename"};
    QTest::newRow("listing, EUC-JP") << QByteArray("ja_JP.EUC-JP") << Operands{"3000..30ff"};
    QTest::newRow("listing, around zero") << QByteArray("C") << Operands{"-2..2"};
    QTest::newRow("listing, supplementary") << QByteArray("zh_CN.GB18030") << Operands{"1f5ff..1f601"};
    QTest::newRow("escaping, GB18030") << QByteArray("zh_CN.GB18030") << Operands{"--utf8", "\x94\x39\xfc\x36\x81"};
    QTest::newRow("usage") << QByteArray("C") << Operands{"--help"};
    QTest::newRow("request, KOI8-R") << QByteArray("ru_RU.KOI8-R")
                                     << Operands{"app", "Main", "Copy %1 to %2", "", "\xc6\xc1\xca\xcc", "/"};
    QTest::newRow("request, Latin-1 key") << QByteArray("fr_FR.ISO-8859-1")
                                          << Operands{"app", "Main", "Cr\xe8me br\xfbl\xe9" "e"};
    QTest::newRow("request, plural form") << QByteArray("ru_RU.KOI8-R")
                                          << Operands{"--count=22", "plural", "Files", "%n file(s) copied"};
    QTest::newRow("request, comment") << QByteArray("fr_FR.UTF-8") << Operands{"app", "Main", "Open", "verb"};
    QTest::newRow("request, no catalogue") << QByteArray("it_IT.UTF-8")
                                           << Operands{"app", "Main", "%1\x19%2", "", "a%2", "b", "c"};
}

void Memcheck::command()
{
    QFETCH(QByteArray, locale);
    QFETCH(Operands, operands);
    const QList<QByteArray> environment = localeEnvironment(locale, testInstallation());
    const ProcessResult plain = runProgram(memcheckedBinary(), Operands{memcheckedBinary()} + operands, environment);
    QByteArray report;
    const ProcessResult checked = runTrmsgMemchecked(operands, environment, &report);
    QVERIFY2(checked.exitStatus == 0, report.constData());
    QCOMPARE(checked.out, plain.out);
    QCOMPARE(checked.err, plain.err);
}

QTEST_GUILESS_MAIN(Memcheck)
#include "tst_memcheck.moc"
