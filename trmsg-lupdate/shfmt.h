// Parses a script with shfmt --to-json.
#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QString>
#include <QStringList>

// fileName names the script in shfmt's messages and lets shfmt choose the
// dialect from its extension when dialect is empty (shfmt also reads the
// shebang). False with *error: shfmt's message, or why it did not run.
bool shfmtSyntaxTree(const QByteArray &utf8Script, const QString &fileName, const QString &dialect,
                     QJsonDocument *tree, QString *error);
// The shell scripts in a directory and below it, as shfmt -f finds them (by
// extension or shebang), in byte order of their paths. False with *error.
bool shfmtShellFiles(const QString &directory, QStringList *files, QString *error);
