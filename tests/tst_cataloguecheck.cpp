// Damaged catalogues: the structural check, and trmsg run against them.
#include "iconvtext.h"
#include "processrun.h"
#include "translation/qmcheck.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QtEndian>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

#ifdef TRMSG_LRELEASE // not in the Windows cross-build, which runs no lrelease
// app_fr.qm as lrelease -compress writes it: with a context table.
QByteArray compressedCatalogue()
{
    QTemporaryDir directory;
    const QByteArray qm = QFile::encodeName(directory.filePath(QStringLiteral("app_fr.qm")));
    runProgram(TRMSG_LRELEASE,
               {"lrelease", "-silent", "-compress", QT_TESTCASE_SOURCEDIR "/catalogues/app_fr.ts", "-qm", qm}, {});
    return readFile(QFile::decodeName(qm));
}
#endif

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

// The real catalogue with a field cut short (a lone source-text tag) after
// its last record, and edit(hash table, that field's offset) applied.
template <typename Edit>
QByteArray withCutField(Edit edit)
{
    QList<QmSection> sections = sectionsOf(realCatalogue());
    quint32 cutAt = 0;
    for (QmSection &section : sections) {
        if (section.tag == messagesTag) {
            cutAt = quint32(section.payload.size());
            section.payload.append('\x06');
        }
    }
    for (QmSection &section : sections) {
        if (section.tag == hashesTag)
            edit(section.payload, cutAt);
    }
    return assemble(realCatalogue().left(magicSize), sections);
}

// The real catalogue with one more section in front of the others.
QByteArray withSection(quint8 tag, const QByteArray &payload)
{
    const QByteArray real = realCatalogue();
    return assemble(real.left(magicSize), QList<QmSection>{{tag, payload}} + sectionsOf(real));
}

// The real catalogue between sections in front of and behind its own.
QByteArray withSections(const QList<QmSection> &front, const QList<QmSection> &back)
{
    const QByteArray real = realCatalogue();
    return assemble(real.left(magicSize), front + sectionsOf(real) + back);
}

// A serialized list of QStrings, as a dependencies section holds it.
QByteArray dependencyList(const QStringList &names)
{
    QByteArray list;
    for (const QString &name : names) {
        QByteArray utf16(name.size() * 2, '\0');
        qToBigEndian<quint16>(name.utf16(), name.size(), utf16.data());
        list += bigEndian32(quint32(utf16.size())) + utf16;
    }
    return list;
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

using Keys = QByteArrayList;

// A row of the damaged-catalogue tables, asking keys of the catalogue.
QTestData &row(const char *name, const Keys &keys = {"Main", "Hello"})
{
    return QTest::newRow(name) << keys;
}

// Keys: context, message, comment, and a count for a plural form.
CatalogueLookup lookupOf(const Keys &keys)
{
    return CatalogueLookup{keys.value(0), keys.value(1), keys.value(2), keys.size() > 3 ? keys[3].toInt() : -1};
}

// The language and the translation Qt reads from data for lookup.
QString qtAnswer(const QByteArray &data, const CatalogueLookup &lookup)
{
    QTranslator translator;
    if (!translator.load(reinterpret_cast<const uchar *>(data.constData()), int(data.size())))
        return QStringLiteral("not loaded");
    return translator.language() + u':'
        + translator.translate(lookup.context, lookup.message, lookup.comment, lookup.count);
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
#ifndef TRMSG_CODE_TESTS_ONLY // cross-built for Windows: the check alone, no process
    void damagedCatalogueOnDisk_data();
    void damagedCatalogueOnDisk();
    void installationLayouts_data();
    void installationLayouts();
    void oddInstallationDirectory();
    void legacyInstallationNames_data();
    void legacyInstallationNames();
#endif

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
    // A translated message, one with a comment (asked twice when absent), a
    // plural form, and a context the catalogue lacks.
    const QList<CatalogueLookup> lookups{{"Main", "Hello", {}, -1}, {"Main", "Open", "verb", -1},
                                         {"Main", "Open", "noun", -1}, {"Files", "%n file(s) copied", {}, 22},
                                         {"Nowhere", "Hello", {}, -1}};
    for (const QString &name : names) {
        for (const CatalogueLookup &lookup : lookups)
            QVERIFY2(isSoundCatalogue(readFile(directory.filePath(name)), lookup), qPrintable(name));
    }
}

void CatalogueCheck::addDamaged()
{
    QTest::addColumn<Keys>("keys"); // context, message and comment of the request
    QTest::addColumn<QByteArray>("catalogue");
    QTest::addColumn<bool>("sound"); // Qt answers the request safely

    const QByteArray real = realCatalogue();
    row("real") << real << true;
    row("empty file") << QByteArray() << false;
    row("random bytes") << randomBytes(300, 1) << false;
    row("magic then random bytes") << real.left(magicSize) + randomBytes(300, 2) << false;
    row("empty context table") << withSection(contextsTag, QByteArray(2, '\0')) << false;
    row("context table of one byte") << withSection(contextsTag, QByteArray(1, '\1')) << false;
    row("context buckets past section") << withSection(contextsTag, QByteArray("\x10\x00", 2)) << false;
    row("context chain past section")
        << withSection(contextsTag, oneBucketContexts(100, QByteArray("\0\0\4Main\0", 8))) << false;
    row("context chain unterminated")
        << withSection(contextsTag, oneBucketContexts(1, QByteArray("\0\0\5Main", 7))) << false;
    row("sound context table")
        << withSection(contextsTag, oneBucketContexts(1, QByteArray("\0\0\4Main\0", 8))) << true;
    // The first message record, Hello in context Café, read first by every
    // lookup of Hello: a translation of 10 bytes at 1, an empty comment at 15,
    // the source text at 20, the context at 30, the end tag at 40.
    const auto field = [](int at, quint32 length) {
        return edited(messagesTag, [=](QByteArray &m) { m.replace(at, 4, bigEndian32(length)); });
    };
    row("translation past section, never copied") << field(1, 0x7ffffffe) << true;
    row("translation of negative even length") << field(1, 0x80000000) << false;
    row("null translation ends the record") << field(1, 0xffffffff) << true;
    // Any odd length ends it so, here one reaching just to the end tag: the
    // lookup goes on to Main's Hello, and a check that took Café's
    // bytes for a translation would stop short of it.
    row("translation of odd length ends the record") << field(1, 35) << true;
    row("comment compared past section") << field(16, 0xffffffff) << false;
    row("comment skipped unread") << edited(messagesTag, [](QByteArray &m) {
        m.replace(16, 4, bigEndian32(0xffffffff));
        m[20] = '\0';
    }) << true;
    row("source text ending on the section's last byte")
        << edited(messagesTag, [](QByteArray &m) { m.replace(21, 4, bigEndian32(quint32(m.size()) - 25)); })
        << true;
    row("source text one byte past section")
        << edited(messagesTag, [](QByteArray &m) { m.replace(21, 4, bigEndian32(quint32(m.size()) - 24)); })
        << false;
    row("null context") << field(31, 0xffffffff) << false;
    row("obsolete field one byte past section")
        << edited(messagesTag, [](QByteArray &m) { m.append("\x05\0\0\0", 4); }) << true;
    row("message length cut short")
        << edited(messagesTag, [](QByteArray &m) { m.chop(m.size() - 3); }) << false;
    // A lookup reads nothing at an offset past the messages. Hash entries 1
    // and 2 are Hello's (the records of Café and Main), entry 9 the last.
    const auto firstOffset = [](quint32 offset) {
        return edited(hashesTag, [=](QByteArray &h) { h.replace(12, 4, bigEndian32(offset)); });
    };
    // Hello's first hash entry pointing at the last byte of the messages,
    // after that byte is appended.
    const auto atAppendedLastByte = [](char tag) {
        QList<QmSection> sections = sectionsOf(realCatalogue());
        QByteArray *messages = nullptr;
        for (QmSection &section : sections)
            messages = section.tag == messagesTag ? &section.payload : messages;
        messages->append(tag);
        for (QmSection &section : sections) {
            if (section.tag == hashesTag)
                section.payload.replace(12, 4, bigEndian32(quint32(messages->size() - 1)));
        }
        return assemble(realCatalogue().left(magicSize), sections);
    };
    row("hash offset past messages") << firstOffset(0x10000) << true;
    row("hash entry at the last byte, an end tag") << atAppendedLastByte('\x01') << true;
    row("hash entry at the last byte, a field cut short") << atAppendedLastByte('\x06') << false;
    // The last hash, in a context without it: the lookup reads to the end.
    const Keys lastHash{"Elsewhere", "%1 before %2"};
    row("partial hash entry of four bytes", lastHash)
        << edited(hashesTag, [](QByteArray &h) { h.append("\0\0\0\0", 4); }) << true;
    row("partial hash entry of three bytes", lastHash)
        << edited(hashesTag, [](QByteArray &h) { h.append("\0\0\0", 3); }) << false;
    row("partial hash entry repeating the last hash", lastHash)
        << edited(hashesTag, [](QByteArray &h) { h.append(h.mid(h.size() - 8, 7)); }) << false;
    row("section past end of file") << real.left(magicSize) + QByteArray("\x42\x00\x01\x00\x00", 5)
                                                     + QByteArray(64, '\0')
                                              << false;
    row("dependency section") << withSection(dependenciesTag, dependencyList({QStringLiteral("app_de")}))
                                        << true;
#ifdef TRMSG_LRELEASE
    // The context table lrelease writes: a context in it, one not.
    const QByteArray compressed = compressedCatalogue();
    row("lrelease's context table") << compressed << true;
    row("lrelease's context table, Caf\xc3\xa9", {"Caf\xc3\xa9", "Hello"}) << compressed << true;
    row("lrelease's context table, a context it lacks", {"Other", "Hello"}) << compressed << true;
#endif
    // Sections pages apart, the plural rules last: whatever Qt reads in the
    // pages the check did not read is uninitialised to valgrind.
    const QList<QmSection> padding{{0x33, QByteArray(9000, 'p')}};
    QList<QmSection> rules = padding;
    for (const QmSection &section : sectionsOf(real))
        rules += section.tag == 0x88 ? QList<QmSection>{section} : QList<QmSection>{};
    row("sections pages apart, plural form", {"Main", "Hello", "", "5"}) << withSections(padding, rules) << true;
    row("sections pages apart") << withSections(padding, rules) << true;
    // The last bytes of a file Qt reads correctly.
    row("context chain ending on the file's last byte", {"Other", "Hello"})
        << withSections({}, {{contextsTag, oneBucketContexts(1, QByteArray("\0\0\4Main\0", 8))}}) << true;
    row("five bytes after the last section, too few for a header") << real + QByteArray("\x42\0\0\0\x10", 5)
                                                                    << true;
    row("zero-length section, then a header running past the end")
        << real + QByteArray("\x42\0\0\0\0\x69\0\1\0\0", 10) + QByteArray(8, '\0') << true;
    qsizetype messagesSize = 0;
    for (const QmSection &section : sectionsOf(real))
        messagesSize = section.tag == messagesTag ? section.payload.size() : messagesSize;
    row("hash offset at the end of the messages") << firstOffset(quint32(messagesSize)) << true;
    row("hash offset two bytes past the messages") << firstOffset(quint32(messagesSize + 2)) << true;
    // Damage beside Hello's lookup, and the lookups that do reach it: the
    // hash entries before and after Hello's two, whose hashes the search
    // reads but not their offsets, and the record after Main's Hello.
    const auto entryAtCutField = [](int entry) {
        return withCutField([entry](QByteArray &h, quint32 at) { h.replace(8 * entry + 4, 4, bigEndian32(at)); });
    };
    row("entry before Hello's at a field cut short") << entryAtCutField(0) << true;
    row("entry before Hello's at a field cut short, Open", {"Main", "Open"}) << entryAtCutField(0) << false;
    // Hello in a context without it: the search reads the next entry's hash.
    row("entry after Hello's at a field cut short", {"Elsewhere", "Hello"}) << entryAtCutField(3) << true;
    row("entry after Hello's at a field cut short, Price", {"Main", "Price"}) << entryAtCutField(3) << false;
    const QByteArray nextRecordDamaged = field(419, 0x80000000); // Open's translation
    row("next record damaged") << nextRecordDamaged << true;
    row("next record damaged, Open", {"Main", "Open"}) << nextRecordDamaged << false;
    // Open with a comment the catalogue lacks is sought again without it.
    row("next record damaged, Open with a comment", {"Main", "Open", "verb"}) << nextRecordDamaged << false;
    row("translating record damaged") << field(409, 0xffffffff) << false; // Main's context
    // A third entry with Hello's hash, at a field cut short: read only when
    // Main's Hello gives no translation, as for its second plural form.
    const QByteArray thirdHello =
        withCutField([](QByteArray &h, quint32 at) { h.insert(24, h.mid(16, 4) + bigEndian32(at)); });
    // Main's Hello translated with a length of 0 rather than null: trmsg
    // prints what Qt gives for it, whatever the Qt (6.4 gives no translation),
    // with and without a count.
    const QByteArray emptyTranslation = edited(messagesTag, [](QByteArray &m) {
        const QByteArray bonjour("\0B\0o\0n\0j\0o\0u\0r", 14);
        m.replace(m.indexOf(bonjour) - 4, 4, bigEndian32(0));
    });
    row("empty translation") << emptyTranslation << true;
    row("empty translation, plural", {"Main", "Hello", "", "5"}) << emptyTranslation << true;
    row("third Hello entry at a field cut short") << thirdHello << true;
    row("third Hello entry at a field cut short, singular", {"Main", "Hello", "", "1"}) << thirdHello << true;
    row("third Hello entry at a field cut short, plural", {"Main", "Hello", "", "5"}) << thirdHello << false;
}

void CatalogueCheck::check_data()
{
    addDamaged();
    // QTranslator stops reading a record at a tag it does not know.
    row("unknown tag in record ends it")
        << edited(messagesTag, [](QByteArray &m) { m[0] = char(0x55); }) << true;
    // 200 hash entries more, in front, with Open's hash, at the first record:
    // a lookup of Open reads them all, and of the last hash, a field cut short
    // in the last record behind them.
    const auto manyEntriesAtFirst = [](bool fieldCutShortLast) {
        QList<QmSection> sections = sectionsOf(realCatalogue());
        qsizetype messagesSize = 0;
        for (QmSection &section : sections) {
            if (section.tag == messagesTag && fieldCutShortLast)
                section.payload.append('\x06');
            messagesSize = section.tag == messagesTag ? section.payload.size() : messagesSize;
        }
        for (QmSection &section : sections) {
            QByteArray &h = section.payload;
            if (section.tag != hashesTag)
                continue;
            if (fieldCutShortLast)
                h.replace(h.size() - 4, 4, bigEndian32(quint32(messagesSize - 1)));
            h.prepend((h.left(4) + bigEndian32(0)).repeated(200));
        }
        return assemble(realCatalogue().left(magicSize), sections);
    };
    row("many hash entries at one record", {"Main", "Open"}) << manyEntriesAtFirst(false) << true;
    row("many hash entries at one record, a field cut short last", {"Main", "%1 before %2"})
        << manyEntriesAtFirst(true) << false;
    // No whole hash entry: no lookup reads the table (and none translates).
    row("partial hash entry alone")
        << edited(hashesTag, [](QByteArray &h) { h.truncate(7); }) << true;
    // A later section replaces an earlier one with the same tag.
    const QByteArray emptyContexts(2, '\0');
    const QByteArray soundContexts = oneBucketContexts(1, QByteArray("\0\0\4Main\0", 8));
    row("two context tables, the later sound")
        << withSections({{contextsTag, emptyContexts}}, {{contextsTag, soundContexts}}) << true;
    row("two context tables, the later empty")
        << withSections({{contextsTag, soundContexts}}, {{contextsTag, emptyContexts}}) << false;
    // The empty message hashes to 1, as in Qt, not 0: its entry is read.
    row("empty message's entry at a field cut short", {"Main", ""})
        << withCutField([](QByteArray &h, quint32 at) { h.prepend(bigEndian32(1) + bigEndian32(at)); }) << false;
    // One plural rule, "n's leading group of three digits is 1": 1000 takes
    // the first form, Main's Hello's only one, and the lookup stops there.
    QList<QmSection> leadingThousand = sectionsOf(
        withCutField([](QByteArray &h, quint32 at) { h.insert(24, h.mid(16, 4) + bigEndian32(at)); }));
    for (QmSection &section : leadingThousand)
        section.payload = section.tag == 0x88 ? QByteArray("\x41\x01", 2) : section.payload;
    row("third Hello entry at a field cut short, 1000 by its leading digits", {"Main", "Hello", "", "1000"})
        << assemble(realCatalogue().left(magicSize), leadingThousand) << true;
}

void CatalogueCheck::check()
{
    QFETCH(Keys, keys);
    QFETCH(QByteArray, catalogue);
    QFETCH(bool, sound);
    const CatalogueLookup lookup = lookupOf(keys);
    QCOMPARE(isSoundCatalogue(catalogue, lookup), sound);
    if (!sound)
        return;
    // Read byte by byte into a buffer of garbage, the bytes the check read
    // are all Qt reads: it answers from them as from the catalogue.
    PagedFile file = pagedMemory(catalogue, 0);
    file.contents.fill('\xa5');
    CatalogueSections sections;
    CatalogueLookup asked = lookup;
    QVERIFY(readCatalogueSections(&file, &sections));
    QVERIFY(checkLookup(&file, sections, &asked) != LookupResult::Unsound);
    QCOMPARE(qtAnswer(file.contents, lookup), qtAnswer(catalogue, lookup));
}

void CatalogueCheck::truncatedCataloguesAreRefused()
{
    const QByteArray real = realCatalogue();
    for (qsizetype cut : cutsInsideSections(real))
        QVERIFY2(!isSoundCatalogue(real.left(cut), lookupOf({"Main", "Hello"})),
                 qPrintable(QStringLiteral("cut at %1").arg(cut)));
}

#ifndef TRMSG_CODE_TESTS_ONLY
void CatalogueCheck::damagedCatalogueOnDisk_data()
{
    addDamaged();
    const QByteArray real = realCatalogue();
    for (qsizetype cut : cutsInsideSections(real))
        row(qPrintable(QStringLiteral("truncated at %1").arg(cut))) << real.left(cut) << false;
    // Too short for a section header: an empty catalogue, which QTranslator
    // loads and which translates nothing.
    row("truncated in first header") << real.left(magicSize + 3) << false;
    row("depends on itself") << withSection(dependenciesTag, dependencyList({QStringLiteral("app_fr")}))
                                       << false;
    // Every dependencies section counts, not only the last.
    row("depends on itself in an earlier section")
        << withSections({{dependenciesTag, dependencyList({QStringLiteral("app_fr")})}},
                        {{dependenciesTag, dependencyList({QStringLiteral("app_de")})}})
        << false;
    // widgets depends on common too; both are written beside app_fr below.
    row("diamond of dependencies")
        << withSection(dependenciesTag, dependencyList({QStringLiteral("common"), QStringLiteral("widgets")}))
        << true;
    // widgets reached again, by a longer path, after its own branch is done.
    row("widgets reached twice, once through dialogs")
        << withSection(dependenciesTag, dependencyList({QStringLiteral("widgets"), QStringLiteral("dialogs")}))
        << true;
    // chain01 to chain17 each depend on the next (below): no deeper than 16.
    row("dependencies 16 deep")
        << withSection(dependenciesTag, dependencyList({QStringLiteral("chain02")})) << true;
    row("dependencies 17 deep")
        << withSection(dependenciesTag, dependencyList({QStringLiteral("chain01")})) << false;
    // damaged (written below) has an empty context table, which a lookup
    // reaching it divides by. This one does: app_fr has Hello in other
    // contexts only, and no context table to end the search before.
    const Keys lineBreak{"Line\nbreak", "Hello"};
    row("dependency damaged on the lookup's path", lineBreak)
        << withSection(dependenciesTag, dependencyList({QStringLiteral("damaged")})) << false;
    // installé_fr (app_de, in the file named by the name's UTF-8 bytes)
    // translates the request first: the lookup never reaches damaged.
    row("dependency named installé_fr, found by its UTF-8 name", lineBreak)
        << withSection(dependenciesTag, dependencyList({QStringLiteral("installé_fr"), QStringLiteral("damaged")}))
        << true;
    // QTranslator refuses a catalogue whose dependency is missing.
    row("missing dependency")
        << withSection(dependenciesTag, dependencyList({QStringLiteral("app_de"), QStringLiteral("absent")}))
        << false;
}

void CatalogueCheck::damagedCatalogueOnDisk()
{
    QFETCH(Keys, keys);
    QFETCH(QByteArray, catalogue);
    QFETCH(bool, sound);
    QTemporaryDir installation;
    QVERIFY(QDir(installation.path()).mkpath(QStringLiteral("lib/locale")));
    const QString locale = installation.path() + QStringLiteral("/lib/locale/");
    QFile file(locale + QStringLiteral("app_fr.qm"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(catalogue);
    file.close();
    const QString real = QFile::decodeName(testInstallation()) + QStringLiteral("/lib/locale/");
    QVERIFY(QFile::copy(real + QStringLiteral("app_de.qm"), locale + QStringLiteral("app_de.qm")));
    QVERIFY(QFile::copy(real + QStringLiteral("app_ja.qm"), locale + QStringLiteral("common.qm")));
    QFile widgets(locale + QStringLiteral("widgets.qm"));
    QVERIFY(widgets.open(QIODevice::WriteOnly));
    const QByteArray de = readFile(real + QStringLiteral("app_de.qm"));
    widgets.write(assemble(de.left(magicSize), QList<QmSection>{{dependenciesTag, dependencyList({QStringLiteral("common")})}}
                                                   + sectionsOf(de)));
    widgets.close();
    QFile dialogs(locale + QStringLiteral("dialogs.qm"));
    QVERIFY(dialogs.open(QIODevice::WriteOnly));
    const QmSection onWidgets{dependenciesTag, dependencyList({QStringLiteral("widgets")})};
    dialogs.write(assemble(de.left(magicSize), QList<QmSection>{onWidgets} + sectionsOf(de)));
    dialogs.close();
    QVERIFY(QFile::copy(real + QStringLiteral("app_de.qm"), locale + QStringLiteral("installé_fr.qm")));
    QFile damaged(locale + QStringLiteral("damaged.qm"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(assemble(de.left(magicSize), QList<QmSection>{{contextsTag, QByteArray(2, '\0')}} + sectionsOf(de)));
    damaged.close();
    for (int link = 1; link <= 17; ++link) {
        QFile chained(locale + QStringLiteral("chain%1.qm").arg(link, 2, 10, QLatin1Char('0')));
        QVERIFY(chained.open(QIODevice::WriteOnly));
        QList<QmSection> sections = sectionsOf(de);
        if (link < 17)
            sections.prepend({dependenciesTag,
                              dependencyList({QStringLiteral("chain%1").arg(link + 1, 2, 10, QLatin1Char('0'))})});
        chained.write(assemble(de.left(magicSize), sections));
    }

    const QList<QByteArray> environment = localeEnvironment("fr_FR.UTF-8", QFile::encodeName(installation.path()));
    const CatalogueLookup lookup = lookupOf(keys);
    QList<QByteArray> operands{"app", lookup.context, lookup.message, lookup.comment};
    if (lookup.count >= 0)
        operands.prepend("--count=" + QByteArray::number(lookup.count));
    const ProcessResult result = runTrmsg(operands, environment);
    QVERIFY(!result.timedOut);
    QCOMPARE(result.signal, 0);
    QCOMPARE(result.exitStatus, 0);
    // A sound catalogue answers as Qt answers; a damaged one not at all.
    QString expected;
    QTranslator translator;
    if (sound && translator.load(QStringLiteral("app_fr"), locale))
        expected = translator.translate(lookup.context, lookup.message, lookup.comment, lookup.count);
    QCOMPARE(result.out, expected.isNull() ? lookup.message : expected.toUtf8());
    QCOMPARE(result.err, QByteArray());
#ifdef TRMSG_MEMCHECK
    // What the check lets through, Qt reads: it must read nothing outside.
    if (sound && !whyNoMemcheck()) {
        QByteArray report;
        const ProcessResult checked = runTrmsgMemchecked(operands, environment, &report);
        QVERIFY2(checked.exitStatus == 0, report.constData());
        QCOMPARE(checked.out, result.out);
    }
#endif
}

void CatalogueCheck::installationLayouts_data()
{
    // Entries under the installation: "path:kind", kind being dir (a
    // directory), fr or de (that catalogue), or fr-unreadable (mode 000).
    QTest::addColumn<QByteArrayList>("layout");
    QTest::addColumn<QByteArray>("prefix"); // @ stands for the installation directory
    QTest::addColumn<QByteArray>("out");

    const QByteArray bonjour("Bonjour"), gruss("Gr\xc3\xbc\xc3\x9f Gott");
    QTest::newRow("directory for the catalogue") << QByteArrayList{"lib/locale/app_fr.qm:dir"} << QByteArray("app")
                                                 << QByteArray("Hello");
    QTest::newRow("directory for the exact name")
        << QByteArrayList{"lib/locale/app_fr_FR.qm:dir", "lib/locale/app_fr.qm:fr"} << QByteArray("app") << bonjour;
    QTest::newRow("directory for the bare name")
        << QByteArrayList{"lib/locale/app_fr_FR:dir", "lib/locale/app_fr.qm:fr"} << QByteArray("app") << bonjour;
    QTest::newRow(".qm before the bare name")
        << QByteArrayList{"lib/locale/app_fr.qm:fr", "lib/locale/app_fr:de"} << QByteArray("app") << bonjour;
    QTest::newRow("bare exact name before the language")
        << QByteArrayList{"lib/locale/app_fr_FR:de", "lib/locale/app_fr.qm:fr"} << QByteArray("app") << gruss;
    QTest::newRow("down to the prefix with .qm")
        << QByteArrayList{"lib/locale/app.qm:de", "lib/locale/app:fr"} << QByteArray("app") << gruss;
    QTest::newRow("down to the bare prefix") << QByteArrayList{"lib/locale/app:de"} << QByteArray("app") << gruss;
    QTest::newRow("prefix with a dot cut at the dot")
        << QByteArrayList{"lib/locale/my.qm:de"} << QByteArray("my.app") << gruss;
    QTest::newRow("prefix not in ASCII, its bytes as given")
        << QByteArrayList{"lib/locale/caf\xc3\xa9_fr.qm:de"} << QByteArray("caf\xc3\xa9") << gruss;
    QTest::newRow("prefix with a directory")
        << QByteArrayList{"lib/locale/sub/app_fr.qm:de"} << QByteArray("sub/app") << gruss;
    QTest::newRow("absolute prefix")
        << QByteArrayList{"other/app_fr.qm:de", "lib/locale/app_fr.qm:fr"} << QByteArray("@/other/app") << gruss;
    QTest::newRow("unreadable file skipped")
        << QByteArrayList{"lib/locale/app_fr_FR.qm:fr-unreadable", "lib/locale/app_fr.qm:de"} << QByteArray("app")
        << gruss;
}

void CatalogueCheck::installationLayouts()
{
    QFETCH(QByteArrayList, layout);
    QFETCH(QByteArray, prefix);
    QTemporaryDir installation;
    const QString root = installation.path() + u'/';
    const QString real = QFile::decodeName(testInstallation()) + QStringLiteral("/lib/locale/app_");
    for (const QByteArray &entry : layout) {
        const QString path = root + QString::fromUtf8(entry.split(':').first());
        const QString kind = QString::fromLatin1(entry.split(':').last());
        QVERIFY(QDir().mkpath(kind == QLatin1String("dir") ? path : path.section(u'/', 0, -2)));
        if (kind != QLatin1String("dir"))
            QVERIFY(QFile::copy(real + kind.left(2) + QStringLiteral(".qm"), path));
        if (kind.endsWith(QLatin1String("unreadable")))
            QVERIFY(QFile::setPermissions(path, {}));
    }
    // Root reads every file: the unreadable one is unreadable to nobody.
    QVERIFY(QFile::setPermissions(installation.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                           | QFile::ReadOther | QFile::ExeOther));
    const QByteArray installationBytes = QFile::encodeName(installation.path());
    prefix.replace('@', installationBytes);
    const ProcessResult result =
        runTrmsgUnprivileged({prefix, "Main", "Hello"}, localeEnvironment("fr_FR.UTF-8", installationBytes));
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

namespace {

// Writes contents to path, a file name of any bytes.
bool writeNamedFile(const QByteArray &path, const QByteArray &contents)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written = fd >= 0 && ::write(fd, contents.constData(), size_t(contents.size())) == contents.size();
    return ::close(fd) == 0 && written;
}

} // namespace

void CatalogueCheck::legacyInstallationNames_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QByteArray>("product"); // the installation directory's name, UTF-8 in this file
    QTest::addColumn<QByteArray>("language"); // the test catalogue app_<language>.qm
    QTest::addColumn<bool>("throughDependency");
    QTest::addColumn<QByteArray>("out"); // UTF-8 in this file

    QTest::newRow("Latin-1") << QByteArray("fr_FR.ISO-8859-1") << QByteArray("ISO-8859-1")
                             << QByteArray("Soci\xc3\xa9t\xc3\xa9") << QByteArray("fr") << false
                             << QByteArray("Caf\xc3\xa9");
    QTest::newRow("Latin-1, dependency") << QByteArray("fr_FR.ISO-8859-1") << QByteArray("ISO-8859-1")
                                         << QByteArray("Soci\xc3\xa9t\xc3\xa9") << QByteArray("fr") << true
                                         << QByteArray("Caf\xc3\xa9");
    QTest::newRow("KOI8-R") << QByteArray("ru_RU.KOI8-R") << QByteArray("KOI8-R")
                            << QByteArray("\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb4\xd1\x83\xd0\xba\xd1\x82")
                            << QByteArray("ru") << true
                            << QByteArray("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82");
    QTest::newRow("EUC-JP") << QByteArray("ja_JP.EUC-JP") << QByteArray("EUC-JP")
                            << QByteArray("\xe8\xa3\xbd\xe5\x93\x81") << QByteArray("ja") << false
                            << QByteArray("\xe3\x81\x93\xe3\x82\x93\xe3\x81\xab\xe3\x81\xa1\xe3\x81\xaf");
    QTest::newRow("UTF-8, dependency") << QByteArray("fr_FR.UTF-8") << QByteArray("UTF-8")
                                       << QByteArray("Soci\xc3\xa9t\xc3\xa9") << QByteArray("fr") << true
                                       << QByteArray("Caf\xc3\xa9");
}

void CatalogueCheck::legacyInstallationNames()
{
    // A product installed under a name in the locale's own encoding: trmsg
    // must use the directory's bytes as given, for the catalogue and for
    // what it depends on.
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, charset);
    QFETCH(QByteArray, product);
    QFETCH(QByteArray, language);
    QFETCH(bool, throughDependency);
    QFETCH(QByteArray, out);
    bool ok = false;
    const QByteArray name = iconvFromUtf8(product, charset.constData(), &ok);
    QVERIFY(ok);
    const QByteArray expected = iconvFromUtf8(out, charset.constData(), &ok);
    QVERIFY(ok);
    QTemporaryDir root;
    const QByteArray installation = QFile::encodeName(root.path()) + '/' + name;
    for (const QByteArray &directory : {installation, installation + "/lib", installation + "/lib/locale"})
        QVERIFY(::mkdir(directory.constData(), 0755) == 0);
    const QByteArray catalogue =
        readFile(QFile::decodeName(testInstallation()) + QStringLiteral("/lib/locale/app_") + QString::fromLatin1(language)
                 + QStringLiteral(".qm"));
    const QByteArray locales = installation + "/lib/locale/";
    if (throughDependency) {
        // A catalogue of no messages of its own, like Qt's qt_XX.qm.
        QVERIFY(writeNamedFile(locales + "common.qm", catalogue));
        QVERIFY(writeNamedFile(locales + "app_" + language + ".qm",
                               assemble(catalogue.left(magicSize),
                                        {{dependenciesTag, dependencyList({QStringLiteral("common")})}})));
    } else {
        QVERIFY(writeNamedFile(locales + "app_" + language + ".qm", catalogue));
    }
    const QByteArray message = language == "fr" ? "Coffee" : "Hello";
    const ProcessResult result = runTrmsg({"app", "Main", message}, localeEnvironment(locale, installation));
    QCOMPARE(result.exitStatus, 0);
    QCOMPARE(result.out, expected);
    QCOMPARE(result.err, QByteArray());
}
#endif

QTEST_GUILESS_MAIN(CatalogueCheck)
#include "tst_cataloguecheck.moc"
