#include "build/buildtool.h"

#include "core/workbench.h"

BuildTool::BuildTool(Workbench *workbench, QObject *parent) : QObject(parent), workbench(workbench) {}

bool BuildTool::load(const QDomElement &element)
{
    file_ = element.attribute(QStringLiteral("FILE"));
    names_.clear();
    names_.append(element.attribute(QStringLiteral("NAME")));
    for (QDomElement alias = element.firstChildElement(QStringLiteral("ALIAS")); !alias.isNull();
         alias = alias.nextSiblingElement(QStringLiteral("ALIAS")))
        names_.append(alias.attribute(QStringLiteral("NAME")));

    options.clear();
    for (QDomElement child = element.firstChildElement(QStringLiteral("OPTION")); !child.isNull();
         child = child.nextSiblingElement(QStringLiteral("OPTION"))) {
        OptionDefinition option;
        if (!readOption(child, option))
            return false;
        options.append(option);
    }
    return true;
}

bool BuildTool::readOption(const QDomElement &element, OptionDefinition &option)
{
    option.name = element.attribute(QStringLiteral("NAME"));
    option.description = element.attribute(QStringLiteral("DESC"));
    option.kind = element.attribute(QStringLiteral("KIND"));
    option.tool = element.attribute(QStringLiteral("TOOL"));
    option.id = element.attribute(QStringLiteral("ID"));
    option.multiple = element.attribute(QStringLiteral("MULTIPLE")) == QLatin1String("1");
    option.separator = element.attribute(QStringLiteral("SEPARATOR"));

    const QString parameter = element.attribute(QStringLiteral("PARAM"));
    if (parameter.isEmpty()) {
        option.type = OptionDefinition::None;
    } else if (parameter == QLatin1String("NUMBER")) {
        option.type = OptionDefinition::Number;
    } else if (parameter == QLatin1String("STRING")) {
        option.type = OptionDefinition::String;
    } else if (parameter == QLatin1String("CHOICE")) {
        option.type = OptionDefinition::Choice;
        for (QDomElement choice = element.firstChildElement(QStringLiteral("PARAM")); !choice.isNull();
             choice = choice.nextSiblingElement(QStringLiteral("PARAM"))) {
            option.choices.append({choice.attribute(QStringLiteral("VALUE")), choice.attribute(QStringLiteral("DESC")),
                                   choice.attribute(QStringLiteral("DEFAULT")) == QLatin1String("1")});
        }
    } else {
        if (workbench)
            workbench->addError(tr("Unknown option parameter type %1").arg(parameter));
        return false;
    }
    return true;
}

QList<OptionDefinition> BuildTool::optionDefinitions(const QString &toolName) const
{
    if (toolName.isEmpty())
        return options;
    QList<OptionDefinition> result;
    if (!names_.contains(toolName))
        return result;
    for (const OptionDefinition &option : options) {
        if (option.tool.isEmpty() || option.tool == toolName)
            result.append(option);
    }
    return result;
}
