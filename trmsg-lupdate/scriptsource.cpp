#include "scriptsource.h"

#include <QFile>
#include <QTextCodec>

bool sourceCodec(const QString &name, QTextCodec **codec)
{
    *codec = nullptr;
    if (name.isEmpty())
        return true;
    QTextCodec *found = QTextCodec::codecForName(name.toLatin1());
    if (!found)
        return false;
    if (found->mibEnum() != 106) // UTF-8 goes to shfmt as it is
        *codec = found;
    return true;
}

bool readScriptAsUtf8(const QString &path, QTextCodec *codec, QByteArray *utf8, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: cannot read: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > maximumScriptBytes) {
        *error = QStringLiteral("%1: too big (%2 bytes; scripts up to %3 bytes are read)")
                     .arg(path).arg(file.size()).arg(maximumScriptBytes);
        return false;
    }
    const QByteArray bytes = file.read(maximumScriptBytes + 1);
    if (bytes.size() > maximumScriptBytes || file.error() != QFile::NoError) {
        *error = QStringLiteral("%1: cannot read: %2").arg(path, file.errorString());
        return false;
    }
    *utf8 = codec ? codec->toUnicode(bytes).toUtf8() : bytes;
    return true;
}
