// The product's program: its messages come from the same catalogue as its
// installer's, lib/locale/app_<language>.qm below ZEZAVAVEV.
#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTranslator translator;
    if (translator.load(QLocale(), QStringLiteral("app"), QStringLiteral("_"),
                        qEnvironmentVariable("ZEZAVAVEV") + QStringLiteral("/lib/locale")))
        QCoreApplication::installTranslator(&translator);
    const QString greeting = QCoreApplication::translate("Main", "Zeza is ready.");
    std::printf("%s\n", greeting.toUtf8().constData());
    //: Shown when the program stops; the installer says it too.
    std::printf("%s\n", QCoreApplication::translate("Main", "Goodbye").toUtf8().constData());
    return 0;
}
