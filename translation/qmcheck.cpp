#include "translation/qmcheck.h"

#include <QDataStream>
#include <QtEndian>

#include <climits>
#include <cstring>

// What follows mirrors, step by step, how QTranslator (Qt 6.4 to 6.11) reads
// a catalogue: when it loads one, and when it looks a message up. QTranslator
// bounds its section framing and its reading of record tags, but not the
// fields it reads after a tag. The check refuses exactly what would make it
// divide by zero, step backwards, or read past the section a field belongs to
// (past the file when that section is the last one); everything QTranslator
// reads correctly is accepted, however unusual, because Qt itself loads and
// uses such catalogues. The check reads what it judges into the catalogue's
// buffer: QTranslator then finds there every byte it reads.

namespace {

// Section tags of the .qm format.
enum : quint8 {
    contextsTag = 0x2f,
    hashesTag = 0x42,
    messagesTag = 0x69,
    numerusRulesTag = 0x88,
    dependenciesTag = 0x96,
    languageTag = 0xa7,
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
// Plural rule operators.
enum : quint8 {
    equalOp = 1,
    lessOp = 2,
    lessOrEqualOp = 3,
    betweenOp = 4,
    operatorMask = 7,
    notFlag = 0x08,
    modulo10Flag = 0x10,
    modulo100Flag = 0x20,
    leading1000Flag = 0x40,
    andOp = 0xfd,
    orOp = 0xfe,
};

constexpr unsigned char magic[16] = {
    0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95,
    0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd,
};

// Nothing found in this catalogue's own tables (yet).
constexpr LookupResult notFound = LookupResult::Dependencies;

quint16 read16(const uchar *p) { return qFromBigEndian<quint16>(p); }
quint32 read32(const uchar *p) { return qFromBigEndian<quint32>(p); }

const uchar *bytesAt(const PagedFile &file, quint64 pos)
{
    return reinterpret_cast<const uchar *>(file.contents.constData()) + pos;
}

// Reads bytes pos to pos + length of section in; false when they run past
// the section (or the file cannot give them).
bool readInSection(PagedFile *file, const CatalogueSection &section, quint64 pos, quint64 length)
{
    return pos <= section.size && length <= section.size - pos && readPages(file, section.start + pos, length);
}

const uchar *sectionAt(const PagedFile &file, const CatalogueSection &section, quint64 pos)
{
    return bytesAt(file, section.start + pos);
}

// A key as QTranslator sees it: a C string.
struct Key
{
    const char *text;
    quint32 size;
};

Key keyOf(const QByteArray &bytes)
{
    return Key{bytes.constData(), quint32(qstrlen(bytes.constData()))};
}

// The keys of one pass of the lookup.
struct Keys
{
    Key context, message, comment;
};

void continueElfHash(const Key &key, quint32 *hash)
{
    for (quint32 i = 0; i < key.size; ++i) {
        *hash = (*hash << 4) + uchar(key.text[i]);
        const quint32 high = *hash & 0xf0000000;
        if (high != 0)
            *hash ^= high >> 24;
        *hash &= ~high;
    }
}

quint32 elfHash(const Key &first, const Key &second = Key{"", 0})
{
    quint32 hash = 0;
    continueElfHash(first, &hash);
    continueElfHash(second, &hash);
    return hash != 0 ? hash : 1;
}

// A field's text against a key: a NUL ending the text does not count.
bool matches(const uchar *found, quint32 length, const Key &key)
{
    if (length > 0 && found[length - 1] == 0)
        --length;
    return length == key.size && std::memcmp(found, key.text, length) == 0;
}

// The plural form QTranslator picks for count by the catalogue's rules: the
// number of the first rule that holds, or the number of rules. QTranslator
// refuses to load rules it cannot read; those are only kept from reading
// outside them here.
uint numerusForm(qint32 count, const uchar *rules, quint32 size)
{
    uint form = 0;
    quint32 i = 0;
    if (size == 0)
        return 0;
    for (;;) {
        bool anyHolds = false;
        for (;;) {
            bool allHold = true;
            for (;;) {
                if (size - i < 2)
                    return form;
                const quint8 opcode = rules[i++];
                qint32 left = count;
                if (opcode & modulo10Flag) {
                    left %= 10;
                } else if (opcode & modulo100Flag) {
                    left %= 100;
                } else if (opcode & leading1000Flag) {
                    while (left >= 1000)
                        left /= 1000;
                }
                const qint32 right = rules[i++];
                bool holds = true;
                switch (opcode & operatorMask) {
                case equalOp: holds = left == right; break;
                case lessOp: holds = left < right; break;
                case lessOrEqualOp: holds = left <= right; break;
                case betweenOp:
                    if (i == size)
                        return form;
                    holds = left >= right && left <= rules[i++];
                    break;
                default: break;
                }
                if (opcode & notFlag)
                    holds = !holds;
                allHold = allHold && holds;
                if (i == size || rules[i] != andOp)
                    break;
                ++i;
            }
            anyHolds = anyHolds || allHold;
            if (i == size || rules[i] != orOp)
                break;
            ++i;
        }
        if (anyHolds)
            return form;
        ++form;
        if (i == size)
            return form;
        ++i; // the next rule
    }
}

// The context table: a 16-bit bucket count, the buckets' 16-bit offsets (in
// units of two bytes past the buckets), then chains of length-prefixed
// context names, each chain ended by a zero length. QTranslator reads the
// bucket of the context asked for and its chain until it finds the context:
// without it the lookup ends there, its dependencies unasked.
LookupResult checkContextTable(PagedFile *file, const CatalogueSection &contexts, const Key &context)
{
    if (!readInSection(file, contexts, 0, 2))
        return LookupResult::Unsound; // the bucket count itself runs past the section
    const quint32 buckets = read16(sectionAt(*file, contexts, 0));
    if (buckets == 0)
        return LookupResult::Unsound; // divided by
    const quint32 bucket = 2 + 2 * (elfHash(context) % buckets);
    if (!readInSection(file, contexts, bucket, 2))
        return LookupResult::Unsound;
    const quint32 offset = read16(sectionAt(*file, contexts, bucket));
    if (offset == 0)
        return LookupResult::Absent; // an empty bucket
    quint64 pos = 2 + 2 * quint64(buckets) + 2 * quint64(offset);
    for (;;) {
        if (!readInSection(file, contexts, pos, 1))
            return LookupResult::Unsound;
        const quint32 length = *sectionAt(*file, contexts, pos);
        if (length == 0)
            return LookupResult::Absent;
        if (!readInSection(file, contexts, pos + 1, length))
            return LookupResult::Unsound;
        if (matches(sectionAt(*file, contexts, pos + 1), length, context))
            return notFound; // on to the messages
        pos += 1 + length;
    }
}

// A field whose 32-bit length is at pos (past the section: unsound); *length
// is set to it.
bool readLength(PagedFile *file, const CatalogueSection &messages, quint64 pos, quint32 *length)
{
    if (!readInSection(file, messages, pos, 4))
        return false;
    *length = read32(sectionAt(*file, messages, pos));
    return true;
}

// One message record from offset, read as QTranslator reads it for keys:
// tagged fields up to an end tag. It reads a tag only inside the section and
// ends the record with no translation past it; it reads a field's 32-bit
// length and what follows without checking them against the section, so
// wherever it reads one, the field must lie inside.
LookupResult checkRecord(PagedFile *file, const CatalogueSection &messages, quint32 offset, const Keys &keys,
                         uint numerus)
{
    quint64 pos = offset;
    quint64 translationAt = 0;
    quint32 translationLength = 0;
    bool chosen = false;
    for (;;) {
        if (pos >= messages.size)
            return notFound;
        if (!readInSection(file, messages, pos, 1))
            return LookupResult::Unsound;
        const quint8 tag = *sectionAt(*file, messages, pos);
        pos += 1;
        quint32 length = 0;
        switch (tag) {
        case endTag:
            // The chosen translation is copied out; it lies before this
            // tag, inside the section.
            if (!chosen)
                return notFound;
            return readInSection(file, messages, translationAt, translationLength) ? LookupResult::Translated
                                                                                  : LookupResult::Unsound;
        case translationTag:
            // Read as an int. An odd length, the null string 0xFFFFFFFF
            // among them (lrelease writes it for a finished, empty
            // translation), ends the record with no translation. A negative
            // even one would step backwards out of the section. One that
            // runs past the section is never copied: the next tag is then
            // past the section and the record ends with no translation.
            if (!readLength(file, messages, pos, &length))
                return LookupResult::Unsound;
            if (length & 1)
                return notFound;
            if (length > quint32(INT_MAX))
                return LookupResult::Unsound;
            pos += 4;
            if (numerus-- == 0) {
                chosen = true;
                translationAt = pos;
                translationLength = length;
            }
            pos += length;
            break;
        case obsoleteTag:
            pos += 4; // never read
            break;
        case sourceTextTag:
        case contextTag:
            // Compared with the key: its last byte read, and possibly all.
            if (!readLength(file, messages, pos, &length) || !readInSection(file, messages, pos + 4, length))
                return LookupResult::Unsound;
            if (!matches(sectionAt(*file, messages, pos + 4), length,
                         tag == sourceTextTag ? keys.message : keys.context))
                return notFound;
            pos += 4 + quint64(length);
            break;
        case commentTag:
            // Its first byte is read; the comment is compared only when
            // that byte is not zero, and skipped unread otherwise.
            if (!readLength(file, messages, pos, &length) || !readInSection(file, messages, pos + 4, 1))
                return LookupResult::Unsound;
            if (*sectionAt(*file, messages, pos + 4) != 0) {
                if (!readInSection(file, messages, pos + 4, length))
                    return LookupResult::Unsound;
                if (!matches(sectionAt(*file, messages, pos + 4), length, keys.comment))
                    return notFound;
            }
            pos += 4 + quint64(length);
            break;
        default:
            // Any other tag ends the record with no translation: the 16-bit
            // source and context fields of old catalogues, the second
            // obsolete field, tag 0 and unknown tags alike.
            return notFound;
        }
    }
}

quint32 entryHash(const PagedFile &file, const CatalogueSection &hashes, quint64 entry)
{
    return read32(sectionAt(file, hashes, 8 * entry));
}

// The hash table: entries of a 32-bit hash and the 32-bit offset of a message
// record, sorted by hash. QTranslator binary-searches the whole entries for
// the keys' hash, goes back to the first entry with it, then reads forward,
// record after record, while the hashes match and no record translates. A
// partial entry after the last whole one is read by that forward scan too:
// its hash, and then its offset, which lies past the section.
LookupResult checkHashedRecords(PagedFile *file, const CatalogueSections &sections, const Keys &keys, uint numerus)
{
    const CatalogueSection &hashes = sections.hashes;
    const quint32 hash = elfHash(keys.message, keys.comment);
    qint64 low = 0;
    qint64 high = qint64(hashes.size / 8) - 1;
    qint64 found = -1;
    while (low <= high) {
        const qint64 middle = low + (high - low) / 2;
        if (!readInSection(file, hashes, 8 * quint64(middle), 4))
            return LookupResult::Unsound;
        const quint32 probed = entryHash(*file, hashes, quint64(middle));
        if (probed == hash) {
            found = middle;
            break;
        }
        if (probed < hash)
            low = middle + 1;
        else
            high = middle - 1;
    }
    if (found < 0)
        return notFound;
    while (found > 0) {
        if (!readInSection(file, hashes, 8 * quint64(found - 1), 4))
            return LookupResult::Unsound;
        if (entryHash(*file, hashes, quint64(found - 1)) != hash)
            break;
        --found;
    }
    for (quint64 pos = 8 * quint64(found); pos < hashes.size; pos += 8) {
        if (!readInSection(file, hashes, pos, 4))
            return LookupResult::Unsound;
        if (read32(sectionAt(*file, hashes, pos)) != hash)
            break;
        if (!readInSection(file, hashes, pos + 4, 4))
            return LookupResult::Unsound;
        const quint32 offset = read32(sectionAt(*file, hashes, pos + 4));
        const LookupResult result = checkRecord(file, sections.messages, offset, keys, numerus);
        if (result != notFound)
            return result;
    }
    return notFound;
}

} // namespace

bool readCatalogueSections(PagedFile *file, CatalogueSections *sections)
{
    const quint64 size = quint64(file->contents.size());
    // QTranslator takes the size of in-memory data as an int.
    if (size > quint64(INT_MAX) || !readPages(file, 0, sizeof magic)
        || std::memcmp(bytesAt(*file, 0), magic, sizeof magic) != 0)
        return false;
    // A tag byte and a 32-bit length, until a zero tag or length or fewer
    // than six bytes remain. A later section replaces an earlier one with
    // the same tag; dependencies sections add up. A section running past the
    // end makes QTranslator refuse the catalogue. Sections it does not read
    // on load (unknown tags among them) are skipped unread.
    quint64 pos = sizeof magic;
    while (size - pos > 5) {
        if (!readPages(file, pos, 5))
            return false;
        const quint8 tag = *bytesAt(*file, pos);
        const quint32 length = read32(bytesAt(*file, pos + 1));
        pos += 5;
        if (tag == 0 || length == 0)
            break;
        if (size - pos < length)
            return false;
        const CatalogueSection section{quint32(pos), length};
        switch (tag) {
        case contextsTag: sections->contexts = section; break;
        case hashesTag: sections->hashes = section; break;
        case messagesTag: sections->messages = section; break;
        case numerusRulesTag: sections->numerusRules = section; break;
        case dependenciesTag: sections->dependencies.append(section); break;
        default: break;
        }
        // Read whole on load: the language, the plural rules (which
        // QTranslator checks itself), the dependencies.
        const bool readOnLoad = tag == languageTag || tag == numerusRulesTag || tag == dependenciesTag;
        if (readOnLoad && !readPages(file, pos, length))
            return false;
        pos += length;
    }
    return true;
}

QStringList catalogueDependencies(const PagedFile &file, const CatalogueSections &sections)
{
    // Read as QTranslator reads them: serialized QStrings up to each
    // section's end; a damaged entry reads as an empty name.
    QStringList dependencies;
    for (const CatalogueSection &section : sections.dependencies) {
        QDataStream stream(QByteArray::fromRawData(file.contents.constData() + section.start, qsizetype(section.size)));
        while (!stream.atEnd()) {
            QString dependency;
            stream >> dependency;
            dependencies.append(dependency);
        }
    }
    return dependencies;
}

LookupResult checkLookup(PagedFile *file, const CatalogueSections &sections, CatalogueLookup *lookup)
{
    // No hash table: the dependencies are asked at once.
    if (sections.hashes.size == 0)
        return LookupResult::Dependencies;
    Keys keys{keyOf(lookup->context), keyOf(lookup->message), keyOf(lookup->comment)};
    if (sections.contexts.size != 0) {
        const LookupResult result = checkContextTable(file, sections.contexts, keys.context);
        if (result != notFound)
            return result;
    }
    if (sections.hashes.size < 8)
        return LookupResult::Dependencies; // no whole entry
    const CatalogueSection &rules = sections.numerusRules;
    const uint numerus = lookup->count < 0 ? 0 : numerusForm(lookup->count, sectionAt(*file, rules, 0), rules.size);
    // With a comment, and again without one when that finds nothing.
    for (;;) {
        const LookupResult result = checkHashedRecords(file, sections, keys, numerus);
        if (result != notFound || keys.comment.size == 0)
            return result;
        keys.comment = Key{"", 0};
        lookup->comment.clear();
    }
}

bool isSoundCatalogue(const QByteArray &data, const CatalogueLookup &lookup)
{
    PagedFile file = pagedMemory(data);
    CatalogueSections sections;
    CatalogueLookup asked = lookup;
    return readCatalogueSections(&file, &sections) && checkLookup(&file, sections, &asked) != LookupResult::Unsound;
}
