#include "tslayout.h"

#include <optional>

namespace {

qsizetype trailingWhitespaceStart(const QString &text)
{
    qsizetype at = text.size();
    while (at > 0 && text.at(at - 1).isSpace())
        --at;
    return at;
}

// The first line end the file shows, in its head or its first context.
QString newlineOf(const TsFile &file)
{
    QString sample = file.head;
    if (!file.contexts.isEmpty())
        sample += file.contexts.first().leading + file.contexts.first().head;
    sample += file.end;
    const qsizetype at = sample.indexOf(u'\n');
    return at > 0 && sample.at(at - 1) == u'\r' ? QStringLiteral("\r\n") : QStringLiteral("\n");
}

const TsMessage *firstMessage(const TsFile &file)
{
    for (const TsContext &context : file.contexts) {
        if (!context.messages.isEmpty())
            return &context.messages.first();
    }
    return nullptr;
}

// The white space before the first <numerusform> of the file.
std::optional<QString> formLeadingOf(const TsFile &file)
{
    for (const TsContext &context : file.contexts) {
        for (const TsMessage &message : context.messages) {
            for (const TsMessagePart &part : message.parts) {
                const qsizetype at = part.kind == TsMessagePart::Translation ? part.xml.indexOf(u"<numerusform") : -1;
                if (at >= 0)
                    return trailingWhitespace(part.xml.left(at));
            }
        }
    }
    return std::nullopt;
}

// The form of the file's first empty translation or numerus form.
std::optional<bool> selfClosingEmptyOf(const TsFile &file)
{
    for (const TsContext &context : file.contexts) {
        for (const TsMessage &message : context.messages) {
            for (const TsMessagePart &part : message.parts) {
                if (part.kind != TsMessagePart::Translation)
                    continue;
                if (part.xml.size() == part.startTagSize)
                    return true;
                if (part.xml.endsWith(u"></translation>") && part.xml.size() == part.startTagSize + 14)
                    return false;
                const qsizetype empty = part.xml.indexOf(u"<numerusform/>");
                const qsizetype closed = part.xml.indexOf(u"<numerusform></numerusform>");
                if (empty >= 0 || closed >= 0)
                    return closed < 0 || (empty >= 0 && empty < closed);
            }
        }
    }
    return std::nullopt;
}

bool containsOutsideTags(QStringView xml, QChar c)
{
    bool inTag = false;
    for (QChar x : xml) {
        if (x == u'<' || x == u'>')
            inTag = x == u'<';
        else if (!inTag && x == c)
            return true;
    }
    return false;
}

// Whether the file's text writes c as it is rather than as entity.
bool writesRaw(const TsFile &file, QChar c, QStringView entity)
{
    bool raw = false;
    for (const TsContext &context : file.contexts) {
        for (const TsMessage &message : context.messages) {
            for (const TsMessagePart &part : message.parts) {
                if (part.kind == TsMessagePart::Location || part.kind == TsMessagePart::Other)
                    continue;
                const QStringView content = QStringView(part.xml).mid(part.startTagSize);
                if (content.contains(entity))
                    return false;
                raw = raw || containsOutsideTags(content, c);
            }
        }
    }
    return raw;
}

QString indentOf(const QString &leading)
{
    return leading.mid(leading.lastIndexOf(u'\n') + 1);
}

} // namespace

QString trailingWhitespace(const QString &text)
{
    return text.mid(trailingWhitespaceStart(text));
}

QString beforeTrailingWhitespace(const QString &text)
{
    return text.left(trailingWhitespaceStart(text));
}

TsLayout layoutOf(const TsFile &file)
{
    TsLayout layout;
    layout.newline = newlineOf(file);
    std::optional<QString> context, message, part;
    if (!file.contexts.isEmpty())
        context = trailingWhitespace(file.contexts.first().leading);
    if (const TsMessage *first = firstMessage(file)) {
        message = trailingWhitespace(first->leading);
        if (!first->parts.isEmpty())
            part = trailingWhitespace(first->parts.first().leading);
    }
    // One level's indentation more than the one before, as far as the file shows it.
    QString unit = QStringLiteral("    ");
    if (message && part && part->startsWith(*message) && part->size() > message->size())
        unit = part->mid(message->size());
    else if (context && message && message->startsWith(*context) && message->size() > context->size())
        unit = message->mid(context->size());
    else if (context && !indentOf(*context).isEmpty())
        unit = indentOf(*context);
    layout.contextLeading = context.value_or(layout.newline);
    layout.messageLeading = message.value_or(layout.contextLeading + unit);
    layout.partLeading = part.value_or(layout.messageLeading + unit);
    layout.formLeading = formLeadingOf(file).value_or(layout.partLeading + unit);
    layout.selfClosingEmpty = selfClosingEmptyOf(file).value_or(false);
    layout.rawApostrophe = writesRaw(file, u'\'', u"&apos;");
    layout.rawQuote = writesRaw(file, u'"', u"&quot;");
    return layout;
}
