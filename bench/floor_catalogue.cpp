// The floor under a request on a big catalogue: Qt alone doing what trmsg's
// request does, with none of trmsg's own work. Linked like trmsg, it
// constructs the application object, loads <prefix>_<locale name> from
// $ZEZAVAVEV/lib/locale with QTranslator's own search and file loading,
// translates the message in its context and prints it in UTF-8.
//
//   floor_catalogue <prefix> <context> <message>
#include <QCoreApplication>
#include <QLocale>
#include <QTextCodec>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    // Never true: keeps Core5Compat among the libraries loaded at start-up.
    if (argc < 0)
        QTextCodec::codecForMib(106);
    if (argc < 4)
        return 2;
    new QCoreApplication(argc, argv);
    auto *translator = new QTranslator;
    const QString directory = QString::fromUtf8(std::getenv("ZEZAVAVEV")) + QStringLiteral("/lib/locale");
    if (translator->load(QString::fromUtf8(argv[1]) + u'_' + QLocale::system().name(), directory))
        QCoreApplication::installTranslator(translator);
    const QByteArray text = QCoreApplication::translate(argv[2], argv[3]).toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return 0;
}
