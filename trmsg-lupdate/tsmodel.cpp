#include "tsmodel.h"

bool operator==(const TsLocation &a, const TsLocation &b)
{
    return a.fileName == b.fileName && a.line == b.line;
}

QString attributeValue(const QList<XmlAttribute> &attributes, const QString &name)
{
    for (const XmlAttribute &attribute : attributes) {
        if (attribute.name == name)
            return attribute.value;
    }
    return QString();
}

bool setAttribute(QList<XmlAttribute> *attributes, const QString &name, const QString &value)
{
    for (qsizetype i = 0; i < attributes->size(); ++i) {
        if ((*attributes)[i].name != name)
            continue;
        if (value.isEmpty())
            attributes->removeAt(i);
        else if ((*attributes)[i].value != value)
            (*attributes)[i].value = value;
        else
            return false;
        return true;
    }
    if (value.isEmpty())
        return false;
    attributes->append({name, value});
    return true;
}
