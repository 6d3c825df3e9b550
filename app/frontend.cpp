#include "app/frontend.h"

#include "localecodec/localecodec.h"
#include "localediag/localediag.h"
#include "platform/platform.h"
#include "translation/catalogue.h"
#include "translation/request.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The application object's own copy of the argument count and vector: Qt may
// strip arguments it takes for its own and compact the vector, and keeps a
// reference to the count for as long as it lives.
int applicationCount;
char **applicationVector;

// Qt's own warnings are not trmsg's to print: standard error carries only
// trmsg's error line and usage text.
void discardToolkitMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

void createApplication(int count, char **vector)
{
    keepStandardStreamsUsable();
    qInstallMessageHandler(discardToolkitMessage);
    chooseLocaleCodec();
    applicationCount = count;
    applicationVector = new char *[size_t(count) + 1];
    std::copy(vector, vector + count, applicationVector);
    applicationVector[count] = nullptr;
    new QCoreApplication(applicationCount, applicationVector);
}

bool isOption(const char *operand, const char *option)
{
    return std::strcmp(operand, option) == 0;
}

// Chooses and runs the command for count - 1 operands. True when a
// translation request is ready to print.
bool dispatchCommand(int count, char **vector)
{
    const int operands = count - 1;
    if (operands <= 0) {
        printLocaleReport();
        return false;
    }
    if (operands == 1) {
        if (isOption(vector[1], "--help")) {
            printUsage(programPath(count, vector));
        } else if (isOption(vector[1], "--mimename")) {
            printMimeName();
        } else {
            printLocaleReport();
            printCodePointRange(vector[1]);
        }
        return false;
    }
    if (operands == 2 && isOption(vector[1], "--utf8")) {
        printUtf8Escaped(vector[2]);
        return false;
    }
    if (!parseRequestArguments(count, vector)) {
        printUsage(programPath(count, vector)); // too few operands, or a malformed count
        return false;
    }
    loadCatalogue();
    return true;
}

} // namespace

const char *programPath(int count, char **vector)
{
    return count > 0 && vector[0] ? vector[0] : "";
}

void reportError(const char *programPath, const QString &text)
{
    QByteArray line(programPath);
    line += ' ';
    line += text.toLatin1();
    line += '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

void printUsage(const char *programPath)
{
    const QString text = QLatin1String("Usage:\n  ") + QString::fromLatin1(programPath)
        + QLatin1String(" <translation-file-prefix> <context> <message> [<comment> [<message args...>]]\n"
                        "   or w/o any args to give Unicode Mib and Mime name for current locale\n"
                        "   or <min>..<max>\n"
                        "    (an hexa range of unicode positions to be printed out in 8-bits locale)\n"
                        "   or --utf8 <local-encoded-string>\n"
                        "    (encode the string from 8-bits locale to utf8 backslashed hexa to be used\n"
                        "     in a C/C++ program)\n"
                        "   or --mimename\n"
                        "    (only emits the Unicode Mime name for current locale)\n"
                        "   or --help (print this message)\n");
    reportError(programPath, text);
}

bool initApplication(int count, char **vector)
{
    createApplication(count, vector);
    QString installation;
    if (!installationDirectory(&installation)) {
        reportError(programPath(count, vector),
                    QLatin1String("Fatal Error: ZEZAVAVEV environment variable not set"));
        return false;
    }
    catalogueDirectory = catalogueDirectoryFor(installation);
    return dispatchCommand(count, vector);
}
