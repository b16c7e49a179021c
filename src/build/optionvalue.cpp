#include "build/optionvalue.h"

#include <QXmlStreamWriter>

OptionValue OptionValue::fromElement(const QDomElement &element)
{
    OptionValue option;
    option.name = element.attribute(QStringLiteral("NAME"));
    option.tool = element.attribute(QStringLiteral("TOOL"));
    option.value = element.attribute(QStringLiteral("VALUE"));
    option.id = element.attribute(QStringLiteral("ID"));
    option.isDefault = element.attribute(QStringLiteral("DEFAULT")) == QLatin1String("1");
    return option;
}

QList<OptionValue> OptionValue::listFromChildren(const QDomElement &parent)
{
    QList<OptionValue> options;
    for (QDomElement element = parent.firstChildElement(QStringLiteral("OPTION")); !element.isNull();
         element = element.nextSiblingElement(QStringLiteral("OPTION")))
        options.append(fromElement(element));
    return options;
}

QDomElement OptionValue::toElement(QDomDocument &document) const
{
    QDomElement element = document.createElement(QStringLiteral("OPTION"));
    element.setAttribute(QStringLiteral("NAME"), name);
    if (!value.isEmpty())
        element.setAttribute(QStringLiteral("VALUE"), value);
    if (!tool.isEmpty())
        element.setAttribute(QStringLiteral("TOOL"), tool);
    if (!id.isEmpty())
        element.setAttribute(QStringLiteral("ID"), id);
    if (isDefault)
        element.setAttribute(QStringLiteral("DEFAULT"), QStringLiteral("1"));
    return element;
}

bool OptionValue::operator==(const OptionValue &other) const
{
    return name == other.name && tool == other.tool && value == other.value && id == other.id
        && isDefault == other.isDefault;
}

void OptionValue::write(QXmlStreamWriter &writer) const
{
    writer.writeStartElement(QStringLiteral("OPTION"));
    writer.writeAttribute(QStringLiteral("NAME"), name);
    if (!value.isEmpty())
        writer.writeAttribute(QStringLiteral("VALUE"), value);
    if (!tool.isEmpty())
        writer.writeAttribute(QStringLiteral("TOOL"), tool);
    if (!id.isEmpty())
        writer.writeAttribute(QStringLiteral("ID"), id);
    if (isDefault)
        writer.writeAttribute(QStringLiteral("DEFAULT"), QStringLiteral("1"));
    writer.writeEndElement();
}
