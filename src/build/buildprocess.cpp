#include "build/buildprocess.h"

namespace {

// An absent attribute means true; present, only empty, "0" and "false" mean false.
bool readHideUnmatched(const QDomElement &element)
{
    if (!element.hasAttribute(QStringLiteral("HIDE_UNMATCHED")))
        return true;
    const QString value = element.attribute(QStringLiteral("HIDE_UNMATCHED"));
    return !(value.isEmpty() || value == QLatin1String("0") || value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0);
}

// A specification FILE contributes an input, a temporary file and an error file, each only
// when its attribute is set, all with the same NAME and OPTION. The own attributes of an
// output FILE contribute with an empty NAME: there NAME names the output.
void addSpecifications(const QDomElement &element, bool isOutputElement, OutputDefinition &output)
{
    FileSpec spec;
    spec.name = isOutputElement ? QString() : element.attribute(QStringLiteral("NAME"));
    spec.option = element.attribute(QStringLiteral("OPTION"));
    spec.hideUnmatched = readHideUnmatched(element);
    const auto add = [&](const char *attribute, QList<FileSpec> &list) {
        const QString value = element.attribute(QLatin1String(attribute));
        if (value.isEmpty())
            return;
        FileSpec added = spec;
        added.value = value;
        list.append(added);
    };
    add("INPUT", output.inputs);
    add("TEMP", output.temporaryFiles);
    add("ERROR", output.errorFiles);
    add("DEPEND", output.dependencyFiles);
}

bool readMessage(const QDomElement &element, MessageDefinition &message)
{
    message.pattern = element.attribute(QStringLiteral("VALUE"));
    for (QDomElement child = element.firstChildElement(QStringLiteral("FIELD")); !child.isNull();
         child = child.nextSiblingElement(QStringLiteral("FIELD"))) {
        MessageField field;
        field.name = child.attribute(QStringLiteral("NAME"));
        bool ok = false;
        field.position = child.attribute(QStringLiteral("POSITION")).toInt(&ok);
        if (!ok)
            return false;
        field.offset = child.attribute(QStringLiteral("OFFSET")).toInt(&ok);
        if (!ok)
            field.offset = 0;
        message.fields.append(field);
    }
    return true;
}

QStringList readCommands(const QDomElement &element, const QString &tag)
{
    QStringList commands;
    for (QDomElement child = element.firstChildElement(tag); !child.isNull(); child = child.nextSiblingElement(tag))
        commands.append(child.attribute(QStringLiteral("CMDLINE")));
    return commands;
}

}

BuildProcess::BuildProcess(QObject *parent) : QObject(parent) {}

bool BuildProcess::load(const QDomElement &element)
{
    tool_ = element.attribute(QStringLiteral("TOOL"));
    name_ = element.attribute(QStringLiteral("NAME"));
    commandLine_ = element.attribute(QStringLiteral("CMDLINE"));
    if (tool_.isEmpty() || commandLine_.isEmpty())
        return false;

    outputs_.clear();
    OutputDefinition shared;
    const QList<OptionValue> processOptions = OptionValue::listFromChildren(element);
    for (QDomElement file = element.firstChildElement(QStringLiteral("FILE")); !file.isNull();
         file = file.nextSiblingElement(QStringLiteral("FILE"))) {
        const QString produced = file.attribute(QStringLiteral("OUTPUT"));
        if (produced.isEmpty()) {
            addSpecifications(file, false, shared);
            continue;
        }
        OutputDefinition output;
        output.output = produced;
        output.name = file.attribute(QStringLiteral("NAME"));
        output.option = file.attribute(QStringLiteral("OPTION"));
        output.optionValues = OptionValue::listFromChildren(file) + processOptions;
        addSpecifications(file, true, output);
        for (QDomElement nested = file.firstChildElement(QStringLiteral("FILE")); !nested.isNull();
             nested = nested.nextSiblingElement(QStringLiteral("FILE")))
            addSpecifications(nested, false, output);
        outputs_.append(output);
    }
    for (OutputDefinition &output : outputs_) {
        output.inputs += shared.inputs;
        output.temporaryFiles += shared.temporaryFiles;
        output.errorFiles += shared.errorFiles;
    }

    messages.clear();
    for (QDomElement child = element.firstChildElement(QStringLiteral("MESSAGE")); !child.isNull();
         child = child.nextSiblingElement(QStringLiteral("MESSAGE"))) {
        MessageDefinition message;
        if (!readMessage(child, message))
            return false;
        messages.append(message);
    }
    preCommands_ = readCommands(element, QStringLiteral("PREPROCESS"));
    postCommands_ = readCommands(element, QStringLiteral("POSTPROCESS"));
    return true;
}

const OutputDefinition *BuildProcess::findOutput(const QString &file, bool caseSensitive) const
{
    const Qt::CaseSensitivity sensitivity = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (const OutputDefinition &output : outputs_) {
        if (output.output.compare(file, sensitivity) == 0)
            return &output;
    }
    return nullptr;
}

OutputDefinition BuildProcess::outputFor(const QString &file, bool caseSensitive) const
{
    if (const OutputDefinition *output = findOutput(file, caseSensitive))
        return *output;
    OutputDefinition empty;
    empty.output = file;
    return empty;
}

QList<FileSpec> BuildProcess::inputsFor(const QString &file, bool caseSensitive) const
{
    const OutputDefinition *output = findOutput(file, caseSensitive);
    return output ? output->inputs : QList<FileSpec>();
}

bool BuildProcess::takesAllInputs() const
{
    return commandLine_.contains(QLatin1String("%INFILES"));
}
