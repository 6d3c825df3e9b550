// trmsg against hostile input and a hostile environment: huge operands, bytes
// its locale cannot decode, bogus locales, odd installation directories and
// catalogues, and standard streams that are closed or full. Every run must
// end, exit with status 0 and write nothing but what its command writes.
#include "processrun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using Operands = QList<QByteArray>;
using Environment = QList<QByteArray>;

const QByteArray frenchUtf8 = "fr_FR.UTF-8";

Environment in(const QByteArray &locale) { return localeEnvironment(locale, testInstallation()); }

void verifyEnded(const ProcessResult &result)
{
    QVERIFY2(!result.timedOut, "trmsg did not end");
    QCOMPARE(result.signal, 0);
    QCOMPARE(result.exitStatus, 0);
}

// bytes read by the named Qt codec and written back: what the locale's codec
// makes of bytes it cannot decode.
QByteArray throughCodec(const char *codec, const QByteArray &bytes)
{
    const QTextCodec *c = QTextCodec::codecForName(codec);
    return c->fromUnicode(c->toUnicode(bytes));
}


QByteArray markers(int count)
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += '%' + QByteArray::number(i) + ' ';
    return text;
}

} // namespace

class Hardening : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostileInput_data();
    void hostileInput();
    void bogusLocale_data();
    void bogusLocale();
    void oddCatalogueFiles_data();
    void oddCatalogueFiles();
    void catalogueRewrittenInPlace();
    void standardStreams_data();
    void standardStreams();
};

void Hardening::hostileInput_data()
{
    QTest::addColumn<Environment>("environment");
    QTest::addColumn<Operands>("operands");
    QTest::addColumn<QByteArray>("out");

    const QByteArray big(100 * 1024, 'x');
    QTest::newRow("100 KiB message") << in(frenchUtf8) << Operands{"app", "Main", big + "%1", "", "!"} << big + '!';
    QTest::newRow("100 KiB argument") << in(frenchUtf8) << Operands{"app", "Main", "Copy %1 to %2", "", big, "y"}
                                      << "Copie de " + big + " vers y";
    QTest::newRow("100 KiB context") << in(frenchUtf8) << Operands{"app", big, "Hello"} << QByteArray("Hello");
    QTest::newRow("100 KiB prefix") << in(frenchUtf8) << Operands{big, "Main", "Hello"} << QByteArray("Hello");
    QTest::newRow("100 KiB comment") << in(frenchUtf8) << Operands{"app", "Main", "Hello", big} << QByteArray("Bonjour");
    QTest::newRow("100 KiB --utf8") << in("C") << Operands{"--utf8", big} << big + '\n' + big + '\n';
    QTest::newRow("100 KiB range") << in("C") << Operands{"1.." + big} << QByteArray("Mib:106\tmimeName:\"UTF-8\"\tlocale:\"C\"\n");

    // Markers take two digits at most: %100 is %10 followed by 0.
    Operands many{"app", "Main", markers(120), ""};
    for (int i = 1; i <= 10000; ++i)
        many.append('[' + QByteArray::number(i) + ']');
    QByteArray filled;
    for (int i = 1; i <= 120; ++i)
        filled += '[' + QByteArray::number(i).left(2) + ']' + QByteArray::number(i).mid(2) + ' ';
    QTest::newRow("10,000 arguments") << in(frenchUtf8) << many << filled;

    // Bytes the locale's encoding cannot decode: converted as its codec converts them.
    const QByteArray badUtf8 = "a\xff\xc3(\xed\xa0\x80z";
    QTest::newRow("invalid UTF-8 message") << in(frenchUtf8) << Operands{"app", "Main", badUtf8}
                                           << throughCodec("UTF-8", badUtf8);
    QTest::newRow("invalid UTF-8 argument") << in(frenchUtf8) << Operands{"app", "Main", "<%1>", "", badUtf8}
                                            << "<" + throughCodec("UTF-8", badUtf8) + ">";
    QTest::newRow("invalid UTF-8 --utf8") << in(frenchUtf8) << Operands{"--utf8", "\xff"}
                                          << QByteArray("\xff\n\\xef\\xbf\\xbd\n");
    // An incomplete sequence at the end becomes a replacement character too.
    const QByteArray badEucJp = "\xa4\xa2\xa4\x8e\xff\x8f\xa1";
    QTest::newRow("invalid EUC-JP message") << in("ja_JP.EUC-JP") << Operands{"app", "Main", badEucJp}
                                            << QByteArray("\xa4\xa2????");
    QTest::newRow("invalid EUC-JP argument") << in("ja_JP.EUC-JP")
                                             << Operands{"app", "Main", "Copy %1 to %2", "", badEucJp, "/"}
                                             << QByteArray("\xa4\xa2???? \xa4\xf2 / \xa4\xcb\xa5\xb3\xa5\xd4\xa1\xbc");
    QTest::newRow("incomplete EUC-JP --utf8") << in("ja_JP.EUC-JP") << Operands{"--utf8", "a\xa4"}
                                              << QByteArray("a\xa4\n\\x61\\xef\\xbf\\xbd\n");
    const QByteArray badGb18030 = "\x81\x30\x81\xff\x81";
    const QByteArray gbReplacement = "\x84\x31\xa4\x37"; // U+FFFD, which GB18030 can encode
    QTest::newRow("invalid GB18030 message") << in("zh_CN.GB18030") << Operands{"app", "Main", badGb18030}
                                             << gbReplacement + '0' + gbReplacement + gbReplacement;
    QTest::newRow("invalid GB18030 --utf8") << in("zh_CN.GB18030") << Operands{"--utf8", badGb18030}
                                            << badGb18030 + "\n\\xef\\xbf\\xbd\\x30\\xef\\xbf\\xbd\\xef\\xbf\\xbd\n";

    // Installation directories that lead nowhere.
    const QByteArray longPath = "/" + QByteArray(3999, 'z');
    QTest::newRow("ZEZAVAVEV of 4,000 bytes") << localeEnvironment(frenchUtf8, longPath)
                                              << Operands{"app", "Main", "Hello"} << QByteArray("Hello");
    QTest::newRow("ZEZAVAVEV not UTF-8") << localeEnvironment("fr_FR.ISO-8859-1", "/tmp/\xe9\xff")
                                         << Operands{"app", "Main", "Hello"} << QByteArray("Hello");
    QTest::newRow("ZEZAVAVEV a device") << localeEnvironment(frenchUtf8, "/dev/null")
                                        << Operands{"app", "Main", "Hello"} << QByteArray("Hello");
}

void Hardening::hostileInput()
{
    QFETCH(Environment, environment);
    QFETCH(Operands, operands);
    const ProcessResult result = runTrmsg(operands, environment);
    verifyEnded(result);
    QTEST(result.out, "out");
    QCOMPARE(result.err, QByteArray());
}

void Hardening::bogusLocale_data()
{
    QTest::addColumn<Environment>("environment");
    QTest::addColumn<QByteArray>("report");

    const Environment base{"ZEZAVAVEV=" + testInstallation(), "LOCPATH=" + compiledLocales()};
    const QByteArray cReport = "Mib:106\tmimeName:\"UTF-8\"\tlocale:\"C\"\n";
    QTest::newRow("unknown locale") << base + Environment{"LANG=xx_YY.BOGUS"} << cReport;
    QTest::newRow("malformed") << base + Environment{"LANG=@@@"} << cReport;
    QTest::newRow("not ASCII") << base + Environment{"LANG=fr\xe9\xff"} << cReport;
    QTest::newRow("4,000 bytes") << base + Environment{"LANG=" + QByteArray(4000, 'a')} << cReport;
    QTest::newRow("path in the name") << base + Environment{"LANG=fr_FR.ISO-8859-1/../x"}
                                      << QByteArray("Mib:106\tmimeName:\"UTF-8\"\tlocale:\"fr_FR\"\n");
    QTest::newRow("bogus LC_ALL beats LANG") << base + Environment{"LC_ALL=bogus", "LANG=ru_RU.KOI8-R"} << cReport;
    QTest::newRow("LC_ALL beats LANG") << base + Environment{"LC_ALL=fr_FR.ISO-8859-1", "LANG=ru_RU.KOI8-R"}
                                       << QByteArray("Mib:4\tmimeName:\"ISO-8859-1\"\tlocale:\"fr_FR\"\n");
    QTest::newRow("LANG empty") << base + Environment{"LANG="} << cReport;
}

void Hardening::bogusLocale()
{
    QFETCH(Environment, environment);
    const ProcessResult report = runTrmsg({}, environment);
    verifyEnded(report);
    QTEST(report.out, "report");
    QCOMPARE(report.err, QByteArray());
    const ProcessResult request = runTrmsg({"app", "Main", "Goodbye %1", "", "!"}, environment);
    verifyEnded(request);
    QCOMPARE(request.out, QByteArray("Goodbye !"));
    QCOMPARE(request.err, QByteArray());
}

void Hardening::oddCatalogueFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("fifo") << QStringLiteral("fifo");
    QTest::newRow("dangling link") << QStringLiteral("dangling");
    QTest::newRow("link to a device") << QStringLiteral("device");
    QTest::newRow("link to a directory") << QStringLiteral("directory");
    QTest::newRow("link to a file reading shorter than its size") << QStringLiteral("short");
    QTest::newRow("unreadable") << QStringLiteral("unreadable");
}

void Hardening::oddCatalogueFiles()
{
    QFETCH(QString, kind);
    QTemporaryDir installation;
    const QString locale = installation.path() + QStringLiteral("/lib/locale");
    QVERIFY(QDir().mkpath(locale));
    const QByteArray catalogue = QFile::encodeName(locale + QStringLiteral("/app_fr.qm"));
    QByteArray expected = "Hello";
    if (kind == QLatin1String("fifo")) {
        QVERIFY(mkfifo(catalogue.constData(), 0644) == 0); // opening it would block
    } else if (kind == QLatin1String("dangling")) {
        QVERIFY(symlink("/nonexistent/app_fr.qm", catalogue.constData()) == 0);
    } else if (kind == QLatin1String("device")) {
        QVERIFY(symlink("/dev/zero", catalogue.constData()) == 0);
    } else if (kind == QLatin1String("directory")) {
        QVERIFY(symlink("/", catalogue.constData()) == 0);
    } else if (kind == QLatin1String("short")) {
        // A sysfs attribute: a regular file of a page's size that reads a
        // few bytes, as a file truncated after its size was taken does.
        const char *attribute = "/sys/devices/system/cpu/online";
        struct stat status;
        if (::stat(attribute, &status) != 0 || status.st_size <= 16)
            QSKIP("no sysfs attribute reporting a page's size");
        QVERIFY(symlink(attribute, catalogue.constData()) == 0);
    } else {
        QVERIFY(QFile::copy(QFile::decodeName(testInstallation()) + QStringLiteral("/lib/locale/app_fr.qm"),
                            QFile::decodeName(catalogue)));
        QVERIFY(chmod(catalogue.constData(), 0) == 0);
    }
    QVERIFY(chmod(QFile::encodeName(installation.path()).constData(), 0755) == 0);
    const ProcessResult result = runTrmsgUnprivileged(
        {"app", "Main", "Hello"}, localeEnvironment(frenchUtf8, QFile::encodeName(installation.path())));
    verifyEnded(result);
    QCOMPARE(result.out, expected);
    QCOMPARE(result.err, QByteArray());
}

void Hardening::catalogueRewrittenInPlace()
{
    // Another process copies over the catalogue in place (cp truncates, then
    // writes) while trmsg reads it: trmsg must never die of it (a mapped file
    // that shrinks kills its reader with SIGBUS), only print the translation
    // or, when it read a damaged copy, the source message.
    QTemporaryDir installation;
    const QString locale = installation.path() + QStringLiteral("/lib/locale");
    QVERIFY(QDir().mkpath(locale));
    QFile real(QFile::decodeName(testInstallation()) + QStringLiteral("/lib/locale/app_fr.qm"));
    QVERIFY(real.open(QIODevice::ReadOnly));
    const QByteArray contents = real.readAll();
    const QByteArray path = QFile::encodeName(locale + QStringLiteral("/app_fr.qm"));
    std::atomic<bool> stop{false};
    std::thread rewriter([&] {
        while (!stop) {
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            for (qsizetype done = 0; fd >= 0 && done < contents.size(); done += 64)
                (void)!::write(fd, contents.constData() + done, size_t(qMin<qsizetype>(64, contents.size() - done)));
            ::close(fd);
        }
    });
    const QList<QByteArray> environment = localeEnvironment(frenchUtf8, QFile::encodeName(installation.path()));
    int translated = 0;
    for (int run = 0; run < 300 && !QTest::currentTestFailed(); ++run) {
        const ProcessResult result = runTrmsg({"app", "Main", "Hello"}, environment);
        verifyEnded(result);
        QVERIFY2(result.out == "Bonjour" || result.out == "Hello", result.out.constData());
        translated += result.out == "Bonjour" ? 1 : 0;
    }
    stop = true;
    rewriter.join();
    qInfo("%d of 300 runs read a whole catalogue", translated);
}

void Hardening::standardStreams_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<Operands>("operands");

    const QList<Operands> commands{
        {}, {"--mimename"}, {"0..10ffff"}, {"--utf8", "x"}, {"app", "Main", "Copy %1 to %2", "", "a", "b"}};
    for (const Operands &operands : commands) {
        const QByteArray name = operands.isEmpty() ? QByteArray("report") : operands.first();
        QTest::addRow("stdout closed, %s", name.constData()) << int(StreamSetup::StdoutClosed) << operands;
        QTest::addRow("stdout full, %s", name.constData()) << int(StreamSetup::StdoutFull) << operands;
        QTest::addRow("stdout reader gone, %s", name.constData()) << int(StreamSetup::StdoutBrokenPipe) << operands;
    }
    QTest::newRow("stderr closed, usage") << int(StreamSetup::StderrClosed) << Operands{"--help"};
    QTest::newRow("stderr closed, request") << int(StreamSetup::StderrClosed) << Operands{"app", "Main", "Hello"};
    QTest::newRow("stderr reader gone, usage") << int(StreamSetup::StderrBrokenPipe) << Operands{"--help"};
    QTest::newRow("stderr reader gone, fatal error") << int(StreamSetup::StderrBrokenPipe) << Operands{"unset"};
}

void Hardening::standardStreams()
{
    QFETCH(int, setup);
    QFETCH(Operands, operands);
    // "unset" stands for a run without ZEZAVAVEV, which writes the fatal line.
    const bool unset = operands == Operands{"unset"};
    const ProcessResult result =
        runTrmsg(unset ? Operands{} : operands, unset ? Environment{} : in(frenchUtf8), StreamSetup(setup));
    verifyEnded(result);
    // Whichever stream is still the test's pipe gets nothing more than usual.
    if (StreamSetup(setup) == StreamSetup::StderrClosed || StreamSetup(setup) == StreamSetup::StderrBrokenPipe)
        QCOMPARE(result.out, operands.size() > 1 ? QByteArray("Bonjour") : QByteArray());
    else
        QCOMPARE(result.err, QByteArray());
}

QTEST_GUILESS_MAIN(Hardening)
#include "tst_hardening.moc"
