#include "tsmodel.h"

QString attributeValue(const QList<XmlAttribute> &attributes, const QString &name)
{
    for (const XmlAttribute &attribute : attributes) {
        if (attribute.name == name)
            return attribute.value;
    }
    return QString();
}

void setAttribute(QList<XmlAttribute> *attributes, const QString &name, const QString &value)
{
    for (qsizetype i = 0; i < attributes->size(); ++i) {
        if ((*attributes)[i].name != name)
            continue;
        if (value.isEmpty())
            attributes->removeAt(i);
        else
            (*attributes)[i].value = value;
        return;
    }
    if (!value.isEmpty())
        attributes->append({name, value});
}
