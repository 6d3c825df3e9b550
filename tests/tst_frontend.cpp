// Start-up and the choice of command, seen from outside: the built trmsg run
// as a process with a clean environment.
#include "processrun.h"

#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QByteArray fatalLine = "trmsg Fatal Error: ZEZAVAVEV environment variable not set\n";
const QByteArray cReport = "Mib:106\tmimeName:\"UTF-8\"\tlocale:\"C\"\n";

QList<QByteArray> withInstallation() { return {"ZEZAVAVEV=" + testInstallation()}; }

void verifyEnded(const ProcessResult &result)
{
    QVERIFY2(!result.timedOut, "trmsg did not end");
    QCOMPARE(result.signal, 0);
    QCOMPARE(result.exitStatus, 0);
}

} // namespace

class FrontEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dispatch_data();
    void dispatch();
    void usageShowsProgramPathAsReceived();
    void emptyArgumentVector();
};

void FrontEnd::dispatch_data()
{
    QTest::addColumn<QList<QByteArray>>("operands");
    QTest::addColumn<QList<QByteArray>>("environment");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");

    const QList<QByteArray> unset;
    const QList<QByteArray> set = withInstallation();
    const QList<QByteArray> empty{"ZEZAVAVEV=", "LANG=fr_FR.UTF-8"};

    QTest::newRow("unset, no operands") << QList<QByteArray>{} << unset << QByteArray() << fatalLine;
    QTest::newRow("unset, --help") << QList<QByteArray>{"--help"} << unset << QByteArray() << fatalLine;
    QTest::newRow("unset, request") << QList<QByteArray>{"app", "Main", "Hello"} << unset << QByteArray()
                                    << fatalLine;
    // /lib/locale, not lib/locale in the working directory, which holds the
    // test catalogues.
    QTest::newRow("empty installation directory")
        << QList<QByteArray>{"app", "Main", "Hello"} << empty << QByteArray("Hello") << QByteArray();
    QTest::newRow("no operands: report") << QList<QByteArray>{} << set << cReport << QByteArray();
    QTest::newRow("--help") << QList<QByteArray>{"--help"} << set << QByteArray() << usageText("trmsg");
    QTest::newRow("two operands: usage") << QList<QByteArray>{"app", "Main"} << set << QByteArray()
                                         << usageText("trmsg");
    QTest::newRow("--HELP is a range") << QList<QByteArray>{"--HELP"} << set << cReport << QByteArray();
    QTest::newRow("--utf8 alone is a range") << QList<QByteArray>{"--utf8"} << set << cReport << QByteArray();
    QTest::newRow("range") << QList<QByteArray>{"41..42"} << set << cReport + "41:A\n42:B\n" << QByteArray();
    QTest::newRow("--mimename") << QList<QByteArray>{"--mimename"} << set << QByteArray("UTF-8") << QByteArray();
    QTest::newRow("--utf8 string") << QList<QByteArray>{"--utf8", "ab"} << set << QByteArray("ab\n\\x61\\x62\n")
                                   << QByteArray();
    QTest::newRow("--help as prefix") << QList<QByteArray>{"--help", "Main", "Hello"} << set
                                      << QByteArray("Hello") << QByteArray();
    QTest::newRow("--utf8 as prefix") << QList<QByteArray>{"--utf8", "a", "b"} << set << QByteArray("b")
                                      << QByteArray();
    QTest::newRow("--mimename as prefix") << QList<QByteArray>{"--mimename", "a", "b", "c"} << set
                                          << QByteArray("b") << QByteArray();
    // --count=N: an option only as operand 1 with three or more operands after it.
    for (const char *malformed : {"--count=", "--count=-1", "--count=1e3", "--count=99999999999", "--count= 3",
                                  "--count=2147483648", "--count=+3", "--count=0x10",
                                  "--count=4294967296", "--count=18446744073709551616"})
        QTest::addRow("malformed %s", malformed) << QList<QByteArray>{malformed, "app", "Main", "Hello"} << set
                                                 << QByteArray() << usageText("trmsg");
    QTest::newRow("largest count") << QList<QByteArray>{"--count=2147483647", "app", "Main", "%n"} << set
                                   << QByteArray("2147483647") << QByteArray();
    QTest::newRow("count 0, leading zeros") << QList<QByteArray>{"--count=000", "app", "Main", "%n"} << set
                                            << QByteArray("0") << QByteArray();
    QTest::newRow("--count=3 as prefix") << QList<QByteArray>{"--count=3", "Main", "%n"} << set
                                         << QByteArray("%n") << QByteArray();
    QTest::newRow("malformed count as prefix") << QList<QByteArray>{"--count=x", "Main", "%n"} << set
                                               << QByteArray("%n") << QByteArray();
    QTest::newRow("--count=3 and one more: usage") << QList<QByteArray>{"--count=3", "Main"} << set << QByteArray()
                                                   << usageText("trmsg");
    QTest::newRow("--count=3 as a later operand") << QList<QByteArray>{"app", "--count=3", "%n", "", "x"} << set
                                                  << QByteArray("%n") << QByteArray();
    QTest::newRow("Qt option as prefix") << QList<QByteArray>{"-qmljsdebugger=port:1", "--utf8", "a"} << set
                                         << QByteArray("a") << QByteArray();
    QTest::newRow("Qt option as argument")
        << QList<QByteArray>{"app", "Main", "%1|%2|%3", "", "-qmljsdebugger=x", "y", "z"} << set
        << QByteArray("-qmljsdebugger=x|y|z") << QByteArray();
}

void FrontEnd::dispatch()
{
    QFETCH(QList<QByteArray>, operands);
    QFETCH(QList<QByteArray>, environment);
    QList<QByteArray> arguments{"trmsg"};
    const ProcessResult result =
        runProgram(trmsgBinary(), arguments + operands, environment, StreamSetup::Pipes, testInstallation());
    verifyEnded(result);
    QTEST(result.out, "out");
    QTEST(result.err, "err");
}

void FrontEnd::usageShowsProgramPathAsReceived()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A path in no particular encoding: a Latin-1 byte and a UTF-8 sequence.
    const QByteArray link = QFile::encodeName(dir.path()) + "/tr\xe9msg-\xc3\xa9";
    QVERIFY(symlink(trmsgBinary().constData(), link.constData()) == 0);
    for (const QList<QByteArray> &operands : {QList<QByteArray>{"--help"}, QList<QByteArray>{"a", "b"}}) {
        const ProcessResult result = runProgram(link, QList<QByteArray>{link} + operands, withInstallation());
        verifyEnded(result);
        QCOMPARE(result.out, QByteArray());
        QCOMPARE(result.err, usageText(link));
    }
}

void FrontEnd::emptyArgumentVector()
{
    // execve() with no arguments at all: no program path, no operands.
    const ProcessResult result = runProgram(trmsgBinary(), {}, withInstallation());
    verifyEnded(result);
    QCOMPARE(result.out, cReport);
    QCOMPARE(result.err, QByteArray());
    const ProcessResult unset = runProgram(trmsgBinary(), {}, {});
    verifyEnded(unset);
    QCOMPARE(unset.err, QByteArray(" Fatal Error: ZEZAVAVEV environment variable not set\n"));
}

QTEST_GUILESS_MAIN(FrontEnd)
#include "tst_frontend.moc"
