#include "app/frontend.h"
#include "platform/platform.h"
#include "translation/catalogue.h"

int main(int argc, char **argv)
{
    argv = commandLineArguments(&argc, argv);
    if (initApplication(argc, argv))
        printTranslation(argc, argv);
    return 0;
}
