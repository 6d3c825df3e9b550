// Qt's own answer to trmsg's question, for comparing the two on catalogues
// nobody here wrote. Run in the same environment as trmsg:
//
//   qtoracle <prefix> [<context> <message> <-|+> <comment>]...
//
// loads <prefix>_<locale name> from $ZEZAVAVEV/lib/locale with
// QTranslator::load(name, directory), as a Qt program would, then looks up
// each message (with its comment after "+", without one after "-"). Writes
// "L<file loaded>" or "R" (refused or not found), then "T<translation>" or
// "N" (no translation) per message, each field UTF-8 and NUL-terminated.
#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

void writeField(char kind, const QString &text)
{
    const QByteArray bytes = kind + text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()) + 1, stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || (argc - 2) % 4 != 0) {
        std::fputs("usage: qtoracle <prefix> [<context> <message> <-|+> <comment>]...\n", stderr);
        return 2;
    }
    const QString directory = QString::fromUtf8(std::getenv("ZEZAVAVEV")) + QStringLiteral("/lib/locale");
    const QString name = QString::fromUtf8(argv[1]) + u'_' + QLocale::system().name();
    QTranslator translator;
    const bool loaded = translator.load(name, directory);
    writeField(loaded ? 'L' : 'R', loaded ? translator.filePath() : QString());
    for (int i = 2; i < argc; i += 4) {
        const char *comment = argv[i + 2][0] == '+' ? argv[i + 3] : nullptr;
        const QString translation = translator.translate(argv[i], argv[i + 1], comment);
        writeField(translation.isNull() ? 'N' : 'T', translation);
    }
    return 0;
}
