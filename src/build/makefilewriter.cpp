#include "build/makefilewriter.h"

#include "core/workbench.h"
#include "build/buildproject.h"
#include "build/buildtreenode.h"
#include "build/projectnode.h"
#include "platform/buildtools.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace {

const QString ruler = QString(79, QLatin1Char('#'));

// Process nodes, parents before children, depth first.
void collectProcessNodes(const ProjectNode *node, QList<const ProjectNode *> &nodes)
{
    if (!node || !node->isProcess())
        return;
    nodes.append(node);
    for (int index = 0; index < node->childCount(); ++index)
        collectProcessNodes(node->child(index), nodes);
}

QList<const ProjectNode *> processNodes(const ProjectNode *root)
{
    QList<const ProjectNode *> nodes;
    collectProcessNodes(root, nodes);
    return nodes;
}

// A target or prerequisite of a rule head: make must read "$" and blanks as part of the name.
QString inRuleHead(QString text)
{
    text.replace(QLatin1String("$"), QLatin1String("$$"));
    return text.replace(QLatin1String(" "), QLatin1String("\\ "));
}

QString withForwardSlashes(QString text)
{
    return text.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

}

MakefileWriter::MakefileWriter(BuildProject &configuration, const QString &projectDirectory, Workbench *workbench)
    : configuration(configuration),
      projectDirectory(QDir::cleanPath(projectDirectory)),
      workbench(workbench),
      names(configuration, this->projectDirectory, workbench),
      recipes(configuration, this->projectDirectory, workbench)
{
    recipes.setPurpose(PlaceholderResolver::Purpose::ForRecipe);
}

QString MakefileWriter::buildDirectory() const
{
    return projectDirectory + QLatin1Char('/') + configuration.buildFolder();
}

QString MakefileWriter::makefile() const
{
    return buildDirectory() + QStringLiteral("/Makefile");
}

bool MakefileWriter::errorFileHidden(int index) const
{
    return index < 0 || index >= errorFiles_.size() || errorFiles_.at(index).hideUnmatched;
}

QString MakefileWriter::outputFile()
{
    if (!configuration.root())
        return QString();
    fillFileNames();
    return QDir(projectDirectory).absoluteFilePath(configuration.root()->file());
}

// Names are kept absolute like every other file of the tree; one that resolved to nothing
// stays empty, so that write() can tell.
QString MakefileWriter::absoluteName(const QString &name) const
{
    return name.isEmpty() ? QString() : QDir::cleanPath(QDir(projectDirectory).absoluteFilePath(name));
}

void MakefileWriter::fillFileNames()
{
    ProjectNode *root = configuration.root();
    if (!root)
        return;
    if (!outputPath.isEmpty() && root->file().isEmpty()) {
        root->setFile(outputPath);
    } else if (root->compilerNode()) {
        const OutputDefinition &output = root->compilerNode()->output();
        if (output.name.isEmpty())
            root->setFile(buildDirectory() + QLatin1Char('/') + configuration.name() + QLatin1Char('.') + output.output);
        else
            root->setFile(absoluteName(names.resolve(output.name, root)));
    }
    for (int index = 0; index < root->childCount(); ++index)
        fillNode(root->child(index));
}

void MakefileWriter::fillNode(ProjectNode *node)
{
    if (!node->isProcess())
        return;
    for (int index = 0; index < node->childCount(); ++index)
        fillNode(node->child(index));
    QString file = node->file();
    if (file.isEmpty()) {
        const OutputDefinition &output = node->compilerNode()->output();
        file = configuration.buildFolder() + QLatin1Char('/')
            + (output.name.isEmpty() ? QStringLiteral("%INFILE_NAME%.") + output.output : output.name);
    }
    node->setFile(absoluteName(names.resolve(file, node)));
}

bool MakefileWriter::write()
{
    errorFiles_.clear();
    if (!configuration.root() && !configuration.ensureRoot(true))
        return false;
    fillFileNames();
    configuration.normalizeOptionValues(false);

    const QList<const ProjectNode *> nodes = processNodes(configuration.root());
    for (const ProjectNode *node : nodes) {
        if (node->file().isEmpty()) {
            if (workbench)
                workbench->addError(tr("Not all intermediate file names are filled. It should be an error in compiler "
                                       "configuration file."));
            return false;
        }
    }

    QDir(projectDirectory).mkpath(configuration.buildFolder());
    QSaveFile file(makefile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (workbench)
            workbench->addMessage(tr("Cannot open file %1 for writing\n").arg(QFileInfo(file.fileName()).absoluteFilePath()));
        return false;
    }
    QTextStream out(&file);
    out << ruler << "\n# Makefile for project \n" << ruler << '\n';
    bool ok = writeGeneralOptions(out);
    writeToolsOptions(out);
    ok = writeProcessingTools(out) && ok;
    if (configuration.root())
        writeTreeComment(out, configuration.root(), QStringLiteral("#  "));
    writeBuildTree(out);
    writeTidy(out);
    writeClean(out);
    collectErrorFiles();
    out.flush();
    if (!file.commit()) {
        if (workbench)
            workbench->addMessage(tr("Cannot open file %1 for writing\n").arg(QFileInfo(file.fileName()).absoluteFilePath()));
        return false;
    }
    return ok;
}

bool MakefileWriter::writeGeneralOptions(QTextStream &out) const
{
    if (!configuration.target() || !configuration.compiler())
        return false;
    out << "\n## General options\n"
        << "PROJECT = \n"
        << "MCU = " << configuration.controller() << '\n'
        << "COMPILER = \"" << configuration.compiler()->name() << "\"\n"
        << "TARGET = " << configuration.targetName() << '\n'
        << "CLOCK = " << PlaceholderResolver::clockValue(configuration.clock()) << '\n'
        << "SHELL = " << Platform::makefileShell() << '\n';
    return true;
}

void MakefileWriter::writeToolsOptions(QTextStream &out) const
{
    out << "\n## Tools general options\n";
    QStringList tools;
    for (const OptionValue &value : configuration.optionValues()) {
        if (!value.name.isEmpty() && !tools.contains(value.tool))
            tools.append(value.tool);
    }
    tools.sort();
    for (const QString &tool : std::as_const(tools)) {
        QList<OptionValue> values;
        for (const OptionValue &value : configuration.optionValues()) {
            if (value.tool.isEmpty() || value.tool == tool)
                values.append(value);
        }
        out << tool.toUpper() << "FLAGS=" << recipes.optionsString(values, nullptr) << '\n';
    }
}

bool MakefileWriter::writeProcessingTools(QTextStream &out) const
{
    out << "\n## Processing Tools\n";
    const BuildConfig *compiler = configuration.compiler();
    if (!compiler)
        return false;
    for (const QString &tool : compiler->processToolNames())
        out << tool << '=' << compiler->toolFile(tool) << '\n';
    return true;
}

void MakefileWriter::writeTreeComment(QTextStream &out, const ProjectNode *node, const QString &prefix) const
{
    out << prefix << node->file();
    if (const BuildProcess *process = node->process()) {
        out << ": TOOL=" << node->toolName();
        for (const QString &command : process->preCommands())
            out << '\n' << prefix << "Pre: " << names.resolve(command, node);
        for (const QString &command : process->postCommands())
            out << '\n' << prefix << "Post: " << names.resolve(command, node);
    }
    out << '\n';
    for (int index = 0; index < node->childCount(); ++index)
        writeTreeComment(out, node->child(index), prefix + QStringLiteral("   "));
}

void MakefileWriter::writeBuildTree(QTextStream &out) const
{
    const ProjectNode *root = configuration.root();
    if (!root || !configuration.target())
        return;
    const QString target = configuration.targetName();
    out << "\n# Build tree:\n"
        << "all:\t" << target << "\n\n"
        << target << ":\t" << inRuleHead(names.relativePath(root->file())) << '\n';
    for (const ProjectNode *node : processNodes(root))
        writeRule(out, node);
}

QString MakefileWriter::dependency(const QString &file) const
{
    if (!file.contains(QLatin1Char(' ')))
        return names.relativePath(file);
    const QString absolute = QDir(projectDirectory).absoluteFilePath(file);
    if (QFileInfo::exists(absolute))
        return names.relativePath(absolute, PlaceholderResolver::Dos | PlaceholderResolver::Short);
    return names.relativePath(file, PlaceholderResolver::Underscore);
}

void MakefileWriter::writeRule(QTextStream &out, const ProjectNode *node) const
{
    out << '\n' << inRuleHead(names.relativePath(node->file(), PlaceholderResolver::Underscore)) << ":\t";
    for (int index = 0; index < node->childCount(); ++index)
        out << inRuleHead(dependency(node->child(index)->file())) << ' ';
    out << '\n';
    const BuildProcess *process = node->process();
    for (const QString &command : process->preCommands())
        out << '\t' << recipes.resolve(command, node) << '\n';
    out << '\t' << recipes.resolve(process->commandLine(), node).replace(QLatin1String("%%"), QLatin1String("%")) << '\n';
    for (const QString &command : process->postCommands())
        out << '\t' << recipes.resolve(command, node) << '\n';
}

void MakefileWriter::writeTidy(QTextStream &out) const
{
    out << "\n# tidy - delete all temporary files which are not involved in the target generation\n"
        << "tidy:\n";
    for (const ProjectNode *node : processNodes(configuration.root())) {
        for (const FileSpec &spec : node->compilerNode()->output().temporaryFiles) {
            QString name = names.resolve(spec.name, node);
            if (spec.name.isEmpty()) {
                const QString named = node->childCount() == 1 ? node->child(0)->file() : node->file();
                name = QFileInfo(named).baseName() + QLatin1Char('.') + spec.value;
            }
            if (!name.isEmpty())
                out << "\trm -rf " << Platform::escapeForRecipe(withForwardSlashes(name)) << '\n';
        }
    }
}

void MakefileWriter::writeClean(QTextStream &out) const
{
    out << "\n# cleanup - delete all generated files\n"
        << "clean:\ttidy\n";
    for (const ProjectNode *node : processNodes(configuration.root())) {
        if (node == configuration.root() || node->childCount() > 0)
            out << "\trm -rf " << Platform::escapeForRecipe(withForwardSlashes(names.relativePath(node->file()))) << '\n';
    }
}

void MakefileWriter::collectErrorFiles()
{
    for (const ProjectNode *node : processNodes(configuration.root())) {
        for (const FileSpec &spec : node->compilerNode()->output().errorFiles) {
            const QString name = spec.name.isEmpty()
                ? QFileInfo(node->file()).baseName() + QLatin1Char('.') + spec.value
                : names.resolve(spec.name, node);
            const QString path = QDir::cleanPath(QDir(projectDirectory).absoluteFilePath(name));
            const bool known = std::any_of(errorFiles_.cbegin(), errorFiles_.cend(),
                                           [&path](const ErrorFile &file) { return file.path == path; });
            if (!known)
                errorFiles_.append({path, spec.hideUnmatched});
        }
    }
}

QList<MessageDefinition> MakefileWriter::messageDefinitions() const
{
    QList<MessageDefinition> definitions;
    for (const ProjectNode *node : processNodes(configuration.root())) {
        for (const MessageDefinition &definition : node->process()->messageDefinitions()) {
            if (!definitions.contains(definition))
                definitions.append(definition);
        }
    }
    return definitions;
}

QList<EnvironmentEntry> MakefileWriter::environment(const QString &goal) const
{
    const BuildConfig *compiler = configuration.compiler();
    if (!compiler)
        return {};
    QList<EnvironmentEntry> entries;
    const int family = compiler->familyIndex(configuration.family());
    const int controller = compiler->controllerIndex(family, configuration.controller());
    if (family >= 0 && controller >= 0)
        entries += compiler->families().at(family).controllers.at(controller).environment;
    if (const CompilerTarget *target = compiler->target(goal))
        entries += target->environment;
    for (EnvironmentEntry &entry : entries) {
        entry.name = names.resolve(entry.name, nullptr);
        entry.value = names.resolve(entry.value, nullptr);
    }
    return entries;
}

QStringList MakefileWriter::compilerDirectories() const
{
    const BuildConfig *compiler = configuration.compiler();
    return compiler ? QStringList{compiler->compilerDirectory()} : QStringList();
}
