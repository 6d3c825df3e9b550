#include "options.h"

namespace {

bool takeValue(const QStringList &arguments, qsizetype *i, QString *value, QString *error)
{
    if (*i + 1 >= arguments.size()) {
        *error = QStringLiteral("%1 needs a value").arg(arguments.at(*i));
        return false;
    }
    *value = arguments.at(++*i);
    return true;
}

bool setLocations(const QString &value, LupdateOptions *options, QString *error)
{
    options->locationsGiven = true;
    if (value == u"absolute")
        options->locations = LocationStyle::Absolute;
    else if (value == u"relative")
        options->locations = LocationStyle::Relative;
    else if (value == u"none")
        options->locations = LocationStyle::None;
    else
        *error = QStringLiteral("-locations takes absolute, relative or none, not '%1'").arg(value);
    return error->isEmpty();
}

bool takeOption(const QStringList &arguments, qsizetype *i, LupdateOptions *options, QString *error)
{
    const QString &option = arguments.at(*i);
    QString value;
    if (option == u"-help" || option == u"--help" || option == u"-h")
        options->help = true;
    else if (option == u"-version" || option == u"--version")
        options->version = true;
    else if (option == u"-no-obsolete")
        options->noObsolete = true;
    else if (option == u"-silent")
        options->silent = true;
    else if (!QStringList{QStringLiteral("-ln"), QStringLiteral("-prefix"), QStringLiteral("-keyword"), QStringLiteral("-source-encoding"), QStringLiteral("-locations"),
                          QStringLiteral("-target-language"), QStringLiteral("-previous"), QStringLiteral("-source-language")}.contains(option)) {
        *error = QStringLiteral("unknown option %1").arg(option);
        return false;
    } else if (!takeValue(arguments, i, &value, error)) {
        return false;
    } else if (option == u"-ln") {
        options->dialect = value;
        if (!QStringList{QStringLiteral("bash"), QStringLiteral("posix"), QStringLiteral("mksh"), QStringLiteral("bats")}.contains(value))
            *error = QStringLiteral("-ln takes bash, posix, mksh or bats, not '%1'").arg(value);
    } else if (option == u"-prefix") {
        options->prefix = value;
    } else if (option == u"-keyword") {
        options->keywords.append(value);
    } else if (option == u"-source-encoding") {
        options->sourceEncoding = value;
    } else if (option == u"-locations") {
        return setLocations(value, options, error);
    } else if (option == u"-previous") {
        options->previousDirectory = value;
    } else if (option == u"-target-language") {
        options->targetLanguage = value;
    } else {
        options->sourceLanguage = value;
    }
    return error->isEmpty();
}

} // namespace

bool parseOptions(const QStringList &arguments, LupdateOptions *options, QString *error)
{
    bool inTsList = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"-ts") {
            inTsList = true;
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            inTsList = false;
            if (!takeOption(arguments, &i, options, error))
                return false;
        } else {
            (inTsList ? options->tsFiles : options->scripts).append(argument);
        }
    }
    if (options->help || options->version)
        return true;
    if (options->scripts.isEmpty() || options->tsFiles.isEmpty()) {
        *error = options->scripts.isEmpty() ? QStringLiteral("no script given") : QStringLiteral("no -ts file given");
        return false;
    }
    return true;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: trmsg-lupdate [options] SCRIPT|DIRECTORY... -ts FILE.ts...\n"
        "Extracts the messages of the trmsg calls in shell scripts into Qt translation\n"
        "sources, creating them or updating them while keeping their translations.\n"
        "A directory stands for the shell scripts in and below it. Only the scripts'\n"
        "messages change: those of C++, QML and other sources stay as they are.\n"
        "\n"
        "Options:\n"
        "  -ln bash|posix|mksh|bats   the scripts' dialect (default: shfmt's choice\n"
        "                             from the shebang and the file name)\n"
        "  -prefix NAME               only calls with the catalogue prefix NAME\n"
        "  -keyword NAME:C,M[,K]      NAME is a command whose operand C is the\n"
        "                             context, M the message and K the comment\n"
        "  -source-encoding NAME      the scripts' character set (default: UTF-8)\n"
        "  -locations absolute|relative|none\n"
        "                             how source locations are written (default:\n"
        "                             as in the existing file, none in one with\n"
        "                             messages and no location, else absolute)\n"
        "  -no-obsolete               drop messages no longer found\n"
        "  -previous DIRECTORY        a copy of each .ts file, by its name, from before\n"
        "                             Qt's lupdate ran: the scripts' messages it\n"
        "                             dropped come back from there\n"
        "  -target-language LANG      the language attribute (default: guessed from\n"
        "                             the file name when a file is created)\n"
        "  -source-language LANG      the sourcelanguage attribute\n"
        "  -silent                    no summary on standard error\n"
        "  -help, -version\n");
}
