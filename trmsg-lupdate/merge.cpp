#include "merge.h"

#include "languages.h"

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
    setAttribute(&message->translationAttributes, QStringLiteral("type"), type);
}

// A message found again: back to finished or unfinished if it had vanished.
void refresh(TsMessage *message, const QList<TsLocation> &locations)
{
    message->locations = locations;
    const QString type = translationType(*message);
    if (type == u"vanished")
        setTranslationType(message, QString());
    else if (type == u"obsolete")
        setTranslationType(message, QStringLiteral("unfinished"));
}

// A message no longer found: kept as vanished (finished) or obsolete
// (unfinished) when it has a translation, as Qt's lupdate keeps it; false
// when it goes.
bool retire(TsMessage *message, bool noObsolete)
{
    const QString type = translationType(*message);
    if (noObsolete || !message->translated)
        return false;
    message->locations.clear();
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
    message.parts.append({TsMessagePart::Source, QString()});
    if (!message.comment.isEmpty())
        message.parts.append({TsMessagePart::Comment, QString()});
    message.parts.append({TsMessagePart::Translation, QString()});
    message.translationAttributes.append({QStringLiteral("type"), QStringLiteral("unfinished")});
    if (message.source.contains(u"%n")) {
        message.attributes.append({QStringLiteral("numerus"), QStringLiteral("yes")});
        for (int i = 0; i < numerusForms; ++i)
            message.translationXml += QStringLiteral("\n            <numerusform></numerusform>");
        message.translationXml += QStringLiteral("\n        ");
    }
    return message;
}

TsContext *contextNamed(TsFile *file, const QString &name)
{
    for (TsContext &context : file->contexts) {
        if (context.name == name)
            return &context;
    }
    file->contexts.append({name, {}, {}});
    return &file->contexts.last();
}

} // namespace

MergeCounts mergeMessages(TsFile *file, const QList<FoundMessage> &found, const MergeSettings &settings)
{
    MergeCounts counts;
    QHash<QString, qsizetype> index;
    const QList<Occurrences> grouped = groupedMessages(found, settings.tsDirectory, &index);
    counts.found = int(grouped.size());
    QList<bool> present(grouped.size(), false);
    for (TsContext &context : file->contexts) {
        QList<TsMessage> kept;
        for (TsMessage &message : context.messages) {
            const auto at = index.constFind(messageKey(context.name, message.source, message.comment));
            if (at != index.constEnd() && !present[*at]) {
                present[*at] = true;
                refresh(&message, grouped[*at].locations);
                kept.append(message);
            } else if (retire(&message, settings.noObsolete)) {
                ++counts.vanished;
                kept.append(message);
            } else {
                ++counts.removed;
            }
        }
        context.messages = kept;
    }
    const int numerusForms = numerusFormCount(attributeValue(file->attributes, QStringLiteral("language")));
    for (qsizetype i = 0; i < grouped.size(); ++i) {
        if (present[i])
            continue;
        contextNamed(file, grouped[i].first.context)->messages.append(newMessage(grouped[i], numerusForms));
        ++counts.added;
    }
    file->contexts.removeIf([](const TsContext &context) { return context.messages.isEmpty(); });
    std::stable_sort(file->contexts.begin(), file->contexts.end(),
                     [](const TsContext &a, const TsContext &b) { return a.name < b.name; });
    return counts;
}
