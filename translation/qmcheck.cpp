#include "translation/qmcheck.h"

#include <QDataStream>
#include <QList>
#include <QtEndian>

#include <climits>
#include <cstring>

// What follows mirrors, field by field, how QTranslator (Qt 6.4 to 6.11)
// reads a catalogue: when it loads one, and when a lookup reaches a record.
// QTranslator bounds its section framing and its reading of record tags, but
// not the fields it reads after a tag. The check refuses exactly what would
// make it divide by zero, step backwards, or read past the section a field
// belongs to (past the file when that section is the last one); everything
// QTranslator reads correctly is accepted, however unusual, because Qt itself
// loads and uses such catalogues.

namespace {

// Section tags of the .qm format.
enum : quint8 {
    contextsTag = 0x2f,
    hashesTag = 0x42,
    messagesTag = 0x69,
    dependenciesTag = 0x96,
};
// Record field tags.
enum : quint8 {
    endTag = 1,
    translationTag = 3,
    obsoleteTag = 5,
    sourceTextTag = 6,
    contextTag = 7,
    commentTag = 8,
};

constexpr unsigned char magic[16] = {
    0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95,
    0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd,
};

// A section as QTranslator keeps it: where it starts and how long it is.
struct Section
{
    const uchar *data = nullptr;
    quint32 size = 0;
};

struct Sections
{
    Section contexts;
    Section hashes;
    Section messages;
    QList<Section> dependencies; // every dependencies section, in file order
};

// Bit sets with one bit per byte of a section.
QByteArray bitsFor(quint32 size) { return QByteArray(qsizetype(size / 8 + 1), '\0'); }

bool bitIsSet(const uchar *bits, quint64 pos) { return bits[pos / 8] & (1u << (pos % 8)); }

void setBit(uchar *bits, quint64 pos) { bits[pos / 8] |= uchar(1u << (pos % 8)); }

// Whether pos was set before; sets it.
bool testAndSetBit(uchar *bits, quint64 pos)
{
    const bool was = bitIsSet(bits, pos);
    setBit(bits, pos);
    return was;
}

quint16 read16(const uchar *p) { return qFromBigEndian<quint16>(p); }
quint32 read32(const uchar *p) { return qFromBigEndian<quint32>(p); }

bool hasMagic(const QByteArray &data)
{
    return data.size() >= qsizetype(sizeof magic) && std::memcmp(data.constData(), magic, sizeof magic) == 0;
}

// Splits data into sections the way QTranslator does: a tag byte and a 32-bit
// length, until a zero tag or length or fewer than six bytes remain. A later
// contexts, hashes or messages section replaces an earlier one with the same
// tag; dependencies sections add up. False when a section runs past the end of
// the data, which makes QTranslator refuse the catalogue. Sections trmsg does
// not look into (language, plural rules, any unknown tag) are skipped as
// QTranslator skips them; it checks the plural rules itself.
bool readSections(const QByteArray &data, Sections *sections)
{
    const uchar *p = reinterpret_cast<const uchar *>(data.constData()) + sizeof magic;
    const uchar *end = reinterpret_cast<const uchar *>(data.constData()) + data.size();
    while (end - p > 5) {
        const quint8 tag = p[0];
        const quint32 size = read32(p + 1);
        p += 5;
        if (tag == 0 || size == 0)
            break;
        if (quint32(end - p) < size)
            return false;
        const Section section{p, size};
        switch (tag) {
        case contextsTag: sections->contexts = section; break;
        case hashesTag: sections->hashes = section; break;
        case messagesTag: sections->messages = section; break;
        case dependenciesTag: sections->dependencies.append(section); break;
        default: break;
        }
        p += size;
    }
    return true;
}

// The context table: a 16-bit bucket count, the buckets' 16-bit offsets (in
// units of two bytes past the buckets), then chains of length-prefixed
// context names, each chain ended by a zero length. A lookup reads a chain
// until it finds its context or the zero length, so every chain must end
// inside the section. walked marks the length bytes already walked: a walk
// that reaches one stops there, so buckets sharing a chain cost one walk. (A
// walk that fails refuses the whole catalogue, so marking as it goes is safe.)
bool isSoundContextChain(const Section &contexts, quint32 pos, uchar *walked)
{
    for (;;) {
        if (pos >= contexts.size)
            return false;
        if (contexts.data[pos] == 0 || testAndSetBit(walked, pos))
            return true;
        pos += 1 + quint32(contexts.data[pos]);
    }
}

// QTranslator reads the table only when there is a hash table. It divides by
// the bucket count and reads the bucket of every context it is asked for.
bool isSoundContextTable(const Section &contexts)
{
    if (!contexts.data)
        return true; // no table: every context is looked up in the messages
    if (contexts.size < 2)
        return false; // the bucket count itself runs past the section
    const quint32 buckets = read16(contexts.data);
    const quint32 poolStart = 2 + 2 * buckets;
    if (buckets == 0 || poolStart > contexts.size)
        return false;
    QByteArray walked = bitsFor(contexts.size);
    for (quint32 bucket = 0; bucket < buckets; ++bucket) {
        const quint32 offset = read16(contexts.data + 2 + 2 * bucket);
        // An empty bucket: the context is not in the catalogue.
        if (offset != 0 && !isSoundContextChain(contexts, poolStart + 2 * offset,
                                                    reinterpret_cast<uchar *>(walked.data())))
            return false;
    }
    return true;
}

// Whether a 32-bit length at pos, and then length bytes, lie inside the section.
bool fieldFits(const Section &messages, quint64 pos)
{
    const quint64 remaining = messages.size - pos; // pos never passes the section's end here
    return remaining >= 4 && remaining - 4 >= read32(messages.data + pos);
}

// Where the walk of one record stands after one field: at the next tag, at
// the end of a sound record, or at a field QTranslator cannot read safely.
enum class Step { Next, Sound, Unsound };

// One field of a record, whose tag has just been read at pos - 1; pos moves
// past the field. QTranslator reads a field's 32-bit length without checking
// it against the section, so wherever it reads one, the length must fit.
Step stepOverField(const Section &messages, quint8 tag, quint64 *pos)
{
    switch (tag) {
    case endTag:
        // The record ends; the chosen translation is then copied out, and it
        // lies before this tag, inside the section.
        return Step::Sound;
    case translationTag: {
        // QTranslator reads the length as an int. An odd one, the null string
        // 0xFFFFFFFF among them (lrelease writes it for a finished, empty
        // translation), ends the lookup in this record with no translation,
        // reading nothing more. A negative even one would step backwards out
        // of the section. A translation that runs past the section is never
        // copied: the next tag is then past the section and the record ends
        // with no translation.
        if (messages.size < *pos + 4)
            return Step::Unsound;
        const quint32 length = read32(messages.data + *pos);
        if (length & 1)
            return Step::Sound;
        if (length > quint32(INT_MAX))
            return Step::Unsound;
        *pos += 4 + quint64(length);
        return Step::Next;
    }
    case obsoleteTag:
        // Skipped as four bytes that QTranslator never reads.
        *pos += 4;
        return Step::Next;
    case sourceTextTag:
    case contextTag:
        // Compared with the request: QTranslator reads the last byte and
        // possibly all of them, so the text must lie inside the section. The
        // null string's length 0xFFFFFFFF never fits.
        if (!fieldFits(messages, *pos))
            return Step::Unsound;
        *pos += 4 + quint64(read32(messages.data + *pos));
        return Step::Next;
    case commentTag: {
        // QTranslator reads the comment's first byte (the byte after the
        // length) and compares the comment only when that byte is not zero,
        // skipping it unread otherwise.
        if (messages.size < *pos + 5)
            return Step::Unsound;
        const quint32 length = read32(messages.data + *pos);
        if (messages.data[*pos + 4] != 0 && !fieldFits(messages, *pos))
            return Step::Unsound;
        *pos += 4 + quint64(length);
        return Step::Next;
    }
    default:
        // Any other tag ends the lookup in this record with no translation:
        // the 16-bit source and context fields of old catalogues, the second
        // obsolete field, tag 0 and unknown tags alike.
        return Step::Sound;
    }
}

// One message record from start: tagged fields up to an end tag, read as a
// lookup reads them. QTranslator reads a tag only inside the section, and
// ends the record with no translation past it.
//
// Hash entries normally point at distinct records, each walked once. Damaged
// or hostile ones may point many times into one long record; to stay linear
// then, the walks draw the bytes they cover from a budget that sound
// catalogues never exhaust, and once it is spent the check starts again
// marking in walked the tags already walked, so that no field is walked twice.
enum class Walk { Sound, Unsound, OverBudget };

// The record's walk; *end is where it stopped.
// Marking is a template parameter so that the walk of sound catalogues
// carries no test for it.
template <bool marking>
Walk walkMessageRecord(const Section &messages, quint32 start, uchar *walked, quint64 *end)
{
    quint64 pos = start;
    for (;;) {
        if (pos >= messages.size || (marking && testAndSetBit(walked, pos)))
            break;
        const quint64 tagAt = pos;
        const quint8 tag = messages.data[pos];
        pos += 1;
        const Step step = stepOverField(messages, tag, &pos);
        if (step != Step::Next) {
            pos = tagAt;
            if (step == Step::Unsound)
                return Walk::Unsound;
            break;
        }
    }
    *end = pos;
    return Walk::Sound;
}

// The hash table: entries of a 32-bit hash and the 32-bit offset of a message
// record, sorted by hash. A lookup binary-searches the whole entries, then
// reads forward from the first entry with its hash while the hashes match;
// an offset at or past the end of the messages section gives no translation
// without reading anything.
template <bool marking>
Walk walkHashedRecords(const Section &hashes, const Section &messages, uchar *walked, quint64 budget)
{
    for (quint32 entry = 0; entry < hashes.size / 8; ++entry) {
        const quint32 offset = read32(hashes.data + 8 * entry + 4);
        if (offset >= messages.size)
            continue;
        quint64 end = offset;
        if (walkMessageRecord<marking>(messages, offset, walked, &end) == Walk::Unsound)
            return Walk::Unsound;
        const quint64 covered = qMin<quint64>(end, messages.size) - offset + 1;
        if (covered > budget)
            return Walk::OverBudget;
        budget -= covered;
    }
    return Walk::Sound;
}

// A partial entry after the last whole one is read only by the forward
// scan: its hash when the last whole entry matched, and its offset, past the
// section, when that hash matches too. It is sound only where neither read
// leaves the section.
bool isSoundHashTable(const Section &hashes, const Section &messages)
{
    const quint32 whole = hashes.size / 8;
    const quint32 partial = hashes.size % 8;
    if (partial != 0 && whole != 0) {
        const uchar *tail = hashes.data + 8 * whole;
        if (partial < 4 || read32(tail) == read32(tail - 8))
            return false;
    }
    // Records walked once each cover no more than the section's bytes, plus
    // one for every entry that stops at once.
    const quint64 budget = quint64(messages.size) + whole;
    const Walk walk = walkHashedRecords<false>(hashes, messages, nullptr, budget);
    if (walk != Walk::OverBudget)
        return walk == Walk::Sound;
    QByteArray walked = bitsFor(messages.size);
    return walkHashedRecords<true>(hashes, messages, reinterpret_cast<uchar *>(walked.data()), ~quint64(0))
        == Walk::Sound;
}

} // namespace

bool isSoundCatalogue(const QByteArray &data)
{
    Sections sections;
    // QTranslator takes the size of in-memory data as an int.
    if (data.size() > INT_MAX || !hasMagic(data) || !readSections(data, &sections))
        return false;
    // Without a hash table no lookup reads the contexts or the messages.
    if (!sections.hashes.data)
        return true;
    return isSoundContextTable(sections.contexts) && isSoundHashTable(sections.hashes, sections.messages);
}

QStringList catalogueDependencies(const QByteArray &data)
{
    Sections sections;
    QStringList dependencies;
    if (!hasMagic(data) || !readSections(data, &sections))
        return dependencies;
    // Read as QTranslator reads them: serialized QStrings up to each
    // section's end; a damaged entry reads as an empty name.
    for (const Section &section : std::as_const(sections.dependencies)) {
        QDataStream stream(QByteArray::fromRawData(reinterpret_cast<const char *>(section.data),
                                                   qsizetype(section.size)));
        while (!stream.atEnd()) {
            QString dependency;
            stream >> dependency;
            dependencies.append(dependency);
        }
    }
    return dependencies;
}
