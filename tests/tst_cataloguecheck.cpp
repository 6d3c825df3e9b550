// Damaged catalogues: the structural check, and trmsg run against them.
#include "processrun.h"
#include "translation/qmcheck.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

enum : quint8 { contextsTag = 0x2f, hashesTag = 0x42, messagesTag = 0x69, dependenciesTag = 0x96 };
constexpr int magicSize = 16;

struct QmSection
{
    quint8 tag;
    QByteArray payload;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray realCatalogue()
{
    return readFile(QFile::decodeName(testInstallation()) + QStringLiteral("/lib/locale/app_fr.qm"));
}

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QList<QmSection> sectionsOf(const QByteArray &qm)
{
    QList<QmSection> sections;
    for (qsizetype pos = magicSize; pos + 5 <= qm.size();) {
        const quint32 size = qFromBigEndian<quint32>(qm.constData() + pos + 1);
        sections.append({quint8(qm[pos]), qm.mid(pos + 5, size)});
        pos += 5 + size;
    }
    return sections;
}

QByteArray assemble(const QByteArray &magic, const QList<QmSection> &sections)
{
    QByteArray qm = magic;
    for (const QmSection &section : sections)
        qm += char(section.tag) + bigEndian32(quint32(section.payload.size())) + section.payload;
    return qm;
}

// The real catalogue with edit applied to the payload of the section tagged tag.
template <typename Edit>
QByteArray edited(quint8 tag, Edit edit)
{
    const QByteArray real = realCatalogue();
    QList<QmSection> sections = sectionsOf(real);
    for (QmSection &section : sections) {
        if (section.tag == tag)
            edit(section.payload);
    }
    return assemble(real.left(magicSize), sections);
}

// The real catalogue with one more section in front of the others.
QByteArray withSection(quint8 tag, const QByteArray &payload)
{
    const QByteArray real = realCatalogue();
    return assemble(real.left(magicSize), QList<QmSection>{{tag, payload}} + sectionsOf(real));
}

// A serialized list of QStrings, as a dependencies section holds it.
QByteArray dependencyList(const QString &name)
{
    QByteArray utf16(name.size() * 2, '\0');
    qToBigEndian<quint16>(name.utf16(), name.size(), utf16.data());
    return bigEndian32(quint32(utf16.size())) + utf16;
}

// A context table of one bucket holding the chain pool bytes.
QByteArray oneBucketContexts(quint16 offset, const QByteArray &pool)
{
    QByteArray table(4, '\0');
    qToBigEndian<quint16>(1, table.data());
    qToBigEndian<quint16>(offset, table.data() + 2);
    return table + pool;
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

// The cut points in the middle of the magic and of every section.
QList<qsizetype> cutsInsideSections(const QByteArray &qm)
{
    QList<qsizetype> cuts{0, 8};
    qsizetype pos = magicSize;
    for (const QmSection &section : sectionsOf(qm)) {
        cuts.append(pos + 5 + section.payload.size() / 2);
        pos += 5 + section.payload.size();
    }
    return cuts;
}

} // namespace

class CatalogueCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void realCataloguesAreSound();
    void check_data();
    void check();
    void truncatedCataloguesAreRefused();
    void damagedCatalogueOnDisk_data();
    void damagedCatalogueOnDisk();
    void installationLayouts_data();
    void installationLayouts();
    void oddInstallationDirectory();

private:
    void addDamaged();
};

void CatalogueCheck::initTestCase()
{
    QVERIFY2(realCatalogue().size() > magicSize, "the test catalogue app_fr.qm was not built");
    QVERIFY(sectionsOf(realCatalogue()).size() >= 2);
}

void CatalogueCheck::realCataloguesAreSound()
{
    const QDir directory(QFile::decodeName(testInstallation()) + QStringLiteral("/lib/locale"));
    const QStringList names = directory.entryList({QStringLiteral("*.qm")});
    QVERIFY(names.size() >= 5);
    for (const QString &name : names)
        QVERIFY2(isSoundCatalogue(readFile(directory.filePath(name))), qPrintable(name));
}

void CatalogueCheck::addDamaged()
{
    QTest::addColumn<QByteArray>("catalogue");
    QTest::addColumn<bool>("sound");

    const QByteArray real = realCatalogue();
    QTest::newRow("real") << real << true;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("random bytes") << randomBytes(300, 1) << false;
    QTest::newRow("magic then random bytes") << real.left(magicSize) + randomBytes(300, 2) << false;
    QTest::newRow("empty context table") << withSection(contextsTag, QByteArray(2, '\0')) << false;
    QTest::newRow("context table of one byte") << withSection(contextsTag, QByteArray(1, '\1')) << false;
    QTest::newRow("context buckets past section") << withSection(contextsTag, QByteArray("\x10\x00", 2)) << false;
    QTest::newRow("context chain past section")
        << withSection(contextsTag, oneBucketContexts(100, QByteArray("\0\0\4Main\0", 8))) << false;
    QTest::newRow("context chain unterminated")
        << withSection(contextsTag, oneBucketContexts(1, QByteArray("\0\0\5Main", 7))) << false;
    QTest::newRow("sound context table")
        << withSection(contextsTag, oneBucketContexts(1, QByteArray("\0\0\4Main\0", 8))) << true;
    QTest::newRow("message length past section")
        << edited(messagesTag, [](QByteArray &m) { m.replace(1, 4, bigEndian32(0x7ffffff0)); }) << false;
    QTest::newRow("message length one past section")
        << edited(messagesTag, [](QByteArray &m) { m.replace(1, 4, bigEndian32(quint32(m.size()) - 4)); }) << false;
    QTest::newRow("message length cut short")
        << edited(messagesTag, [](QByteArray &m) { m.chop(m.size() - 3); }) << false;
    QTest::newRow("hash offset past messages")
        << edited(hashesTag, [](QByteArray &h) { h.replace(4, 4, bigEndian32(0x10000)); }) << false;
    QTest::newRow("hash table not whole entries")
        << edited(hashesTag, [](QByteArray &h) { h.append("\0\0\0\0", 4); }) << false;
    QTest::newRow("section past end of file") << real.left(magicSize) + QByteArray("\x42\x00\x01\x00\x00", 5)
                                                     + QByteArray(64, '\0')
                                              << false;
    QTest::newRow("dependency section") << withSection(dependenciesTag, dependencyList(QStringLiteral("app_de")))
                                        << true;
}

void CatalogueCheck::check_data()
{
    addDamaged();
    // QTranslator stops reading a record at a tag it does not know.
    QTest::newRow("unknown tag in record ends it")
        << edited(messagesTag, [](QByteArray &m) { m[0] = char(0x55); }) << true;
}

void CatalogueCheck::check()
{
    QFETCH(QByteArray, catalogue);
    QTEST(isSoundCatalogue(catalogue), "sound");
}

void CatalogueCheck::truncatedCataloguesAreRefused()
{
    const QByteArray real = realCatalogue();
    for (qsizetype cut : cutsInsideSections(real))
        QVERIFY2(!isSoundCatalogue(real.left(cut)), qPrintable(QStringLiteral("cut at %1").arg(cut)));
}

void CatalogueCheck::damagedCatalogueOnDisk_data()
{
    addDamaged();
    const QByteArray real = realCatalogue();
    for (qsizetype cut : cutsInsideSections(real))
        QTest::addRow("truncated at %d", int(cut)) << real.left(cut) << false;
    // Too short for a section header: an empty catalogue, which QTranslator
    // loads and which translates nothing.
    QTest::newRow("truncated in first header") << real.left(magicSize + 3) << false;
    QTest::newRow("depends on itself") << withSection(dependenciesTag, dependencyList(QStringLiteral("app_fr")))
                                       << false;
}

void CatalogueCheck::damagedCatalogueOnDisk()
{
    QFETCH(QByteArray, catalogue);
    QFETCH(bool, sound);
    QTemporaryDir installation;
    QVERIFY(QDir(installation.path()).mkpath(QStringLiteral("lib/locale")));
    const QString locale = installation.path() + QStringLiteral("/lib/locale/");
    QFile file(locale + QStringLiteral("app_fr.qm"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(catalogue);
    file.close();
    QVERIFY(QFile::copy(QFile::decodeName(testInstallation()) + QStringLiteral("/lib/locale/app_de.qm"),
                        locale + QStringLiteral("app_de.qm")));

    const ProcessResult result = runTrmsg({"app", "Main", "Hello"},
                                          localeEnvironment("fr_FR.UTF-8", QFile::encodeName(installation.path())));
    QVERIFY(!result.timedOut);
    QCOMPARE(result.signal, 0);
    QCOMPARE(result.exitStatus, 0);
    QCOMPARE(result.out, sound ? QByteArray("Bonjour") : QByteArray("Hello"));
    QCOMPARE(result.err, QByteArray());
}

void CatalogueCheck::installationLayouts_data()
{
    QTest::addColumn<QString>("directoryNamed"); // made as a directory under lib/locale
    QTest::addColumn<bool>("realFrench");        // app_fr.qm present
    QTest::addColumn<QByteArray>("out");

    QTest::newRow("directory for the catalogue") << QStringLiteral("app_fr.qm") << false << QByteArray("Hello");
    QTest::newRow("directory for the exact name") << QStringLiteral("app_fr_FR.qm") << true << QByteArray("Bonjour");
    QTest::newRow("directory for the bare name") << QStringLiteral("app_fr_FR") << true << QByteArray("Bonjour");
}

void CatalogueCheck::installationLayouts()
{
    QFETCH(QString, directoryNamed);
    QFETCH(bool, realFrench);
    QTemporaryDir installation;
    const QString locale = installation.path() + QStringLiteral("/lib/locale/");
    QVERIFY(QDir().mkpath(locale + directoryNamed));
    if (realFrench)
        QVERIFY(QFile::copy(QFile::decodeName(testInstallation()) + QStringLiteral("/lib/locale/app_fr.qm"),
                            locale + QStringLiteral("app_fr.qm")));
    const ProcessResult result = runTrmsg({"app", "Main", "Hello"},
                                          localeEnvironment("fr_FR.UTF-8", QFile::encodeName(installation.path())));
    QCOMPARE(result.exitStatus, 0);
    QTEST(result.out, "out");
}

void CatalogueCheck::oddInstallationDirectory()
{
    // ZEZAVAVEV naming a regular file, or nothing at all.
    const QByteArray catalogueFile = testInstallation() + "/lib/locale/app_fr.qm";
    for (const QByteArray &path : {catalogueFile, testInstallation() + "/missing"}) {
        const ProcessResult odd = runTrmsg({"app", "Main", "Hello"}, localeEnvironment("fr_FR.UTF-8", path));
        QCOMPARE(odd.exitStatus, 0);
        QCOMPARE(odd.out, QByteArray("Hello"));
        QCOMPARE(odd.err, QByteArray());
    }
}

QTEST_GUILESS_MAIN(CatalogueCheck)
#include "tst_cataloguecheck.moc"
