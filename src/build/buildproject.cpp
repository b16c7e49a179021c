#include "build/buildproject.h"

#include "core/workbench.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/buildtreenode.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QQueue>
#include <QSet>
#include <QXmlStreamWriter>

namespace {

Qt::CaseSensitivity fileNameCase()
{
    return Platform::caseInsensitiveFileNames() ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

// Node files and other files are kept in this form, so that comparing two of them never
// needs the disk.
QString cleanPath(const QString &path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

QString absoluteIn(const QString &directory, const QString &name)
{
    return cleanPath(QDir(directory).absoluteFilePath(name));
}

// A generated file that lies in folder (the configuration's build folder) is named afresh by
// the next Makefile.
void forgetFilesIn(ProjectNode *node, const QString &folder)
{
    if (!node->isProcess())
        return;
    if (QFileInfo(node->file()).dir().dirName() == folder)
        node->setFile(QString());
    for (int index = 0; index < node->childCount(); ++index)
        forgetFilesIn(node->child(index), folder);
}

void collectLeafFiles(const ProjectNode *node, QStringList &files)
{
    if (!node)
        return;
    if (!node->isProcess() && !node->file().isEmpty())
        files.append(node->file());
    for (int index = 0; index < node->childCount(); ++index)
        collectLeafFiles(node->child(index), files);
}

// The shallowest step at or below start whose inputs include the suffix, as the chain of
// steps leading down to it (empty when start itself takes the suffix).
bool findCompilerChain(const BuildTreeNode *start, const QString &suffix, QList<const BuildTreeNode *> &chain)
{
    QQueue<QList<const BuildTreeNode *>> queue;
    queue.enqueue({});
    while (!queue.isEmpty()) {
        const QList<const BuildTreeNode *> path = queue.dequeue();
        const BuildTreeNode *node = path.isEmpty() ? start : path.last();
        for (const FileSpec &input : node->output().inputs) {
            if (input.value.compare(suffix, Qt::CaseInsensitive) == 0) {
                chain = path;
                return true;
            }
        }
        for (int index = 0; index < node->childCount(); ++index)
            queue.enqueue(path + QList<const BuildTreeNode *>{node->child(index)});
    }
    return false;
}

struct Placement
{
    ProjectNode *node = nullptr;
    QList<const BuildTreeNode *> chain;
};

// A node takes new inputs when it has none yet or its process takes all inputs at once;
// otherwise the search goes on among its children. The smallest depth wins, the first on
// ties.
void findPlacement(ProjectNode *node, const QString &suffix, Placement &best)
{
    if (!node->isProcess())
        return;
    if (node->childCount() == 0 || node->process()->takesAllInputs()) {
        QList<const BuildTreeNode *> chain;
        if (findCompilerChain(node->compilerNode(), suffix, chain)
            && (!best.node || chain.size() < best.chain.size()))
            best = {node, chain};
        return;
    }
    for (int index = 0; index < node->childCount(); ++index)
        findPlacement(node->child(index), suffix, best);
}

}

BuildProject::BuildProject(Workbench *mainWindow, BuildConfigList *compilers, QObject *parent)
    : QObject(parent), mainWindow(mainWindow), compilers(compilers)
{
}

BuildProject::~BuildProject() = default;

// A configuration builds in a folder named after it: what the old name's folder holds belongs
// to the old name (or to the configuration this one was copied from).
void BuildProject::setName(const QString &name)
{
    if (name == name_)
        return;
    const QString oldFolder = buildFolder();
    name_ = name;
    if (root_)
        forgetFilesIn(root_.get(), oldFolder);
}

std::unique_ptr<BuildProject> BuildProject::copy() const
{
    auto duplicate = std::make_unique<BuildProject>(mainWindow, compilers);
    duplicate->compiler_ = compiler_;
    duplicate->name_ = name_;
    duplicate->family_ = family_;
    duplicate->controller_ = controller_;
    duplicate->clock_ = clock_;
    if (root_)
        duplicate->root_ = root_->copy(nullptr);
    duplicate->otherFiles_ = otherFiles_;
    duplicate->target_ = target_;
    duplicate->targetName_ = targetName_;
    duplicate->optionValues_ = optionValues_;
    return duplicate;
}

QString BuildProject::compilerName() const
{
    return compiler_ ? compiler_->name() : QString();
}

void BuildProject::reset()
{
    compiler_ = nullptr;
    name_.clear();
    family_.clear();
    controller_.clear();
    clock_.clear();
    root_.reset();
    otherFiles_.clear();
    target_ = nullptr;
    targetName_.clear();
    optionValues_.clear();
}

void BuildProject::replaceTree(const QStringList &files)
{
    root_.reset();
    otherFiles_.clear();
    addFiles(files, true);
}

bool BuildProject::selectCompiler(const QString &name)
{
    if (compiler_ && compiler_->name() == name)
        return true;
    const QStringList files = allFiles();
    optionValues_.clear();
    compiler_ = compilers ? compilers->find(name) : nullptr;
    target_ = compiler_ ? compiler_->target(targetName_) : nullptr;
    replaceTree(files);
    if (compiler_) {
        replaceDefaults(QString(), QString());
        settleOptionValues(true, true);
    }
    return compiler_ != nullptr;
}

bool BuildProject::selectController(const QString &family, const QString &controller, bool applyDefaults)
{
    if (family == family_ && controller == controller_)
        return true;
    if (!compiler_ || compiler_->controllerSupported(family, controller) < 0)
        return false;
    const QString oldFamily = family_;
    const QString oldController = controller_;
    family_ = family;
    controller_ = controller;
    if (applyDefaults) {
        replaceDefaults(oldFamily, oldController);
        settleOptionValues(true, true);
    }
    return true;
}

bool BuildProject::selectTarget(const QString &name)
{
    targetName_ = name;
    if (target_ && target_->name == name)
        return true;
    const CompilerTarget *found = compiler_ ? compiler_->target(name) : nullptr;
    if (found != target_) {
        // The files stay in the configuration: they are placed again in the new target's tree.
        const QStringList files = allFiles();
        target_ = found;
        replaceTree(files);
    }
    return target_ != nullptr;
}

QList<OptionValue> BuildProject::defaultOptionValues(const QString &toolName) const
{
    if (!compiler_)
        return {};
    return compiler_->defaultOptionValues(target_ ? target_->name : targetName_, toolName, family_, controller_);
}

std::unique_ptr<ProjectNode> BuildProject::newProcessNode(const BuildTreeNode *compilerNode, ProjectNode *parent,
                                                          bool applyDefaults) const
{
    auto node = std::make_unique<ProjectNode>(QString(), compilerNode, parent);
    if (applyDefaults)
        node->optionValues() = defaultOptionValues(compilerNode->process()->tool());
    return node;
}

bool BuildProject::ensureRoot(bool applyDefaults)
{
    if (!target_ && !selectTarget(targetName_)) {
        if (mainWindow)
            mainWindow->addError(tr("Cannot select build target."));
        return false;
    }
    if (!root_ && compiler_ && target_->buildTree)
        root_ = newProcessNode(target_->buildTree.get(), nullptr, applyDefaults);
    return root_ != nullptr;
}

ProjectNode *BuildProject::findNode(ProjectNode *node, const QString &path) const
{
    if (!node)
        return nullptr;
    if (node->file().size() == path.size() && node->file().compare(path, fileNameCase()) == 0)
        return node;
    for (int index = 0; index < node->childCount(); ++index) {
        if (ProjectNode *found = findNode(node->child(index), path))
            return found;
    }
    return nullptr;
}

bool BuildProject::containsFile(const QString &path) const
{
    const QString file = cleanPath(path);
    return otherFiles_.contains(file, fileNameCase()) || findNode(root_.get(), file);
}

bool BuildProject::addFile(const QString &path, bool applyDefaults)
{
    const QString file = cleanPath(path);
    return containsFile(file) || attachFile(file, applyDefaults);
}

void BuildProject::addFiles(const QStringList &paths, bool applyDefaults)
{
    const auto key = [](const QString &file) {
        return Platform::caseInsensitiveFileNames() ? file.toLower() : file;
    };
    QSet<QString> present;
    for (const QString &file : std::as_const(otherFiles_))
        present.insert(key(file));
    QList<ProjectNode *> pending{root_.get()};
    while (!pending.isEmpty()) {
        const ProjectNode *node = pending.takeLast();
        if (!node)
            continue;
        present.insert(key(node->file()));
        for (int index = 0; index < node->childCount(); ++index)
            pending.append(node->child(index));
    }
    for (const QString &path : paths) {
        const QString file = cleanPath(path);
        if (present.contains(key(file)))
            continue;
        present.insert(key(file));
        attachFile(file, applyDefaults);
    }
}

bool BuildProject::attachFile(const QString &file, bool applyDefaults)
{
    if (target_ && ensureRoot(applyDefaults)) {
        Placement placement;
        findPlacement(root_.get(), QFileInfo(file).suffix().toLower(), placement);
        if (placement.node) {
            ProjectNode *parent = placement.node;
            for (const BuildTreeNode *step : std::as_const(placement.chain))
                parent = parent->appendChild(newProcessNode(step, parent, applyDefaults));
            parent->appendChild(std::make_unique<ProjectNode>(file, nullptr, parent));
            settleOptionValues(applyDefaults, true);
            return true;
        }
    }
    otherFiles_.append(file);
    return false;
}

bool BuildProject::removeFile(const QString &path)
{
    for (const QString &form : {QDir::fromNativeSeparators(path), QDir::toNativeSeparators(path)}) {
        const int index = otherFiles_.indexOf(form);
        if (index >= 0) {
            otherFiles_.removeAt(index);
            return true;
        }
    }
    ProjectNode *node = findNode(root_.get(), cleanPath(path));
    if (!node)
        return false;
    // Steps left without inputs go too, up to the root.
    while (ProjectNode *parent = node->parent()) {
        parent->removeChild(node);
        if (parent->childCount() > 0)
            return true;
        node = parent;
    }
    root_.reset();
    return true;
}

bool BuildProject::renameFile(const QString &oldPath, const QString &newPath)
{
    const QString newFile = cleanPath(newPath);
    if (containsFile(newFile))
        return false;
    const int index = otherFiles_.indexOf(cleanPath(oldPath), 0);
    if (index >= 0) {
        otherFiles_[index] = newFile;
        return true;
    }
    ProjectNode *leaf = findNode(root_.get(), cleanPath(oldPath));
    if (!leaf || leaf->isProcess())
        return false;
    leaf->setFile(newFile);
    // A step with this file as its only input was named after it; the Makefile writer
    // derives the name again.
    ProjectNode *parent = leaf->parent();
    if (parent && parent->childCount() == 1)
        parent->setFile(QString());
    return true;
}

QStringList BuildProject::allFiles() const
{
    QStringList files;
    collectLeafFiles(root_.get(), files);
    return files + otherFiles_;
}


bool BuildProject::load(const QDomElement &element, const QString &projectFilePath)
{
    reset();
    if (element.tagName() != QLatin1String("CONFIGURATION"))
        return false;
    const QString directory = QFileInfo(projectFilePath).absolutePath();
    name_ = element.attribute(QStringLiteral("NAME"));
    // A configuration saved without a compiler has no COMPILER attribute; it reads back as
    // one without a compiler.
    const QString compilerAttribute = element.attribute(QStringLiteral("COMPILER"));
    if (!compilerAttribute.isEmpty() && !selectCompiler(compilerAttribute)) {
        if (mainWindow)
            mainWindow->addError(tr("Cannot find compiler %1 required for project.").arg(compilerAttribute));
        return false;
    }

    const QDomElement controller = element.firstChildElement(QStringLiteral("CONTROLLER"));
    if (controller.isNull())
        return false;
    const QString family = controller.attribute(QStringLiteral("FAMILY"));
    const QString type = controller.attribute(QStringLiteral("TYPE"));
    if (!selectController(family, type, false)) {
        // A controller the compiler no longer lists is kept, so that saving does not lose it.
        family_ = family;
        controller_ = type;
    }
    selectTarget(element.attribute(QStringLiteral("TARGET")));
    clock_ = controller.attribute(QStringLiteral("CLOCK"));

    bool treeRead = false;
    for (QDomElement file = element.firstChildElement(QStringLiteral("FILE")); !file.isNull();
         file = file.nextSiblingElement(QStringLiteral("FILE"))) {
        if (!file.hasAttribute(QStringLiteral("TOOL"))) {
            const QString name = file.attribute(QStringLiteral("NAME"));
            if (!name.isEmpty())
                addFile(absoluteIn(directory, name), false);
            continue;
        }
        if (treeRead || !readTreeElement(file, nullptr, directory))
            return false;
        treeRead = true;
    }
    optionValues_ += OptionValue::listFromChildren(element);
    return true;
}

bool BuildProject::readTreeElement(const QDomElement &element, ProjectNode *parent, const QString &directory)
{
    const QString tool = element.attribute(QStringLiteral("TOOL"));
    ProjectNode *node = nullptr;
    if (!parent) {
        if (!ensureRoot(false) || root_->toolName() != tool)
            return false;
        node = root_.get();
    } else {
        const BuildTreeNode *steps = parent->compilerNode();
        for (int index = 0; index < steps->childCount() && !node; ++index) {
            const BuildTreeNode *step = steps->child(index);
            if (step->process()->tool() == tool)
                node = parent->appendChild(std::make_unique<ProjectNode>(QString(), step, parent));
        }
        if (!node)
            return false;
    }
    const QString name = element.attribute(QStringLiteral("NAME"));
    if (!name.isEmpty())
        node->setFile(absoluteIn(directory, name));

    for (QDomElement child = element.firstChildElement(QStringLiteral("FILE")); !child.isNull();
         child = child.nextSiblingElement(QStringLiteral("FILE"))) {
        if (child.hasAttribute(QStringLiteral("TOOL"))) {
            if (!readTreeElement(child, node, directory))
                return false;
            continue;
        }
        const QString leaf = child.attribute(QStringLiteral("NAME"));
        if (!leaf.isEmpty())
            node->appendChild(std::make_unique<ProjectNode>(absoluteIn(directory, leaf), nullptr, node));
    }
    node->optionValues() += OptionValue::listFromChildren(element);
    return true;
}

void BuildProject::save(QXmlStreamWriter &writer, const QString &projectFilePath) const
{
    const QString directory = QFileInfo(projectFilePath).absolutePath();
    writer.writeStartElement(QStringLiteral("CONFIGURATION"));
    writer.writeAttribute(QStringLiteral("NAME"), name_);
    if (compiler_)
        writer.writeAttribute(QStringLiteral("COMPILER"), compiler_->name());
    if (!targetName_.isEmpty())
        writer.writeAttribute(QStringLiteral("TARGET"), targetName_);

    writer.writeStartElement(QStringLiteral("CONTROLLER"));
    writer.writeAttribute(QStringLiteral("FAMILY"), family_);
    writer.writeAttribute(QStringLiteral("TYPE"), controller_);
    if (!clock_.isEmpty())
        writer.writeAttribute(QStringLiteral("CLOCK"), clock_);
    writer.writeEndElement();

    if (root_)
        writeNode(writer, root_.get(), directory);
    const QDir base(directory);
    for (const QString &file : otherFiles_) {
        writer.writeStartElement(QStringLiteral("FILE"));
        writer.writeAttribute(QStringLiteral("NAME"), base.relativeFilePath(file));
        writer.writeEndElement();
    }
    for (const OptionValue &value : optionValues_)
        value.write(writer);
    writer.writeEndElement();
}

void BuildProject::writeNode(QXmlStreamWriter &writer, const ProjectNode *node, const QString &directory) const
{
    writer.writeStartElement(QStringLiteral("FILE"));
    if (!node->file().isEmpty())
        writer.writeAttribute(QStringLiteral("NAME"), QDir(directory).relativeFilePath(node->file()));
    if (node->isProcess())
        writer.writeAttribute(QStringLiteral("TOOL"), node->toolName());
    for (const OptionValue &value : node->optionValues())
        value.write(writer);
    for (int index = 0; index < node->childCount(); ++index)
        writeNode(writer, node->child(index), directory);
    writer.writeEndElement();
}
