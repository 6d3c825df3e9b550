#include "translation/qmcheck.h"

#include <QDataStream>
#include <QtEndian>

#include <climits>
#include <cstring>

namespace {

// Section tags and message record tags of the .qm format.
enum : quint8 {
    contextsTag = 0x2f,
    hashesTag = 0x42,
    messagesTag = 0x69,
    dependenciesTag = 0x96,
};
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
    Section dependencies;
};

quint16 read16(const uchar *p) { return qFromBigEndian<quint16>(p); }
quint32 read32(const uchar *p) { return qFromBigEndian<quint32>(p); }

bool hasMagic(const QByteArray &data)
{
    return data.size() >= qsizetype(sizeof magic) && std::memcmp(data.constData(), magic, sizeof magic) == 0;
}

// Splits data into sections the way QTranslator does: a tag byte and a 32-bit
// length, until a zero tag or length or fewer than six bytes remain; a later
// section with the same tag replaces an earlier one. False when a section
// runs past the end of the data.
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
        case dependenciesTag: sections->dependencies = section; break;
        default: break;
        }
        p += size;
    }
    return true;
}

// The context table: a 16-bit bucket count, the buckets' 16-bit offsets (in
// units of two bytes past the buckets), then chains of length-prefixed
// context names, each chain ended by a zero length.
bool isSoundContextChain(const Section &contexts, quint32 pos)
{
    for (;;) {
        if (pos >= contexts.size)
            return false;
        const quint8 length = contexts.data[pos];
        if (length == 0)
            return true;
        pos += 1 + quint32(length);
    }
}

bool isSoundContextTable(const Section &contexts)
{
    if (!contexts.data)
        return true; // no table: QTranslator does not check contexts
    if (contexts.size < 2)
        return false;
    const quint32 buckets = read16(contexts.data);
    const quint32 poolStart = 2 + 2 * buckets;
    if (buckets == 0 || poolStart > contexts.size)
        return false;
    for (quint32 bucket = 0; bucket < buckets; ++bucket) {
        const quint32 offset = read16(contexts.data + 2 + 2 * bucket);
        if (offset != 0 && !isSoundContextChain(contexts, poolStart + 2 * offset))
            return false;
    }
    return true;
}

// One message record: tagged fields up to an end tag. QTranslator stops
// reading a record at the end of the section or at a tag it does not know,
// so those end a record soundly too.
bool isSoundMessageRecord(const Section &messages, quint32 pos)
{
    for (;;) {
        if (pos >= messages.size)
            return true;
        const quint8 tag = messages.data[pos++];
        switch (tag) {
        case endTag:
            return true;
        case obsoleteTag:
            if (messages.size - pos < 4)
                return false;
            pos += 4;
            break;
        case translationTag:
        case sourceTextTag:
        case contextTag:
        case commentTag: {
            if (messages.size - pos < 4)
                return false;
            const quint32 length = read32(messages.data + pos);
            pos += 4;
            if (messages.size - pos < length)
                return false;
            pos += length;
            break;
        }
        default:
            return true;
        }
    }
}

// The hash table: pairs of a 32-bit hash and a 32-bit offset of a message
// record in the messages section.
bool isSoundHashTable(const Section &hashes, const Section &messages)
{
    if (hashes.size % 8 != 0)
        return false;
    for (quint32 entry = 0; entry < hashes.size; entry += 8) {
        const quint32 offset = read32(hashes.data + entry + 4);
        if (offset >= messages.size || !isSoundMessageRecord(messages, offset))
            return false;
    }
    return true;
}

} // namespace

bool isSoundCatalogue(const QByteArray &data)
{
    Sections sections;
    // QTranslator takes the size of in-memory data as an int.
    return data.size() <= INT_MAX && hasMagic(data) && readSections(data, &sections)
        && isSoundContextTable(sections.contexts)
        && isSoundHashTable(sections.hashes, sections.messages);
}

QStringList catalogueDependencies(const QByteArray &data)
{
    Sections sections;
    QStringList dependencies;
    if (!hasMagic(data) || !readSections(data, &sections) || !sections.dependencies.data)
        return dependencies;
    // Read as QTranslator reads them: serialized QStrings up to the section's end.
    QDataStream stream(QByteArray::fromRawData(reinterpret_cast<const char *>(sections.dependencies.data),
                                               qsizetype(sections.dependencies.size)));
    while (!stream.atEnd()) {
        QString dependency;
        stream >> dependency;
        dependencies.append(dependency);
    }
    return dependencies;
}
