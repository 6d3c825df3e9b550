#include "tsescape.h"

namespace {

bool appendEntity(QString *out, QChar c)
{
    switch (c.unicode()) {
    case '&': out->append(u"&amp;"); return true;
    case '<': out->append(u"&lt;"); return true;
    case '>': out->append(u"&gt;"); return true;
    case '"': out->append(u"&quot;"); return true;
    case '\'': out->append(u"&apos;"); return true;
    default: return false;
    }
}

bool isControl(QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n'; }

} // namespace

QString escapedText(QStringView text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (QChar c : text) {
        if (appendEntity(&out, c))
            continue;
        if (isControl(c))
            out += QStringLiteral("<byte value=\"x%1\"/>").arg(uint(c.unicode()), 0, 16);
        else
            out += c;
    }
    return out;
}

QString escapedAttributeValue(QStringView value)
{
    QString out;
    for (QChar c : value) {
        if (!appendEntity(&out, c) && !isControl(c) && c != u'\t' && c != u'\n')
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
