#include "app/frontend.h"
#include "translation/catalogue.h"

int main(int argc, char **argv)
{
    if (initApplication(argc, argv))
        printTranslation(argc, argv);
    return 0;
}
