// The floor under every trmsg run: a program linked like trmsg that only
// constructs the application object, as trmsg does, and exits.
#include <QCoreApplication>
#include <QTextCodec>

int main(int argc, char **argv)
{
    // Never true: keeps Core5Compat among the libraries loaded at start-up,
    // as it is for trmsg, without calling into it.
    if (argc < 0)
        QTextCodec::codecForMib(106);
    new QCoreApplication(argc, argv); // never destroyed, as in trmsg
    return 0;
}
