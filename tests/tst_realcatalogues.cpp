// trmsg against catalogues nobody here wrote (Debian's Qt and application
// catalogues), with Qt itself as the oracle: every catalogue, a sample of its
// messages in its own language, the same question asked of trmsg and of
// QTranslator in the same environment.
#include "processrun.h"
#include "qtarg.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Message
{
    QByteArray context, source, comment;
    bool translated = false; // a finished, non-empty translation in the catalogue
};

struct Request
{
    QByteArray context, source, comment;
    enum { NoComment, Comment } commentMode = NoComment;
    QList<QByteArray> arguments;
};

struct Catalogue
{
    QList<Message> messages;
    QStringList dependencies;
};

// The catalogue at path as lconvert reads it.
Catalogue readCatalogue(const QString &path)
{
    const ProcessResult ts = runProgram(TRMSG_LCONVERT, {"lconvert", "-i", QFile::encodeName(path), "-of", "ts", "-o", "-"}, {});
    Catalogue catalogue;
    QXmlStreamReader xml(ts.out);
    QByteArray context;
    Message message;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement()) {
            if (xml.isEndElement() && xml.name() == QLatin1String("message"))
                catalogue.messages.append(message);
            xml.readNext();
            continue;
        }
        const QStringView name = xml.name();
        if (name == QLatin1String("dependency")) {
            catalogue.dependencies.append(xml.attributes().value(QLatin1String("catalog")).toString());
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText().toUtf8();
        } else if (name == QLatin1String("message")) {
            message = Message{context, {}, {}, false};
        } else if (name == QLatin1String("source")) {
            message.source = xml.readElementText().toUtf8();
        } else if (name == QLatin1String("comment")) {
            message.comment = xml.readElementText().toUtf8();
        } else if (name == QLatin1String("translation")) {
            const bool finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            message.translated = !xml.readElementText(QXmlStreamReader::IncludeChildElements).isEmpty() && finished;
        }
    }
    return catalogue;
}

// A sample of what a script would ask of the catalogue: translated messages
// from its start, middle and end, a message with a line break, one with a
// comment (with it, without it, with an empty one) and one with markers,
// filled with arguments.
QList<Request> sampleRequests(const QList<Message> &messages)
{
    QList<Message> translated;
    for (const Message &message : messages) {
        if (message.translated)
            translated.append(message);
    }
    QList<Request> requests;
    if (translated.isEmpty())
        return requests;
    for (qsizetype at : {qsizetype(0), translated.size() / 2, translated.size() - 1}) {
        const Message &m = translated[at];
        requests.append({m.context, m.source, m.comment, m.comment.isEmpty() ? Request::NoComment : Request::Comment, {}});
    }
    const auto first = [&](auto predicate) {
        for (const Message &m : translated) {
            if (predicate(m))
                return &m;
        }
        return static_cast<const Message *>(nullptr);
    };
    if (const Message *m = first([](const Message &m) { return m.source.contains('\n'); }))
        requests.append({m->context, m->source, m->comment, Request::Comment, {}});
    if (const Message *m = first([](const Message &m) { return !m.comment.isEmpty(); })) {
        requests.append({m->context, m->source, m->comment, Request::Comment, {}});
        requests.append({m->context, m->source, {}, Request::NoComment, {}});
        requests.append({m->context, m->source, {}, Request::Comment, {}});
    }
    if (const Message *m = first([](const Message &m) { return m.source.contains("%1"); }))
        requests.append({m->context, m->source, m->comment, Request::Comment, {"<first \xc3\xa9>", "%1 second"}});
    return requests;
}

QList<QByteArray> trmsgOperands(const QByteArray &prefix, const Request &request)
{
    QByteArray message = request.source;
    message.replace('\n', '\x19'); // how a script writes a line break
    QList<QByteArray> operands{prefix, request.context, message};
    if (request.commentMode == Request::Comment || !request.arguments.isEmpty())
        operands.append(request.comment);
    return operands + request.arguments;
}

// Qt's answers: the file it loaded (empty when it loaded none), then one
// translation per request, null where it has none.
QStringList askQt(const QByteArray &prefix, const QList<Request> &requests, const QList<QByteArray> &environment)
{
    QList<QByteArray> arguments{"qtoracle", prefix};
    for (const Request &request : requests)
        arguments += {request.context, request.source, request.commentMode == Request::Comment ? "+" : "-", request.comment};
    const ProcessResult result = runProgram(TRMSG_QTORACLE, arguments, environment);
    QStringList answers;
    for (const QByteArray &field : result.out.split('\0')) {
        if (!field.isEmpty())
            answers.append(field.startsWith('L') || field.startsWith('T') ? QString::fromUtf8(field.mid(1)) : QString());
    }
    return answers;
}

// What trmsg must print for a request Qt answered with translation.
QByteArray expectedOutput(const Request &request, const QString &translation)
{
    QString text = translation.isNull() ? QString::fromUtf8(request.source) : translation;
    if (!request.arguments.isEmpty()) {
        QStringList arguments;
        for (const QByteArray &argument : request.arguments)
            arguments.append(QString::fromUtf8(argument));
        text = qtArg(text, arguments);
    }
    return text.toUtf8();
}

QString catalogueRoot()
{
    const QByteArray fromEnvironment = qgetenv("TRMSG_REAL_CATALOGUES");
    return QFile::decodeName(fromEnvironment.isEmpty() ? QByteArray(TRMSG_REAL_CATALOGUES) : fromEnvironment);
}

struct Figures
{
    int catalogues = 0, loadedByQt = 0, requests = 0, agreements = 0, translatedByQt = 0;
};

} // namespace

class RealCatalogues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void agreesWithQt_data();
    void agreesWithQt();
    void cleanupTestCase();

private:
    QTemporaryDir installations;
    QHash<QString, QByteArray> installationOf; // catalogue directory -> ZEZAVAVEV
    Figures figures;
};

void RealCatalogues::initTestCase()
{
    QDirIterator it(catalogueRoot(), {QStringLiteral("*.qm")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString directory = QFileInfo(it.next()).absolutePath();
        if (installationOf.contains(directory))
            continue;
        const QString installation = installations.filePath(QString::number(installationOf.size()));
        QVERIFY(QDir().mkpath(installation + QStringLiteral("/lib")));
        QVERIFY(QFile::link(directory, installation + QStringLiteral("/lib/locale")));
        installationOf.insert(directory, QFile::encodeName(installation));
    }
    if (installationOf.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no real catalogues in %1; scripts/fetch-real-catalogues fetches them")
                             .arg(catalogueRoot())));
}

void RealCatalogues::agreesWithQt_data()
{
    QTest::addColumn<QString>("path");
    QDirIterator it(catalogueRoot(), {QStringLiteral("*.qm")}, QDir::Files, QDirIterator::Subdirectories);
    QStringList paths;
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    for (const QString &path : paths)
        QTest::newRow(qPrintable(QDir(catalogueRoot()).relativeFilePath(path))) << path;
}

void RealCatalogues::agreesWithQt()
{
    QFETCH(QString, path);
    const QFileInfo file(path);
    const QString base = file.completeBaseName();
    const QRegularExpressionMatch named =
        QRegularExpression(QStringLiteral("^(.+?)_([a-z]{2,3}(?:_[A-Z]{2})?)$")).match(base);
    const QByteArray installation = installationOf.value(file.absolutePath());

    // A meta catalogue holds no messages: ask it for its dependencies' ones.
    Catalogue catalogue = readCatalogue(path);
    for (const QString &dependency : std::as_const(catalogue.dependencies))
        catalogue.messages += readCatalogue(file.absolutePath() + u'/' + dependency + QStringLiteral(".qm")).messages;
    const QList<Request> requests = sampleRequests(catalogue.messages);

    // As a script in the catalogue's language calls it: the product prefix
    // and LANG. Where that names another file (or the name has no plain
    // language), the whole base name, which the search cuts down to it.
    QByteArray prefix = named.hasMatch() ? named.captured(1).toUtf8() : base.toUtf8();
    QList<QByteArray> environment = localeEnvironment(named.hasMatch() ? named.captured(2).toUtf8() + ".UTF-8"
                                                                       : QByteArray("C.UTF-8"),
                                                      installation);
    QStringList answers = askQt(prefix, requests, environment);
    QCOMPARE(answers.size(), requests.size() + 1);
    if (!answers[0].isEmpty() && QFileInfo(answers[0]).canonicalFilePath() != file.canonicalFilePath()) {
        prefix = base.toUtf8();
        answers = askQt(prefix, requests, environment);
    }
    ++figures.catalogues;
    figures.loadedByQt += answers[0].isEmpty() ? 0 : 1;

    QStringList disagreements;
    for (qsizetype i = 0; i < requests.size(); ++i) {
        const Request &request = requests[i];
        const QString &translation = answers[i + 1];
        if (!request.arguments.isEmpty() && outsideCommonMarkerRules(translation, request.arguments.size()))
            continue; // Qt versions disagree on such markers among themselves
        const ProcessResult result = runTrmsg(trmsgOperands(prefix, request), environment);
        const QByteArray expected = expectedOutput(request, translation);
        ++figures.requests;
        figures.translatedByQt += translation.isNull() ? 0 : 1;
        if (result.out == expected && result.err.isEmpty() && result.exitStatus == 0)
            ++figures.agreements;
        else
            disagreements.append(QStringLiteral("%1 / %2: Qt %3, trmsg %4")
                                     .arg(QString::fromUtf8(request.context), QString::fromUtf8(request.source),
                                          QString::fromUtf8(expected), QString::fromUtf8(result.out + result.err)));
    }
    QVERIFY2(disagreements.isEmpty(), qPrintable(disagreements.join(u'\n')));
}

void RealCatalogues::cleanupTestCase()
{
    qInfo("%d catalogues, %d loaded by Qt; %d requests, %d translated by Qt; trmsg agreed on %d",
          figures.catalogues, figures.loadedByQt, figures.requests, figures.translatedByQt, figures.agreements);
}

QTEST_GUILESS_MAIN(RealCatalogues)
#include "tst_realcatalogues.moc"
