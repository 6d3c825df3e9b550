#include "shfmt.h"

#include <QFile>
#include <QJsonParseError>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace {

bool runShfmt(const QString &program, const QStringList &arguments, const QByteArray &input, QByteArray *output,
              QString *error)
{
    QProcess shfmt;
    shfmt.start(program, arguments);
    if (!shfmt.waitForStarted(-1)) {
        *error = QStringLiteral("cannot run %1: %2").arg(program, shfmt.errorString());
        return false;
    }
    shfmt.write(input);
    shfmt.closeWriteChannel();
    shfmt.waitForFinished(-1);
    *output = shfmt.readAllStandardOutput();
    if (shfmt.exitStatus() == QProcess::NormalExit && shfmt.exitCode() == 0)
        return true;
    *error = QString::fromUtf8(shfmt.readAllStandardError()).trimmed();
    if (error->isEmpty())
        *error = QStringLiteral("shfmt failed (exit status %1)").arg(shfmt.exitCode());
    return false;
}

QString shfmtProgram(QString *error)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("shfmt"));
    if (program.isEmpty())
        *error = QStringLiteral("shfmt is not installed (Debian package shfmt: apt-get install shfmt)");
    return program;
}

} // namespace

bool shfmtShellFiles(const QString &directory, QStringList *files, QString *error)
{
    const QString program = shfmtProgram(error);
    QByteArray listing;
    if (program.isEmpty() || !runShfmt(program, {QStringLiteral("-f"), directory}, QByteArray(), &listing, error))
        return false;
    QList<QByteArray> names = listing.split('\n');
    names.removeAll(QByteArray());
    std::sort(names.begin(), names.end());
    for (const QByteArray &name : names)
        files->append(QFile::decodeName(name));
    return true;
}

bool shfmtSyntaxTree(const QByteArray &utf8Script, const QString &fileName, const QString &dialect,
                     QJsonDocument *tree, QString *error)
{
    const QString program = shfmtProgram(error);
    if (program.isEmpty())
        return false;
    QStringList arguments{QStringLiteral("--to-json"), QStringLiteral("--filename"), fileName};
    if (!dialect.isEmpty())
        arguments << QStringLiteral("-ln") << dialect;
    QByteArray json;
    if (!runShfmt(program, arguments, utf8Script, &json, error)) {
        if (error->contains(u"invalid UTF-8"))
            *error += QStringLiteral(" (a script in another character set needs -source-encoding)");
        return false;
    }
    QJsonParseError parseError;
    *tree = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error == QJsonParseError::NoError)
        return true;
    *error = QStringLiteral("%1: cannot read shfmt's syntax tree: %2").arg(fileName, parseError.errorString());
    return false;
}
