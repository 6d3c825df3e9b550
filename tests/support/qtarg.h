// Qt's own QString::arg as an oracle for trmsg's marker substitution, and
// where it cannot serve as one.
#pragma once

#include <QString>
#include <QStringList>

// text.arg(a[0], ..., a[n - 1]) for 1 to 9 arguments.
inline QString qtArg(const QString &text, const QStringList &a)
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
// markers of three or more digits (trmsg, like later Qt, two), and before 6.8
// the single-argument arg() takes any character with a digit value (U+0B67,
// ORIYA DIGIT ONE, say) for a digit (trmsg, like the multi-argument arg() and
// Qt from 6.8 on, ASCII digits only). argumentCount is the number of
// arguments qtArg() gets.
inline bool outsideCommonMarkerRules(const QString &text, qsizetype argumentCount)
{
    const bool readsOtherDigits = QT_VERSION < QT_VERSION_CHECK(6, 8, 0) && argumentCount == 1;
    int run = 0;
    for (QChar c : text) {
        if (readsOtherDigits && c.digitValue() >= 0 && c.unicode() > 0x7f)
            return true;
        run = c.digitValue() >= 0 && c.unicode() <= 0x7f ? run + 1 : 0;
        if (run == 3)
            return true;
    }
    return false;
}
