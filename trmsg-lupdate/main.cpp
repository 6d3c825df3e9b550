// trmsg-lupdate: Qt translation sources from the trmsg calls in shell scripts.
#include "lupdate.h"
#include "options.h"

#include "localecodec/localecodec.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char **argv)
{
    // Past the file-size limit a write then fails (EFBIG), and the update
    // reports it and removes its temporary file, rather than the process
    // being killed with the temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    chooseLocaleCodec(); // before Qt: its messages go out in the locale's encoding
    QCoreApplication application(argc, argv);
    LupdateOptions options;
    QString error;
    if (!parseOptions(QCoreApplication::arguments().mid(1), &options, &error)) {
        std::fprintf(stderr, "trmsg-lupdate: %s\n%s", unicodeToLocal(error).constData(),
                     unicodeToLocal(usageText()).constData());
        return 2;
    }
    if (options.help) {
        std::fputs(unicodeToLocal(usageText()).constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("trmsg-lupdate %s\n", TRMSG_VERSION);
        return 0;
    }
    return runLupdate(options);
}
