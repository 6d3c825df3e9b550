// Filling markers with message arguments, in one pass.
#include "qtarg.h"
#include "translation/substitution.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QString randomText(QRandomGenerator &random, int length, const QString &alphabet)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet.at(random.bounded(int(alphabet.size())));
    return text;
}

// QString::arg warns about missing arguments; the oracle's warnings are noise.
void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

class Substitution : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void substitute_data();
    void substitute();
    void agreesWithQtArg();
    void manyArguments();
};

void Substitution::substitute_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("distinct");

    const QStringList ab{QStringLiteral("A"), QStringLiteral("B")};
    QTest::newRow("in order") << QStringLiteral("%1 %2") << ab << QStringLiteral("A B") << 2;
    QTest::newRow("reversed") << QStringLiteral("%2 %1") << ab << QStringLiteral("B A") << 2;
    QTest::newRow("repeated marker") << QStringLiteral("%1%1%2%1") << ab << QStringLiteral("AABA") << 2;
    QTest::newRow("gap in numbers") << QStringLiteral("%3 %7") << ab << QStringLiteral("A B") << 2;
    QTest::newRow("%0 is lowest") << QStringLiteral("%1 %0") << ab << QStringLiteral("B A") << 2;
    QTest::newRow("%01 is %1") << QStringLiteral("%01 %1 %2") << ab << QStringLiteral("A A B") << 2;
    QTest::newRow("two digits at most") << QStringLiteral("%123") << ab << QStringLiteral("A3") << 1;
    QTest::newRow("%99") << QStringLiteral("%99 %98") << ab << QStringLiteral("B A") << 2;
    QTest::newRow("L marker") << QStringLiteral("%L1 %L2") << ab << QStringLiteral("A B") << 2;
    QTest::newRow("lone per cent") << QStringLiteral("100% %1") << ab << QStringLiteral("100% A") << 1;
    QTest::newRow("double per cent") << QStringLiteral("%%1") << ab << QStringLiteral("%A") << 1;
    QTest::newRow("trailing per cent") << QStringLiteral("%1%") << ab << QStringLiteral("A%") << 1;
    QTest::newRow("trailing %L") << QStringLiteral("%1 %L") << ab << QStringLiteral("A %L") << 1;
    QTest::newRow("fewer arguments") << QStringLiteral("%1 %2 %3") << QStringList{QStringLiteral("A")}
                                     << QStringLiteral("A %2 %3") << 3;
    QTest::newRow("more arguments") << QStringLiteral("%1") << ab << QStringLiteral("A") << 1;
    QTest::newRow("no markers") << QStringLiteral("plain") << ab << QStringLiteral("plain") << 0;
    QTest::newRow("no arguments") << QStringLiteral("%1") << QStringList{} << QStringLiteral("%1") << 1;
    QTest::newRow("empty text") << QString() << ab << QString() << 0;
    QTest::newRow("argument holds later marker") << QStringLiteral("%1 %2")
                                                 << QStringList{QStringLiteral("50%2"), QStringLiteral("x")}
                                                 << QStringLiteral("50%2 x") << 2;
    QTest::newRow("argument holds its marker") << QStringLiteral("%1")
                                               << QStringList{QStringLiteral("%1%1")} << QStringLiteral("%1%1") << 1;
    // Markers are read with ASCII digits only, as Qt reads them from 6.8 on.
    QTest::newRow("Oriya digit") << QStringLiteral("%\u0B67 %1") << ab << QStringLiteral("%\u0B67 A") << 1;
    QTest::newRow("Arabic-Indic digit") << QStringLiteral("%\u0661%2") << ab << QStringLiteral("%\u0661A") << 1;
    QTest::newRow("Devanagari digit") << QStringLiteral("%L\u0967") << ab << QStringLiteral("%L\u0967") << 0;
    QTest::newRow("fullwidth digit") << QStringLiteral("%\uFF11%\uFF12") << ab << QStringLiteral("%\uFF11%\uFF12")
                                     << 0;
    QTest::newRow("superscript ends a marker") << QStringLiteral("%2\u00B3 %1") << ab
                                               << QStringLiteral("B\u00B3 A") << 2;
    QTest::newRow("lower-case l is no marker") << QStringLiteral("%l1 %1") << ab << QStringLiteral("%l1 A") << 1;
    QTest::newRow("empty argument") << QStringLiteral("[%1]") << QStringList{QString()} << QStringLiteral("[]") << 1;
    QTest::newRow("surrogates kept") << QStringLiteral("\U0001F600%1\U0001F600") << ab
                                     << QStringLiteral("\U0001F600A\U0001F600") << 1;
}

void Substitution::substitute()
{
    QFETCH(QString, text);
    QFETCH(QStringList, arguments);
    QTEST(substituteArguments(text, arguments), "expected");
    QTEST(distinctMarkerCount(text), "distinct");
}

void Substitution::agreesWithQtArg()
{
    const QtMessageHandler previous = qInstallMessageHandler(quiet);
    QRandomGenerator random(20261207);
    const QString formatAlphabet = QStringLiteral("%%%L0123456789ab \u0B67\u00B3");
    const QString argumentAlphabet = QStringLiteral("xyz L019");
    int compared = 0;
    for (int round = 0; round < 40000; ++round) {
        const QString text = randomText(random, random.bounded(1, 24), formatAlphabet);
        QStringList arguments;
        const int count = random.bounded(1, 10);
        if (outsideCommonMarkerRules(text, count))
            continue;
        for (int i = 0; i < count; ++i)
            arguments.append(randomText(random, random.bounded(0, 4), argumentAlphabet));
        ++compared;
        const QString expected = qtArg(text, arguments);
        const QString actual = substituteArguments(text, arguments);
        if (actual != expected) {
            qInstallMessageHandler(previous);
            QFAIL(qPrintable(QStringLiteral("text \"%1\" arguments \"%2\": Qt gives \"%3\", trmsg \"%4\"")
                                 .arg(text, arguments.join(u'|'), expected, actual)));
        }
    }
    qInstallMessageHandler(previous);
    QVERIFY2(compared > 10000, qPrintable(QString::number(compared)));
}

void Substitution::manyArguments()
{
    // A long message with every marker number, and far more arguments than it uses.
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("<%%1>").arg(i % 100, 2, 10, QLatin1Char('0'));
    QStringList arguments;
    for (int i = 0; i < 10000; ++i)
        arguments.append(QString::number(i) + QStringLiteral("%1"));
    QCOMPARE(distinctMarkerCount(text), 100);
    const QString result = substituteArguments(text, arguments);
    QString expected;
    for (int i = 0; i < 1000; ++i)
        expected += u'<' + QString::number(i % 100) + QStringLiteral("%1>");
    QCOMPARE(result, expected);
}

QTEST_GUILESS_MAIN(Substitution)
#include "tst_substitution.moc"
