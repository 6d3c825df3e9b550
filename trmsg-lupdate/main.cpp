// trmsg-lupdate: Qt translation sources from the trmsg calls in shell scripts.
#include "lupdate.h"
#include "options.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    LupdateOptions options;
    QString error;
    if (!parseOptions(QCoreApplication::arguments().mid(1), &options, &error)) {
        std::fprintf(stderr, "trmsg-lupdate: %s\n%s", error.toLocal8Bit().constData(),
                     usageText().toLocal8Bit().constData());
        return 2;
    }
    if (options.help) {
        std::fputs(usageText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("trmsg-lupdate %s\n", TRMSG_VERSION);
        return 0;
    }
    return runLupdate(options);
}
