// Filling markers with arguments. Properties: text from an argument is never
// read again (substituting with marker-free stand-ins and then putting the
// real arguments in their place gives the same result), and for up to nine
// marker-free arguments the result is Qt's multi-argument QString::arg.
#include "qtarg.h"
#include "translation/substitution.h"

#include <QList>

#include <cstdlib>

namespace {

// Stand-in k: one private-use character, which holds no marker.
QChar standIn(qsizetype k) { return QChar(char16_t(0xe000 + k)); }

bool isStandIn(QChar c) { return c.unicode() >= 0xe000 && c.unicode() < 0xe000 + 64; }

QString putArgumentsBack(const QString &withStandIns, const QStringList &arguments)
{
    QString result;
    for (QChar c : withStandIns) {
        const qsizetype k = c.unicode() - 0xe000;
        if (isStandIn(c) && k < arguments.size())
            result += arguments.at(k);
        else
            result += c;
    }
    return result;
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QtMessageHandler previous = qInstallMessageHandler(quiet);
    Q_UNUSED(previous);
    // The text, then the arguments, separated by NUL bytes.
    const QList<QByteArray> parts = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    const QString text = QString::fromUtf8(parts.first());
    if (parts.size() > 64 || std::any_of(text.cbegin(), text.cend(), [](QChar c) { return isStandIn(c); }))
        return 0;
    QStringList arguments;
    QStringList standIns;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        arguments.append(QString::fromUtf8(parts[i]));
        standIns.append(standIn(i - 1));
    }
    const QString result = substituteArguments(text, arguments);
    if (putArgumentsBack(substituteArguments(text, standIns), arguments) != result)
        std::abort();
    const bool markerFree = std::none_of(arguments.cbegin(), arguments.cend(),
                                         [](const QString &a) { return a.contains(u'%'); });
    if (!arguments.isEmpty() && arguments.size() <= 9 && markerFree && !outsideCommonMarkerRules(text, arguments.size())
        && qtArg(text, arguments) != result)
        std::abort();
    return 0;
}
