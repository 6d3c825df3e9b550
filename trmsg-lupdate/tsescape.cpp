#include "tsescape.h"

namespace {

bool appendEntity(QString *out, QChar c, const TsLayout &layout)
{
    switch (c.unicode()) {
    case '&': out->append(u"&amp;"); return true;
    case '<': out->append(u"&lt;"); return true;
    case '>': out->append(u"&gt;"); return true;
    case '"': return !layout.rawQuote && (out->append(u"&quot;"), true);
    case '\'': return !layout.rawApostrophe && (out->append(u"&apos;"), true);
    default: return false;
    }
}

bool isControl(QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n'; }

// What Qt's lupdate writes as a reference: U+0085 and the space separators.
bool isReferencedSpace(QChar c) { return c.unicode() >= 0x80 && c.isSpace(); }

} // namespace

QString escapedText(QStringView text, const TsLayout &layout)
{
    QString out;
    out.reserve(text.size() + 16);
    for (QChar c : text) {
        if (appendEntity(&out, c, layout))
            continue;
        if (isControl(c))
            out += QStringLiteral("<byte value=\"x%1\"/>").arg(uint(c.unicode()), 0, 16);
        else if (isReferencedSpace(c))
            out += QStringLiteral("&#x%1;").arg(uint(c.unicode()), 0, 16);
        else
            out += c;
    }
    return out;
}

QString escapedAttributeValue(QStringView value)
{
    QString out;
    const TsLayout qtLayout;
    for (QChar c : value) {
        if (!appendEntity(&out, c, qtLayout) && !isControl(c) && c != u'\t' && c != u'\n')
            out += c;
    }
    return out;
}

QString attributesXml(const QList<XmlAttribute> &attributes)
{
    QString out;
    for (const XmlAttribute &attribute : attributes)
        out += u' ' + attribute.name + QStringLiteral("=\"") + escapedAttributeValue(attribute.value) + u'"';
    return out;
}
