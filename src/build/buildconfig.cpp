#include "build/buildconfig.h"

#include "core/workbench.h"
#include "core/xmldocument.h"
#include "build/compilersettings.h"

#include <QFileInfo>

namespace {

template <typename Visit>
void forEachChild(const QDomElement &parent, const QString &tag, Visit visit)
{
    for (QDomElement child = parent.firstChildElement(tag); !child.isNull(); child = child.nextSiblingElement(tag))
        visit(child);
}

QList<EnvironmentEntry> readEnvironment(const QDomElement &parent)
{
    QList<EnvironmentEntry> entries;
    forEachChild(parent, QStringLiteral("ENVIRONMENT"),
                 [&](const QDomElement &element) { entries.append(EnvironmentEntry::fromElement(element)); });
    return entries;
}

bool toolApplies(const OptionValue &option, const QString &toolName)
{
    return toolName.isEmpty() || option.tool.isEmpty() || option.tool == toolName;
}

}

EnvironmentEntry EnvironmentEntry::fromElement(const QDomElement &element)
{
    EnvironmentEntry entry;
    entry.name = element.attribute(QStringLiteral("NAME"));
    entry.value = element.attribute(QStringLiteral("VALUE"));
    entry.isSet = element.attribute(QStringLiteral("ACTION")) == QLatin1String("SET");
    if (!entry.isSet)
        entry.separator = element.attribute(QStringLiteral("SEPARATOR"));
    return entry;
}

BuildConfig::BuildConfig(Workbench *workbench, QObject *parent) : QObject(parent), workbench(workbench) {}

BuildConfig::~BuildConfig() = default;

void BuildConfig::clear()
{
    name_.clear();
    version_.clear();
    webAddress_.clear();
    qDeleteAll(tools_);
    tools_.clear();
    qDeleteAll(processes_);
    processes_.clear();
    families_.clear();
    targets_.clear();
    fileKinds_.clear();
    brokenTools_.clear();
}

bool BuildConfig::load(const QString &filePath)
{
    clear();
    path = filePath;
    const std::optional<QDomDocument> document =
        workbench ? workbench->readDocument(filePath) : XmlDocument::read(filePath, nullptr);
    if (!document)
        return false;
    const QDomElement compiler = document->documentElement();
    if (compiler.tagName() != QLatin1String("COMPILER"))
        return true;

    name_ = compiler.attribute(QStringLiteral("NAME"));
    version_ = compiler.attribute(QStringLiteral("VERSION"));
    webAddress_ = compiler.attribute(QStringLiteral("URL"));

    forEachChild(compiler, QStringLiteral("TOOL"), [&](const QDomElement &element) {
        auto *tool = new BuildTool(workbench, this);
        if (tool->load(element)) {
            tools_.append(tool);
            return;
        }
        // A broken tool is left out; the rest of the tool chain stays usable.
        brokenTools_.append(element.attribute(QStringLiteral("NAME")));
        if (workbench)
            workbench->addError(tr("Error loading %1\n").arg(path));
        delete tool;
    });
    forEachChild(compiler, QStringLiteral("PROCESS"), [&](const QDomElement &element) {
        auto *process = new BuildProcess(this);
        if (process->load(element))
            processes_.append(process);
        else
            delete process;
    });
    forEachChild(compiler, QStringLiteral("FILE"), [&](const QDomElement &element) {
        fileKinds_.append({element.attribute(QStringLiteral("NAME")), element.attribute(QStringLiteral("DESC")),
                           element.attribute(QStringLiteral("CATEGORY")), element.attribute(QStringLiteral("ICON")),
                           element.attribute(QStringLiteral("SOURCE")) == QLatin1String("1")});
    });
    readFamilies(compiler);
    readTargets(compiler);
    return true;
}

void BuildConfig::readFamilies(const QDomElement &compiler)
{
    forEachChild(compiler, QStringLiteral("FAMILY"), [&](const QDomElement &familyElement) {
        CompilerFamily family;
        family.name = familyElement.attribute(QStringLiteral("NAME"));
        forEachChild(familyElement, QStringLiteral("CONTROLLER"), [&](const QDomElement &element) {
            family.controllers.append({element.attribute(QStringLiteral("NAME")), OptionValue::listFromChildren(element),
                                       readEnvironment(element)});
        });
        families_.append(family);
    });
}

void BuildConfig::readTargets(const QDomElement &compiler)
{
    forEachChild(compiler, QStringLiteral("TARGET"), [&](const QDomElement &element) {
        CompilerTarget target;
        target.name = element.attribute(QStringLiteral("NAME"));
        forEachChild(element, QStringLiteral("FILE"), [&](const QDomElement &file) {
            const QString output = file.attribute(QStringLiteral("OUTPUT"));
            if (!output.isEmpty())
                target.output.value = output;
        });
        target.optionValues = OptionValue::listFromChildren(element);
        target.environment = readEnvironment(element);
        if (!target.output.value.isEmpty()) {
            std::unique_ptr<BuildTreeNode> root;
            buildTree(target.output.value, nullptr, root);
            target.buildTree = std::move(root);
        }
        targets_.append(target);
    });
}

// Every process that produces file adds a node below parent, and the files it needs are
// produced below that node in turn. A file already produced on the way up adds nothing,
// which ends cycles. The tree has one root: further producers of the target file itself
// have no parent to hang under and are left out.
void BuildConfig::buildTree(const QString &file, BuildTreeNode *parent, std::unique_ptr<BuildTreeNode> &root) const
{
    if (parent && parent->onPathTo(file))
        return;
    for (const BuildProcess *process : processesProducing(file)) {
        auto created = std::make_unique<BuildTreeNode>(process, process->outputFor(file), file, parent);
        BuildTreeNode *node = created.get();
        if (parent) {
            parent->addChild(std::move(created));
        } else if (!root) {
            root = std::move(created);
        } else {
            continue;
        }
        for (const FileSpec &input : node->output().inputs)
            buildTree(input.value, node, root);
    }
}

QString BuildConfig::filePath(bool fileNameOnly) const
{
    return fileNameOnly ? QFileInfo(path).fileName() : path;
}

QStringList BuildConfig::sourceSuffixes() const
{
    QStringList suffixes;
    for (const FileKind &kind : fileKinds_) {
        if (kind.isSource && !suffixes.contains(kind.name))
            suffixes.append(kind.name);
    }
    return suffixes;
}

QStringList BuildConfig::sourceFiles(const QStringList &files, bool caseSensitive) const
{
    QStringList suffixes = sourceSuffixes();
    suffixes.append(QStringLiteral("dsn"));
    const Qt::CaseSensitivity sensitivity = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QStringList result;
    for (const QString &file : files) {
        const int dot = file.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0 && suffixes.contains(file.mid(dot + 1), sensitivity))
            result.append(file);
    }
    return result;
}

int BuildConfig::familyIndex(const QString &family) const
{
    for (int index = 0; index < families_.size(); ++index) {
        if (families_.at(index).name.compare(family, Qt::CaseInsensitive) == 0)
            return index;
    }
    return -1;
}

int BuildConfig::controllerIndex(int familyIndex, const QString &controller) const
{
    if (familyIndex < 0 || familyIndex >= families_.size())
        return -1;
    const QList<CompilerController> &controllers = families_.at(familyIndex).controllers;
    for (int index = 0; index < controllers.size(); ++index) {
        if (controllers.at(index).name.compare(controller, Qt::CaseInsensitive) == 0)
            return index;
    }
    return -1;
}

int BuildConfig::controllerSupported(const QString &family, const QString &controller) const
{
    return controllerIndex(familyIndex(family), controller);
}

const CompilerTarget *BuildConfig::target(const QString &name) const
{
    for (const CompilerTarget &target : targets_) {
        if (target.name.compare(name, Qt::CaseInsensitive) == 0)
            return &target;
    }
    return nullptr;
}

QList<OptionDefinition> BuildConfig::toolOptionDefinitions(const QString &toolName) const
{
    QList<OptionDefinition> definitions;
    for (const BuildTool *tool : tools_)
        definitions += tool->optionDefinitions(toolName);
    return definitions;
}

BuildTool *BuildConfig::toolForName(const QString &name) const
{
    for (BuildTool *tool : tools_) {
        if (tool->names().contains(name))
            return tool;
    }
    return nullptr;
}

QString BuildConfig::toolFile(const QString &name) const
{
    const BuildTool *tool = toolForName(name);
    return tool ? tool->file() : QString();
}

QStringList BuildConfig::processToolNames() const
{
    QStringList names;
    for (const BuildProcess *process : processes_) {
        if (!names.contains(process->tool()))
            names.append(process->tool());
    }
    return names;
}

QList<const BuildProcess *> BuildConfig::processesProducing(const QString &file, bool caseSensitive) const
{
    const Qt::CaseSensitivity sensitivity = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QList<const BuildProcess *> result;
    for (const BuildProcess *process : processes_) {
        for (const OutputDefinition &output : process->outputs()) {
            if (output.output.compare(file, sensitivity) == 0) {
                result.append(process);
                break;
            }
        }
    }
    return result;
}

QList<OptionValue> BuildConfig::defaultOptionValues(const QString &targetName, const QString &toolName,
                                                    const QString &family, const QString &controller) const
{
    QList<OptionValue> values;
    if (const CompilerTarget *found = target(targetName)) {
        for (const OptionValue &option : found->optionValues) {
            if (toolApplies(option, toolName))
                values.append(option);
        }
    }
    const int familyAt = familyIndex(family);
    const int controllerAt = controllerIndex(familyAt, controller);
    if (controllerAt >= 0) {
        for (const OptionValue &option : families_.at(familyAt).controllers.at(controllerAt).optionValues) {
            if (toolApplies(option, toolName))
                values.append(option);
        }
    }
    return values;
}

bool BuildConfig::isConfigured() const
{
    return CompilerSettings(workbench).isConfigured(name_);
}

QString BuildConfig::compilerDirectory() const
{
    return CompilerSettings(workbench).compilerDirectory(name_);
}

void BuildConfig::storeDetection(bool configured, const QString &directory) const
{
    CompilerSettings(workbench).store(name_, configured, directory);
}
