#include "merge.h"

#include "languages.h"
#include "ownership.h"
#include "tslayout.h"

#include <QDir>
#include <QHash>

#include <algorithm>

namespace {

// Messages are told apart by context, source text and comment.
QString messageKey(const QString &context, const QString &source, const QString &comment)
{
    return context + QChar(0) + source + QChar(0) + comment;
}

struct Occurrences
{
    FoundMessage first;
    QList<TsLocation> locations;
};

QList<Occurrences> groupedMessages(const QList<FoundMessage> &found, const QString &tsDirectory,
                                   QHash<QString, qsizetype> *index)
{
    QList<Occurrences> grouped;
    const QDir directory(tsDirectory);
    for (const FoundMessage &message : found) {
        const QString key = messageKey(message.context, message.source, message.comment);
        auto at = index->constFind(key);
        if (at == index->constEnd()) {
            at = index->insert(key, grouped.size());
            grouped.append({message, {}});
        }
        const TsLocation location{directory.relativeFilePath(message.scriptPath), message.line};
        QList<TsLocation> &locations = grouped[*at].locations;
        if (locations.isEmpty() || locations.last().fileName != location.fileName
            || locations.last().line != location.line)
            locations.append(location);
    }
    return grouped;
}

QString translationType(const TsMessage &message)
{
    return attributeValue(message.translationAttributes, QStringLiteral("type"));
}

void setTranslationType(TsMessage *message, const QString &type)
{
    if (setAttribute(&message->translationAttributes, QStringLiteral("type"), type))
        message->translationChanged = true;
}

void setLocations(TsMessage *message, const QList<TsLocation> &locations)
{
    if (message->locations == locations)
        return;
    message->locations = locations;
    message->locationsChanged = true;
}

bool isRetired(const TsMessage &message)
{
    const QString type = translationType(message);
    return type == u"vanished" || type == u"obsolete";
}

// A message the scripts use: it gets their locations in place of the ones
// it had in scripts, and comes back from vanished or obsolete. It is marked
// as the scripts' own unless another source may use it: a location elsewhere,
// or none at all while current (as lconvert writes a catalogue).
void takeFromScripts(TsMessage *message, const QList<TsLocation> &locations, const Ownership &ownership)
{
    const QList<TsLocation> others = otherLocations(*message, ownership);
    const bool own = others.isEmpty() && (isScriptsOwn(*message, ownership) || isRetired(*message));
    setLocations(message, others + locations);
    const QString type = translationType(*message);
    if (type == u"vanished")
        setTranslationType(message, QString());
    else if (type == u"obsolete")
        setTranslationType(message, QStringLiteral("unfinished"));
    if (own)
        addScriptsMark(message);
    else if (!others.isEmpty())
        removeScriptsMark(message);
}

// The scripts' own message no longer found: kept as vanished (finished) or
// obsolete (unfinished) when it has a translation, as Qt's lupdate keeps it;
// false when it goes.
bool retire(TsMessage *message, bool noObsolete)
{
    const QString type = translationType(*message);
    if (noObsolete || !message->translated)
        return false;
    setLocations(message, {});
    addScriptsMark(message);
    if (type.isEmpty())
        setTranslationType(message, QStringLiteral("vanished"));
    else if (type == u"unfinished")
        setTranslationType(message, QStringLiteral("obsolete"));
    return true;
}

TsMessage newMessage(const Occurrences &occurrences, int numerusForms)
{
    TsMessage message;
    message.source = occurrences.first.source;
    message.comment = occurrences.first.comment;
    message.locations = occurrences.locations;
    message.translationAttributes.append({QStringLiteral("type"), QStringLiteral("unfinished")});
    if (message.source.contains(u"%n")) {
        message.attributes.append({QStringLiteral("numerus"), QStringLiteral("yes")});
        message.numerusForms = numerusForms;
    }
    addScriptsMark(&message);
    return message;
}

// A new context goes before the first one whose name sorts after its own,
// so that a file sorted as Qt's lupdate sorts it stays sorted, and the
// others stay where they are.
TsContext *contextNamed(TsFile *file, const QString &name)
{
    qsizetype at = 0;
    for (; at < file->contexts.size(); ++at) {
        if (file->contexts.at(at).name == name)
            return &file->contexts[at];
        if (name < file->contexts.at(at).name)
            break;
    }
    for (qsizetype next = at; next < file->contexts.size(); ++next) {
        if (file->contexts.at(next).name == name)
            return &file->contexts[next];
    }
    TsContext made;
    made.name = name;
    file->contexts.insert(at, made);
    return &file->contexts[at];
}

// A message the scripts no longer use: the scripts' own retires (false when
// it goes), one another source uses loses the scripts' locations, and the
// rest stays as it is.
bool keepUnused(TsMessage *message, const Ownership &ownership, bool noObsolete, MergeCounts *counts)
{
    if (isScriptsOwn(*message, ownership)) {
        const bool kept = retire(message, noObsolete);
        ++(kept ? counts->vanished : counts->removed);
        return kept;
    }
    setLocations(message, otherLocations(*message, ownership));
    if (!message->locations.isEmpty())
        removeScriptsMark(message);
    return true;
}

// The scripts' own messages of the previous file that this one lacks.
QHash<QString, TsMessage> droppedMessages(const TsFile &file, const TsFile *previous, const MergeSettings &settings)
{
    QHash<QString, TsMessage> dropped;
    if (previous == nullptr)
        return dropped;
    const Ownership ownership = ownershipIn(*previous, settings.tsDirectory, settings.scripts);
    for (const TsContext &context : previous->contexts) {
        for (const TsMessage &message : context.messages) {
            if (isScriptsOwn(message, ownership))
                dropped.insert(messageKey(context.name, message.source, message.comment), message);
        }
    }
    for (const TsContext &context : file.contexts) {
        for (const TsMessage &message : context.messages)
            dropped.remove(messageKey(context.name, message.source, message.comment));
    }
    return dropped;
}

bool holdsScriptsMessage(const TsFile &file, const Ownership &ownership)
{
    for (const TsContext &context : file.contexts) {
        for (const TsMessage &message : context.messages) {
            if (isScriptsOwn(message, ownership)
                || otherLocations(message, ownership).size() != message.locations.size())
                return true;
        }
    }
    return false;
}

// What a dropped message, or context, leaves: what its leading holds
// besides white space goes to what follows it.
template <typename Piece>
void dropKeepingText(const Piece &piece, QString *carried)
{
    *carried += beforeTrailingWhitespace(piece.leading);
}

} // namespace

MergeCounts mergeMessages(TsFile *file, const QList<FoundMessage> &found, const MergeSettings &settings)
{
    MergeCounts counts;
    QHash<QString, qsizetype> index;
    const QList<Occurrences> grouped = groupedMessages(found, settings.tsDirectory, &index);
    const Ownership ownership = ownershipIn(*file, settings.tsDirectory, settings.scripts);
    const QHash<QString, TsMessage> dropped = droppedMessages(*file, settings.previous, settings);
    counts.found = int(grouped.size());
    counts.heldScripts = holdsScriptsMessage(*file, ownership);
    QList<bool> present(grouped.size(), false);
    QList<TsContext> contexts;
    QString carriedInFile;
    for (TsContext &context : file->contexts) {
        QList<TsMessage> kept;
        QString carried;
        for (TsMessage &message : context.messages) {
            const auto at = index.constFind(messageKey(context.name, message.source, message.comment));
            message.leading.prepend(carried);
            carried.clear();
            if (at != index.constEnd() && !present[*at]) {
                present[*at] = true;
                takeFromScripts(&message, grouped[*at].locations, ownership);
                kept.append(message);
            } else if (keepUnused(&message, ownership, settings.noObsolete, &counts)) {
                kept.append(message);
            } else {
                dropKeepingText(message, &carried);
            }
        }
        context.end.prepend(carried);
        context.leading.prepend(carriedInFile);
        carriedInFile.clear();
        // A context whose messages were all the scripts' goes with the last of
        // them, unless it holds something else.
        if (!kept.isEmpty() || context.messages.isEmpty() || context.holdsOther) {
            context.messages = kept;
            contexts.append(context);
        } else {
            dropKeepingText(context, &carriedInFile);
        }
    }
    file->end.prepend(carriedInFile);
    file->contexts = contexts;
    const int numerusForms = numerusFormCount(attributeValue(file->attributes, QStringLiteral("language")));
    for (qsizetype i = 0; i < grouped.size(); ++i) {
        if (present[i])
            continue;
        const QString key = messageKey(grouped[i].first.context, grouped[i].first.source, grouped[i].first.comment);
        const auto restorable = dropped.constFind(key);
        TsMessage message;
        if (restorable != dropped.constEnd()) {
            message = *restorable;
            message.leading = trailingWhitespace(message.leading);
            takeFromScripts(&message, grouped[i].locations, ownership);
            ++counts.restored;
        } else {
            message = newMessage(grouped[i], numerusForms);
            ++counts.added;
        }
        contextNamed(file, grouped[i].first.context)->messages.append(message);
    }
    return counts;
}
