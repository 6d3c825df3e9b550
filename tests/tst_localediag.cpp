// The locale diagnostics: report, MIME name, code-point listing and UTF-8
// escaping, in real locales compiled into the build tree.
#include "iconvtext.h"
#include "localediag/localediag.h"
#include "processrun.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

#include <cstdio>

namespace {

using Operands = QList<QByteArray>;

const QByteArray cReport = "Mib:106\tmimeName:\"UTF-8\"\tlocale:\"C\"\n";

ProcessResult runIn(const QByteArray &locale, const Operands &operands)
{
    return runTrmsg(operands, localeEnvironment(locale, testInstallation()));
}

void verifyClean(const ProcessResult &result)
{
    QVERIFY(!result.timedOut);
    QCOMPARE(result.signal, 0);
    QCOMPARE(result.exitStatus, 0);
    QCOMPARE(result.err, QByteArray());
}

// What writeLocaleReport writes, caught in a temporary file.
QByteArray reportFor(const QTextCodec *codec, const QString &localeName, const char *lang)
{
    std::FILE *file = std::tmpfile();
    writeLocaleReport(file, codec, localeName, lang);
    QByteArray written(256, '\0');
    std::rewind(file);
    written.truncate(qsizetype(std::fread(written.data(), 1, size_t(written.size()), file)));
    std::fclose(file);
    return written;
}

// The listing's lines for first..last as the C library's iconv encodes each
// character; positions iconv cannot encode are left out of both sides.
QByteArray iconvListing(const char *charset, char32_t first, char32_t last, QList<QByteArray> *skipped)
{
    QByteArray lines;
    for (char32_t position = first; position <= last; ++position) {
        const QByteArray utf8 = QString::fromUcs4(&position, 1).toUtf8();
        bool ok = false;
        const QByteArray bytes = iconvFromUtf8(utf8, charset, &ok);
        const QByteArray number = QByteArray::number(uint(position), 16);
        if (ok)
            lines += number + ':' + bytes + '\n';
        else
            skipped->append(number + ':');
    }
    return lines;
}

QByteArray withoutLinesStarting(const QByteArray &listing, const QList<QByteArray> &prefixes)
{
    QByteArray kept;
    for (const QByteArray &line : listing.split('\n')) {
        if (line.isEmpty())
            continue;
        bool skip = false;
        for (const QByteArray &prefix : prefixes)
            skip = skip || line.startsWith(prefix);
        if (!skip)
            kept += line + '\n';
    }
    return kept;
}

} // namespace

class LocaleDiagnostics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void report_data();
    void report();
    void reportRows_data();
    void reportRows();
    void rangeParsing_data();
    void rangeParsing();
    void listing_data();
    void listing();
    void listingIntoFile();
    void listingAgreesWithIconv_data();
    void listingAgreesWithIconv();
    void escaping_data();
    void escaping();
    void escapingStopsAtNul();
};

void LocaleDiagnostics::report_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QByteArray>("mimeName");

    QTest::newRow("C") << QByteArray("C") << cReport << QByteArray("UTF-8");
    QTest::newRow("fr_FR.UTF-8") << QByteArray("fr_FR.UTF-8")
                                 << QByteArray("Mib:106\tmimeName:\"UTF-8\"\tlocale:\"fr_FR\"\n") << QByteArray("UTF-8");
    QTest::newRow("fr_FR.ISO-8859-1") << QByteArray("fr_FR.ISO-8859-1")
                                      << QByteArray("Mib:4\tmimeName:\"ISO-8859-1\"\tlocale:\"fr_FR\"\n")
                                      << QByteArray("ISO-8859-1");
    QTest::newRow("de_DE.ISO-8859-15@euro") << QByteArray("de_DE.ISO-8859-15@euro")
                                            << QByteArray("Mib:111\tmimeName:\"ISO-8859-15\"\tlocale:\"de_DE\"\n")
                                            << QByteArray("ISO-8859-15");
    QTest::newRow("ru_RU.KOI8-R") << QByteArray("ru_RU.KOI8-R")
                                  << QByteArray("Mib:2084\tmimeName:\"KOI8-R\"\tlocale:\"ru_RU\"\n")
                                  << QByteArray("KOI8-R");
    QTest::newRow("ja_JP.EUC-JP") << QByteArray("ja_JP.EUC-JP")
                                  << QByteArray("Mib:18\tmimeName:\"EUC-JP\"\tlocale:\"ja_JP\"\n")
                                  << QByteArray("EUC-JP");
    QTest::newRow("zh_CN.GB18030") << QByteArray("zh_CN.GB18030")
                                   << QByteArray("Mib:114\tmimeName:\"GB18030\"\tlocale:\"zh_CN\"\n")
                                   << QByteArray("GB18030");
    QTest::newRow("hy_AM.ARMSCII-8: no codec") << QByteArray("hy_AM.ARMSCII-8")
                                               << QByteArray("locale (no codecForLocale):\"hy_AM\"\n")
                                               << QByteArray("<no codec for locale>");
}

void LocaleDiagnostics::report()
{
    QFETCH(QByteArray, locale);
    const ProcessResult report = runIn(locale, {});
    verifyClean(report);
    QTEST(report.out, "report");
    const ProcessResult mimeName = runIn(locale, {"--mimename"});
    verifyClean(mimeName);
    QTEST(mimeName.out, "mimeName");
}

void LocaleDiagnostics::reportRows_data()
{
    QTest::addColumn<QByteArray>("codecName"); // empty: no codec
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QByteArray>("lang");      // "unset" for an unset LANG
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("codec and name") << QByteArray("KOI8-R") << QStringLiteral("ru_RU") << QByteArray("x")
                                    << QByteArray("Mib:2084\tmimeName:\"KOI8-R\"\tlocale:\"ru_RU\"\n");
    QTest::newRow("codec, null name") << QByteArray("ISO-8859-1") << QString() << QByteArray("x")
                                      << QByteArray("Mib:4\tmimeName:\"ISO-8859-1\"\tlocale:\"<null>\"\n");
    QTest::newRow("codec, empty name") << QByteArray("UTF-8") << QStringLiteral("") << QByteArray("x")
                                       << QByteArray("Mib:106\tmimeName:\"UTF-8\"\tlocale:\"<null>\"\n");
    QTest::newRow("no codec, name") << QByteArray() << QStringLiteral("hy_AM") << QByteArray("x")
                                    << QByteArray("locale (no codecForLocale):\"hy_AM\"\n");
    QTest::newRow("no codec, no name, LANG") << QByteArray() << QString() << QByteArray("hy_AM.ARMSCII-8")
                                             << QByteArray("$LANG (unknown locale encoding):\"hy_AM.ARMSCII-8\"\n");
    QTest::newRow("no codec, no name, empty LANG") << QByteArray() << QString() << QByteArray("")
                                                   << QByteArray("$LANG (unknown locale encoding):\"\"\n");
    QTest::newRow("no codec, no name, LANG unset") << QByteArray() << QString() << QByteArray("unset")
                                                   << QByteArray("$LANG (unknown locale encoding):\"<not set>\"\n");
}

void LocaleDiagnostics::reportRows()
{
    QFETCH(QByteArray, codecName);
    QFETCH(QString, localeName);
    QFETCH(QByteArray, lang);
    const QTextCodec *codec = codecName.isEmpty() ? nullptr : QTextCodec::codecForName(codecName);
    QVERIFY(codecName.isEmpty() || codec);
    QTEST(reportFor(codec, localeName, lang == "unset" ? nullptr : lang.constData()), "line");
}

void LocaleDiagnostics::rangeParsing_data()
{
    QTest::addColumn<QByteArray>("operand");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<qint32>("minimum");
    QTest::addColumn<qint32>("maximum");

    QTest::newRow("plain") << QByteArray("41..43") << true << 0x41 << 0x43;
    QTest::newRow("0x prefixes") << QByteArray("0x41..0X4a") << true << 0x41 << 0x4a;
    QTest::newRow("upper case") << QByteArray("FF..1AB") << true << 0xff << 0x1ab;
    QTest::newRow("signs") << QByteArray("-2..+1") << true << -2 << 1;
    QTest::newRow("white space before numbers") << QByteArray(" \t41.. 42") << true << 0x41 << 0x42;
    for (const char space : {'\t', '\n', '\v', '\f', '\r'}) {
        QTest::addRow("white space %d before the first", space) << space + QByteArray("41..42") << true << 0x41 << 0x42;
        QTest::addRow("white space %d before the second", space) << "41.." + (space + QByteArray("42")) << true << 0x41
                                                                 << 0x42;
    }
    QTest::newRow("trailing text ignored") << QByteArray("41..42zz") << true << 0x41 << 0x42;
    QTest::newRow("leading zeros") << QByteArray("0000000041..00000000042") << true << 0x41 << 0x42;
    QTest::newRow("32 bits as unsigned") << QByteArray("fffffffe..7fffffff") << true << -2 << 0x7fffffff;
    QTest::newRow("negated large") << QByteArray("-80000000..-ffffffff") << true << qint32(0x80000000u) << 1;
    // The C library reads a 0x with no digit after it as 0.
    QTest::newRow("0x with no digit") << QByteArray("0x..41") << true << 0 << 0x41;
    QTest::newRow("0x with no digit, second") << QByteArray("0..0x") << true << 0 << 0;
    QTest::newRow("0x then a sign") << QByteArray("0x-1..2") << false << 0 << 0;
    QTest::newRow("one number") << QByteArray("41") << false << 0 << 0;
    QTest::newRow("no second number") << QByteArray("41..") << false << 0 << 0;
    QTest::newRow("three dots") << QByteArray("41...43") << false << 0 << 0;
    QTest::newRow("one dot") << QByteArray("41.43") << false << 0 << 0;
    QTest::newRow("space before dots") << QByteArray("41 ..43") << false << 0 << 0;
    QTest::newRow("not hexadecimal") << QByteArray("zz..41") << false << 0 << 0;
    QTest::newRow("option word") << QByteArray("--utf8") << false << 0 << 0;
    QTest::newRow("empty") << QByteArray("") << false << 0 << 0;
    QTest::newRow("sign alone") << QByteArray("-..1") << false << 0 << 0;
    QTest::newRow("33 bits") << QByteArray("100000000..1") << false << 0 << 0;
    QTest::newRow("33 bits, second") << QByteArray("1..100000000") << false << 0 << 0;
    QTest::newRow("very long") << QByteArray("1..") + QByteArray(5000, 'f') << false << 0 << 0;
}

void LocaleDiagnostics::rangeParsing()
{
    QFETCH(QByteArray, operand);
    qint32 minimum = 0;
    qint32 maximum = 0;
    QTEST(parseCodePointRange(operand.constData(), &minimum, &maximum), "parsed");
    QTEST(minimum, "minimum");
    QTEST(maximum, "maximum");
}

void LocaleDiagnostics::listing_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("operand");
    QTest::addColumn<QByteArray>("lines");

    const QByteArray c = "C";
    QTest::newRow("ASCII") << c << QByteArray("41..43") << QByteArray("41:A\n42:B\n43:C\n");
    QTest::newRow("single") << c << QByteArray("0x41..0x41") << QByteArray("41:A\n");
    QTest::newRow("reversed") << c << QByteArray("43..41") << QByteArray();
    QTest::newRow("unparsable") << c << QByteArray("41") << QByteArray();
    QTest::newRow("too wide") << c << QByteArray("0..100000041") << QByteArray();
    QTest::newRow("around zero") << c << QByteArray("-2..1")
                                 << QByteArray("fffffffe:\xef\xbf\xbe\nffffffff:\xef\xbf\xbf\n0:\n1:\x01\n");
    QTest::newRow("largest position ends") << c << QByteArray("7ffffffe..7fffffff")
                                           << QByteArray("7ffffffe:\xef\xbf\xbe\n7fffffff:\xef\xbf\xbf\n");
    QTest::newRow("smallest positions") << c << QByteArray("-80000000..-7fffffff")
                                        << QByteArray("80000000:\n80000001:\x01\n");
    QTest::newRow("lone surrogates") << c << QByteArray("d7ff..d800") << QByteArray("d7ff:\xed\x9f\xbf\nd800:\xef\xbf\xbd\n");
    QTest::newRow("supplementary character") << c << QByteArray("1f600..1f600") << QByteArray("1f600:\xf0\x9f\x98\x80\n");
    QTest::newRow("first supplementary position") << c << QByteArray("ffff..10000")
                                                  << QByteArray("ffff:\xef\xbf\xbf\n10000:\xf0\x90\x80\x80\n");
    QTest::newRow("last Unicode position") << c << QByteArray("10ffff..110041")
                                           << QByteArray("10ffff:\xf4\x8f\xbf\xbf\n110000:\n110001:\x01\n") + [] {
                                                  QByteArray rest;
                                                  for (int p = 0x110002; p <= 0x110041; ++p)
                                                      rest += QByteArray::number(p, 16) + ':' + char(p & 0xff) + '\n';
                                                  return rest;
                                              }();
    QTest::newRow("latin1") << QByteArray("fr_FR.ISO-8859-1") << QByteArray("e9..e9") << QByteArray("e9:\xe9\n");
    QTest::newRow("latin1 lacks euro") << QByteArray("fr_FR.ISO-8859-1") << QByteArray("20ac..20ac")
                                       << QByteArray("20ac:?\n");
    QTest::newRow("latin9 euro") << QByteArray("de_DE.ISO-8859-15@euro") << QByteArray("20ac..20ac")
                                 << QByteArray("20ac:\xa4\n");
    QTest::newRow("no codec: Latin-1") << QByteArray("hy_AM.ARMSCII-8") << QByteArray("e8..e9")
                                       << QByteArray("e8:\xe8\ne9:\xe9\n");
    QTest::newRow("no codec: beyond Latin-1") << QByteArray("hy_AM.ARMSCII-8") << QByteArray("531..531")
                                              << QByteArray("531:?\n");
}

void LocaleDiagnostics::listing()
{
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, operand);
    QFETCH(QByteArray, lines);
    const ProcessResult result = runIn(locale, {operand});
    verifyClean(result);
    const ProcessResult report = runIn(locale, {});
    QCOMPARE(result.out, report.out + lines);
}

void LocaleDiagnostics::listingIntoFile()
{
    // A file is block-buffered like a pipe: the report must still come first.
    QTemporaryDir dir;
    const QByteArray file = QFile::encodeName(dir.filePath(QStringLiteral("listing")));
    const ProcessResult result =
        runProgram("/bin/sh", {"sh", "-c", "exec \"$0\" 41..42 >\"$1\"", trmsgBinary(), file},
                   localeEnvironment("C", testInstallation()));
    verifyClean(result);
    QFile written(QFile::decodeName(file));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), cReport + "41:A\n42:B\n");
}

void LocaleDiagnostics::listingAgreesWithIconv_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<uint>("first");
    QTest::addColumn<uint>("last");

    QTest::newRow("UTF-8 Latin") << QByteArray("fr_FR.UTF-8") << QByteArray("UTF-8") << 0x20u << 0x24fu;
    QTest::newRow("UTF-8 emoji") << QByteArray("fr_FR.UTF-8") << QByteArray("UTF-8") << 0x1f600u << 0x1f64fu;
    QTest::newRow("ISO-8859-1") << QByteArray("fr_FR.ISO-8859-1") << QByteArray("ISO-8859-1") << 0x20u << 0xffu;
    QTest::newRow("ISO-8859-15") << QByteArray("de_DE.ISO-8859-15@euro") << QByteArray("ISO-8859-15") << 0xa0u
                                 << 0xffu;
    QTest::newRow("KOI8-R") << QByteArray("ru_RU.KOI8-R") << QByteArray("KOI8-R") << 0x401u << 0x451u;
    QTest::newRow("EUC-JP kana") << QByteArray("ja_JP.EUC-JP") << QByteArray("EUC-JP") << 0x3041u << 0x30ffu;
    QTest::newRow("GB18030 ideographs") << QByteArray("zh_CN.GB18030") << QByteArray("GB18030") << 0x4e00u
                                        << 0x4fffu;
    QTest::newRow("GB18030 supplementary") << QByteArray("zh_CN.GB18030") << QByteArray("GB18030") << 0x1f600u
                                           << 0x1f64fu;
}

void LocaleDiagnostics::listingAgreesWithIconv()
{
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, charset);
    QFETCH(uint, first);
    QFETCH(uint, last);
    const ProcessResult result =
        runIn(locale, {QByteArray::number(first, 16) + ".." + QByteArray::number(last, 16)});
    verifyClean(result);
    QList<QByteArray> skipped;
    const QByteArray expected = iconvListing(charset.constData(), first, last, &skipped);
    QVERIFY2(skipped.size() < qsizetype(last - first) / 4, "iconv could not encode most of the range");
    const qsizetype reportEnd = result.out.indexOf('\n') + 1;
    QCOMPARE(result.out.count('\n'), qsizetype(last - first + 2));
    QCOMPARE(withoutLinesStarting(result.out.mid(reportEnd), skipped), expected);
}

void LocaleDiagnostics::escaping_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("operand");
    QTest::addColumn<QByteArray>("escaped");

    const QByteArray c = "C";
    QTest::newRow("hello") << c << QByteArray("Hello, world") << QByteArray("H\\x65llo, worl\\x64");
    QTest::newRow("tab") << c << QByteArray("a\tb") << QByteArray("\\x61\\x9\\x62");
    QTest::newRow("hex digits") << c << QByteArray("09afAF") << QByteArray("\\x30\\x39\\x61\\x66\\x41\\x46");
    QTest::newRow("other letters") << c << QByteArray("ghzGHZ") << QByteArray("ghzGHZ");
    QTest::newRow("backslash and quote") << c << QByteArray("\\\"") << QByteArray("\\\"");
    QTest::newRow("controls") << c << QByteArray("\x01\x1f\x7f") << QByteArray("\\x1\\x1f\\x7f");
    QTest::newRow("last one-digit escape") << c << QByteArray("\x0f\x10") << QByteArray("\\xf\\x10");
    QTest::newRow("empty") << c << QByteArray() << QByteArray();
    QTest::newRow("UTF-8 typed") << QByteArray("fr_FR.UTF-8") << QByteArray("\xc3\xa9") << QByteArray("\\xc3\\xa9");
    QTest::newRow("latin1 typed") << QByteArray("fr_FR.ISO-8859-1") << QByteArray("\xe9") << QByteArray("\\xc3\\xa9");
    QTest::newRow("latin9 euro") << QByteArray("de_DE.ISO-8859-15@euro") << QByteArray("\xa4")
                                 << QByteArray("\\xe2\\x82\\xac");
    QTest::newRow("koi8-r") << QByteArray("ru_RU.KOI8-R") << QByteArray("\xf0") << QByteArray("\\xd0\\x9f");
    QTest::newRow("euc-jp") << QByteArray("ja_JP.EUC-JP") << QByteArray("\xa4\xa2") << QByteArray("\\xe3\\x81\\x82");
    QTest::newRow("gb18030 four bytes") << QByteArray("zh_CN.GB18030") << QByteArray("\x94\x39\xfc\x36")
                                        << QByteArray("\\xf0\\x9f\\x98\\x80");
    QTest::newRow("no codec: Latin-1") << QByteArray("hy_AM.ARMSCII-8") << QByteArray("\xe9")
                                       << QByteArray("\\xc3\\xa9");
}

void LocaleDiagnostics::escaping()
{
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, operand);
    QFETCH(QByteArray, escaped);
    const ProcessResult result = runIn(locale, {"--utf8", operand});
    verifyClean(result);
    QCOMPARE(result.out, operand + '\n' + escaped + '\n');
}

void LocaleDiagnostics::escapingStopsAtNul()
{
    QCOMPARE(escapeForCSource(QByteArray("a\0b", 3)), QByteArray("\\x61"));
    QCOMPARE(escapeForCSource(QByteArray("\xff\x80 ~")), QByteArray("\\xff\\x80 ~"));
}

QTEST_GUILESS_MAIN(LocaleDiagnostics)
#include "tst_localediag.moc"
