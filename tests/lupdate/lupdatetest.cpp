#include "lupdatetest.h"

#include <QFile>
#include <QXmlStreamReader>

#include <sys/stat.h>

namespace {

QList<QByteArray> toBytes(const QStringList &list)
{
    QList<QByteArray> bytes;
    for (const QString &entry : list)
        bytes.append(entry.toUtf8());
    return bytes;
}

// The text of the element the reader is on, its <byte> elements read back.
QString textWithBytes(QXmlStreamReader &reader)
{
    QString text;
    for (int depth = 1; depth > 0 && !reader.atEnd();) {
        reader.readNext();
        if (reader.isCharacters()) {
            text += reader.text();
        } else if (reader.isStartElement()) {
            ++depth;
            if (reader.name() == u"byte")
                text += QChar(reader.attributes().value(QStringLiteral("value")).mid(1).toUInt(nullptr, 16));
        } else if (reader.isEndElement()) {
            --depth;
        }
    }
    return text;
}

} // namespace

ProcessResult runLupdate(const QStringList &arguments, const QByteArray &path, int fileSizeKiB)
{
    const QList<QByteArray> environment{"PATH=" + path, "LANG=C.UTF-8"};
    if (fileSizeKiB == 0)
        return runProgram(LUPDATE_BINARY, QList<QByteArray>{"trmsg-lupdate"} + toBytes(arguments), environment);
    const QByteArray limited = "ulimit -f " + QByteArray::number(fileSizeKiB) + "; exec \"$0\" \"$@\"";
    return runProgram(BASH_BINARY, QList<QByteArray>{"bash", "-c", limited, LUPDATE_BINARY} + toBytes(arguments),
                      environment);
}

ProcessResult runTool(const QByteArray &binary, const QStringList &arguments)
{
    return runProgram(binary, QList<QByteArray>{binary} + toBytes(arguments), {"PATH=/usr/bin:/bin", "LC_ALL=C.UTF-8"});
}

QByteArray lconvertBinary() { return LCONVERT_BINARY; }
QByteArray lreleaseBinary() { return LRELEASE_BINARY; }
QByteArray bashBinary() { return BASH_BINARY; }

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QByteArray fileIdentity(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return QByteArray("(missing)");
    return QByteArray::number(qulonglong(status.st_ino)) + ' ' + QByteArray::number(qlonglong(status.st_mtim.tv_sec))
           + '.' + QByteArray::number(qlonglong(status.st_mtim.tv_nsec));
}

QStringList messagesOf(const QByteArray &ts)
{
    QStringList messages;
    QXmlStreamReader reader(ts);
    QString context, source, comment;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"name")
            context = textWithBytes(reader);
        else if (reader.isStartElement() && reader.name() == u"source")
            source = textWithBytes(reader);
        else if (reader.isStartElement() && reader.name() == u"comment")
            comment = reader.readElementText();
        else if (reader.isEndElement() && reader.name() == u"message") {
            messages.append(context + u'|' + QString(source).replace(u'\n', QStringLiteral("\\n")) + u'|' + comment);
            source.clear();
            comment.clear();
        }
    }
    if (reader.hasError())
        messages.append(QStringLiteral("XML error: ") + reader.errorString());
    return messages;
}

QByteArray withTranslations(const QByteArray &ts, const QList<QPair<QString, QString>> &translations)
{
    QByteArray filled = ts;
    for (const auto &[source, translation] : translations) {
        const QByteArray from = "<source>" + source.toUtf8() + "</source>";
        const qsizetype at = filled.indexOf(from);
        const QByteArray unfinished = "<translation type=\"unfinished\"></translation>";
        const qsizetype slot = filled.indexOf(unfinished, at);
        if (at >= 0 && slot >= 0)
            filled.replace(slot, unfinished.size(), "<translation>" + translation.toUtf8() + "</translation>");
    }
    return filled;
}
