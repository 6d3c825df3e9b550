// trmsg as installed by `cmake --install`: the program runs from its new home
// and its manual page renders without warnings.
#include "processrun.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class Install : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void installedProgramRuns();
    void manualPageRenders();

private:
    QTemporaryDir prefix;
};

void Install::initTestCase()
{
    QVERIFY(prefix.isValid());
    const ProcessResult installed = runProgram(
        CMAKE_COMMAND, {"cmake", "--install", TRMSG_BUILD_DIR, "--prefix", QFile::encodeName(prefix.path())},
        {"PATH=/usr/bin:/bin"});
    QVERIFY2(installed.exitStatus == 0, installed.err.constData());
}

void Install::installedProgramRuns()
{
    const QByteArray program = QFile::encodeName(prefix.path()) + "/bin/trmsg";
    QVERIFY(QFileInfo(QFile::decodeName(program)).isExecutable());
    const ProcessResult result = runProgram(program, {"trmsg", "app", "Main", "Copy %1 to %2", "", "a", "b"},
                                            localeEnvironment("fr_FR.UTF-8", testInstallation()));
    QCOMPARE(result.exitStatus, 0);
    QCOMPARE(result.out, QByteArray("Copie de a vers b"));
    QCOMPARE(result.err, QByteArray());
}

void Install::manualPageRenders()
{
    const QString page = prefix.path() + QStringLiteral("/share/man/man1/trmsg.1.gz");
    QVERIFY(QFileInfo::exists(page));
    const QByteArray man = QFile::encodeName(QStandardPaths::findExecutable(QStringLiteral("man")));
    if (man.isEmpty())
        QSKIP("man is not installed");
    const ProcessResult rendered = runProgram(man, {"man", "--warnings", "-l", QFile::encodeName(page)},
                                              {"PATH=/usr/bin:/bin", "MANWIDTH=80", "LANG=C.UTF-8"});
    QCOMPARE(rendered.exitStatus, 0);
    QCOMPARE(rendered.err, QByteArray());
    QVERIFY(rendered.out.contains("ZEZAVAVEV"));
    QVERIFY(rendered.out.contains("EXIT STATUS"));
}

QTEST_GUILESS_MAIN(Install)
#include "tst_install.moc"
