// Filling markers with arguments. Properties: text from an argument is never
// read again (substituting with marker-free stand-ins and then putting the
// real arguments in their place gives the same result), and for up to nine
// marker-free arguments the result is Qt's multi-argument QString::arg.
#include "translation/substitution.h"

#include <QList>

#include <cstdlib>

namespace {

QString qtArg(const QString &text, const QStringList &a)
{
    switch (a.size()) {
    case 1: return text.arg(a[0]);
    case 2: return text.arg(a[0], a[1]);
    case 3: return text.arg(a[0], a[1], a[2]);
    case 4: return text.arg(a[0], a[1], a[2], a[3]);
    case 5: return text.arg(a[0], a[1], a[2], a[3], a[4]);
    case 6: return text.arg(a[0], a[1], a[2], a[3], a[4], a[5]);
    case 7: return text.arg(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
    case 8: return text.arg(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
    default: return text.arg(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
    }
}

// Where Qt versions disagree among themselves, Qt is no oracle: Qt 6.4 reads
// markers of three or more digits (trmsg, like later Qt, two), and its
// single-argument arg() takes any character with a digit value (U+00B9, say)
// for a digit (trmsg, like the multi-argument arg(), ASCII digits only).
bool outsideCommonMarkerRules(const QString &text)
{
    int run = 0;
    for (QChar c : text) {
        if (c.digitValue() >= 0 && c.unicode() > 0x7f)
            return true;
        run = c.digitValue() >= 0 ? run + 1 : 0;
        if (run == 3)
            return true;
    }
    return false;
}

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
    if (!arguments.isEmpty() && arguments.size() <= 9 && markerFree && !outsideCommonMarkerRules(text)
        && qtArg(text, arguments) != result)
        std::abort();
    return 0;
}
