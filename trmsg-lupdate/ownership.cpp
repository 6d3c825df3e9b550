#include "ownership.h"

#include "tslayout.h"

#include <QDir>

#include <algorithm>

namespace {

const QString scriptsMark = QStringLiteral("<extra-trmsg>script</extra-trmsg>");

bool hasShellExtension(const QString &fileName)
{
    static const QStringList extensions{QStringLiteral(".sh"),  QStringLiteral(".bash"), QStringLiteral(".ksh"),
                                        QStringLiteral(".zsh"), QStringLiteral(".mksh"), QStringLiteral(".bats"),
                                        QStringLiteral(".dash")};
    return std::any_of(extensions.cbegin(), extensions.cend(),
                       [&](const QString &extension) { return fileName.endsWith(extension); });
}

// A location names a shell script: one of this run's, or by its extension.
bool isScriptLocation(const TsLocation &location, const Ownership &ownership)
{
    return ownership.scripts.contains(location.fileName) || hasShellExtension(location.fileName);
}

bool isScriptsMark(const TsMessagePart &part)
{
    return part.kind == TsMessagePart::Other
           && (part.xml.startsWith(u"<extra-trmsg>") || part.xml.startsWith(u"<extra-trmsg "));
}

bool fileHasMark(const TsFile &file)
{
    for (const TsContext &context : file.contexts) {
        if (std::any_of(context.messages.cbegin(), context.messages.cend(), hasScriptsMark))
            return true;
    }
    return false;
}

} // namespace

Ownership ownershipIn(const TsFile &file, const QString &tsDirectory, const QStringList &scripts)
{
    Ownership ownership;
    const QDir directory(tsDirectory);
    for (const QString &script : scripts)
        ownership.scripts.insert(directory.relativeFilePath(script));
    ownership.unmarkedFile = !fileHasMark(file);
    return ownership;
}

bool hasScriptsMark(const TsMessage &message)
{
    return std::any_of(message.parts.cbegin(), message.parts.cend(), isScriptsMark);
}

void addScriptsMark(TsMessage *message)
{
    if (hasScriptsMark(*message))
        return;
    TsMessagePart mark;
    mark.made = true;
    mark.xml = scriptsMark;
    message->parts.append(mark);
}

void removeScriptsMark(TsMessage *message)
{
    QList<TsMessagePart> &parts = message->parts;
    for (qsizetype i = parts.size() - 1; i >= 0; --i) {
        if (!isScriptsMark(parts.at(i)))
            continue;
        // What its leading holds besides white space stays.
        const QString kept = beforeTrailingWhitespace(parts.at(i).leading);
        (i + 1 < parts.size() ? parts[i + 1].leading : message->end).prepend(kept);
        parts.removeAt(i);
    }
}

QList<TsLocation> otherLocations(const TsMessage &message, const Ownership &ownership)
{
    QList<TsLocation> others;
    for (const TsLocation &location : message.locations) {
        if (!isScriptLocation(location, ownership))
            others.append(location);
    }
    return others;
}

bool isScriptsOwn(const TsMessage &message, const Ownership &ownership)
{
    if (!otherLocations(message, ownership).isEmpty())
        return false;
    return hasScriptsMark(message) || (ownership.unmarkedFile && !message.locations.isEmpty());
}
