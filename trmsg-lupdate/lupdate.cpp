#include "lupdate.h"

#include "callrules.h"
#include "extraction.h"
#include "scriptsource.h"
#include "shfmt.h"
#include "syntaxwalk.h"
#include "tsupdate.h"

#include "localecodec/localecodec.h"

#include <QFileInfo>

#include <cstdio>

namespace {

struct ParsedScripts
{
    QList<QList<ShellCommand>> commands; // one list per script
    QList<ShellFunction> functions;
};

void printError(const QString &message)
{
    std::fprintf(stderr, "trmsg-lupdate: %s\n", unicodeToLocal(message).constData());
}

bool parseScripts(const LupdateOptions &options, QTextCodec *codec, ParsedScripts *parsed, QString *error)
{
    for (qsizetype i = 0; i < options.scripts.size(); ++i) {
        QByteArray utf8;
        QJsonDocument tree;
        if (!readScriptAsUtf8(options.scripts.at(i), codec, &utf8, error)
            || !shfmtSyntaxTree(utf8, options.scripts.at(i), options.dialect, &tree, error))
            return false;
        parsed->commands.append(QList<ShellCommand>());
        collectCommands(tree.object(), int(i), &parsed->commands.last(), &parsed->functions);
    }
    return true;
}

bool keywordRules(const QStringList &keywords, CallRules *rules, QString *error)
{
    for (const QString &keyword : keywords) {
        QString name;
        CallRule rule;
        if (!parseKeyword(keyword, &name, &rule)) {
            *error = QStringLiteral("-keyword %1: expected NAME:CONTEXT,MESSAGE[,COMMENT] with distinct operand "
                                    "positions from 1")
                         .arg(keyword);
            return false;
        }
        rules->insert(name, rule);
    }
    return true;
}

QList<FoundMessage> extractAll(const LupdateOptions &options, QTextCodec *codec, const ParsedScripts &parsed)
{
    CallRules rules;
    QString unused;
    keywordRules(options.keywords, &rules, &unused);
    QSet<CommandId> wrapperBodies;
    addWrapperRules(parsed.functions, codec, &rules, &wrapperBodies);
    QList<FoundMessage> found;
    QStringList warnings;
    for (qsizetype i = 0; i < options.scripts.size(); ++i) {
        const ExtractionInput input{options.scripts.at(i), QFileInfo(options.scripts.at(i)).absoluteFilePath(), codec,
                                    options.prefix};
        extractMessages(parsed.commands.at(i), rules, wrapperBodies, input, &found, &warnings);
    }
    for (const QString &warning : warnings)
        std::fprintf(stderr, "%s\n", unicodeToLocal(warning).constData());
    return found;
}

// A directory stands for the shell scripts in it and below it. One that
// holds none is an error: its scripts' messages would all vanish.
bool expandDirectories(const QStringList &operands, QStringList *scripts, QString *error)
{
    for (const QString &operand : operands) {
        if (!QFileInfo(operand).isDir()) {
            scripts->append(operand);
            continue;
        }
        const qsizetype before = scripts->size();
        if (!shfmtShellFiles(operand, scripts, error))
            return false;
        if (scripts->size() == before) {
            *error = QStringLiteral("%1: no shell script in this directory").arg(operand);
            return false;
        }
    }
    return true;
}

} // namespace

int runLupdate(const LupdateOptions &givenOptions)
{
    QString error;
    LupdateOptions options = givenOptions;
    options.scripts.clear();
    if (!expandDirectories(givenOptions.scripts, &options.scripts, &error)) {
        printError(error);
        return 1;
    }
    QTextCodec *codec = nullptr;
    CallRules checked;
    if (!sourceCodec(options.sourceEncoding, &codec))
        error = QStringLiteral("-source-encoding: Qt has no codec named '%1'").arg(options.sourceEncoding);
    ParsedScripts parsed;
    if (!error.isEmpty() || !keywordRules(options.keywords, &checked, &error)
        || !parseScripts(options, codec, &parsed, &error)) {
        printError(error);
        return 1;
    }
    const QList<FoundMessage> found = extractAll(options, codec, parsed);
    QList<TsUpdate> updates(options.tsFiles.size());
    for (qsizetype i = 0; i < options.tsFiles.size(); ++i) {
        if (!prepareTsUpdate(options.tsFiles.at(i), found, options, &updates[i], &error)) {
            printError(error);
            return 1;
        }
    }
    for (const TsUpdate &update : updates) {
        if (!writeTsUpdate(update, &error)) {
            printError(error);
            return 1;
        }
        if (!options.silent)
            std::fputs(unicodeToLocal(updateSummary(update)).constData(), stderr);
        if (!update.warning.isEmpty())
            printError(update.warning);
    }
    return 0;
}
