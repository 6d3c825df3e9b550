#include "languages.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringList>

namespace {

QString languageCode(const QString &language)
{
    return language.section(u'_', 0, 0).section(u'-', 0, 0).toLower();
}

bool isKnownLanguage(const QString &name)
{
    const QLocale locale(name);
    return locale.language() != QLocale::C && locale.language() != QLocale::AnyLanguage;
}

} // namespace

int numerusFormCount(const QString &language)
{
    static const QStringList one{QStringLiteral("ja"), QStringLiteral("zh"), QStringLiteral("ko"), QStringLiteral("tr"), QStringLiteral("hu"), QStringLiteral("vi"), QStringLiteral("th"), QStringLiteral("id"),
                                 QStringLiteral("ms"), QStringLiteral("fa"), QStringLiteral("bo"), QStringLiteral("my"), QStringLiteral("jv"), QStringLiteral("su"), QStringLiteral("dz"), QStringLiteral("ig"),
                                 QStringLiteral("yo"), QStringLiteral("tt")};
    static const QStringList three{QStringLiteral("ru"), QStringLiteral("uk"), QStringLiteral("be"), QStringLiteral("pl"), QStringLiteral("cs"), QStringLiteral("sk"), QStringLiteral("lt"),
                                   QStringLiteral("lv"), QStringLiteral("ro"), QStringLiteral("ga"), QStringLiteral("sr"), QStringLiteral("hr"), QStringLiteral("bs"), QStringLiteral("mk"),
                                   QStringLiteral("iu"), QStringLiteral("se"), QStringLiteral("sa")};
    static const QStringList four{QStringLiteral("sl"), QStringLiteral("mt"), QStringLiteral("gd")};
    const QString code = languageCode(language);
    if (code.isEmpty() || !isKnownLanguage(code) || one.contains(code))
        return 1;
    if (three.contains(code))
        return 3;
    if (four.contains(code))
        return 4;
    if (code == u"cy")
        return 5;
    if (code == u"ar")
        return 6;
    return 2;
}

QString languageFromFileName(const QString &tsPath)
{
    const QString base = QFileInfo(tsPath).completeBaseName();
    for (qsizetype at = base.indexOf(u'_'); at >= 0; at = base.indexOf(u'_', at + 1)) {
        const QString candidate = base.mid(at + 1);
        if (isKnownLanguage(candidate) && QLocale(candidate).name().startsWith(languageCode(candidate)))
            return candidate;
    }
    return QString();
}
