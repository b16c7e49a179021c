#include "build/makefilewriter.h"

#include "core/workbench.h"
#include "build/buildproject.h"
#include "build/buildtreenode.h"
#include "build/maketext.h"
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

QString withForwardSlashes(QString text)
{
    return text.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// A value as the user may see it in a message: what would break the line shows as an escape.
QString shown(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1String("\\n")).replace(QLatin1Char('\r'), QLatin1String("\\r"));
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    }
    return text;
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

QString MakefileWriter::flagsStamp() const
{
    return buildDirectory() + QStringLiteral("/Makefile.flags");
}

QString MakefileWriter::describedProject() const
{
    return projectFile.isEmpty() ? projectDirectory : QFileInfo(projectFile).fileName();
}

bool MakefileWriter::refuse(const QString &text) const
{
    if (workbench)
        workbench->addError(text);
    return false;
}

bool MakefileWriter::checkValue(const QString &key, const QString &value) const
{
    const QString reason = MakeText::variableRefusal(value);
    if (reason.isEmpty())
        return true;
    return refuse(tr("Project %1, configuration \"%2\": the %3 \"%4\" holds %5, which a Makefile cannot take.")
                      .arg(describedProject(), shown(configuration.name()), key, shown(value), reason));
}

bool MakefileWriter::checkFileName(const QString &file) const
{
    const QString reason = MakeText::fileNameRefusal(names.relativePath(file));
    if (reason.isEmpty())
        return true;
    return refuse(tr("The file name \"%1\" holds %2, which make cannot take. Rename the file to build it.")
                      .arg(shown(QDir::toNativeSeparators(file)), reason));
}

// Everything the Makefile takes from the project and the compiler configuration, looked at
// before a line is written: what make or the shell would read as syntax is refused here.
bool MakefileWriter::check() const
{
    const BuildConfig *compiler = configuration.compiler();
    if (!compiler)
        return true;
    bool ok = true;
    for (const QString &tool : compiler->brokenTools()) {
        ok = refuse(tr("The compiler configuration %1 could not load its tool or process \"%2\"; it cannot build.")
                        .arg(QDir::toNativeSeparators(compiler->filePath()), shown(tool)));
    }
    const QString name = configuration.name();
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QLatin1String(".."))) {
        ok = refuse(tr("Project %1: the configuration name \"%2\" names the files the build makes and must not "
                       "hold \"/\", \"\\\" or \"..\".")
                        .arg(describedProject(), shown(name)));
    }
    const QString target = configuration.targetName();
    if (target.contains(QLatin1Char('/')) || target.contains(QLatin1Char('\\')) || target.contains(QLatin1String(".."))
        || !MakeText::fileNameRefusal(target).isEmpty()) {
        ok = refuse(tr("Project %1, configuration \"%2\": the target \"%3\" cannot name the output folder.")
                        .arg(describedProject(), shown(name), shown(target)));
    }
    ok = checkValue(QStringLiteral("CONFIGURATION NAME"), name) && ok;
    ok = checkValue(QStringLiteral("TYPE"), configuration.controller()) && ok;
    if (!PlaceholderResolver::clockValue(configuration.clock())) {
        ok = refuse(tr("Project %1, configuration \"%2\": the CLOCK \"%3\" is not a frequency from 1 Hz to %4 Hz.")
                        .arg(describedProject(), shown(name), shown(configuration.clock()))
                        .arg(PlaceholderResolver::maximumClock));
    }
    const auto checkOptions = [&](const QList<OptionValue> &values) {
        for (const OptionValue &value : values)
            ok = checkValue(QStringLiteral("OPTION"), value.name + value.value) && ok;
    };
    checkOptions(configuration.optionValues());
    for (const QString &tool : compiler->processToolNames()) {
        if (compiler->toolFile(tool).isEmpty()) {
            ok = refuse(tr("The compiler configuration %1 has no tool \"%2\" for its processes.")
                            .arg(QDir::toNativeSeparators(compiler->filePath()), shown(tool)));
        } else {
            ok = checkValue(QStringLiteral("TOOL FILE"), compiler->toolFile(tool)) && ok;
        }
    }

    QHash<QString, const ProjectNode *> made;
    for (const ProjectNode *node : processNodes(configuration.root())) {
        checkOptions(node->optionValues());
        const BuildProcess *process = node->process();
        for (const QString &command : process->preCommands() + process->postCommands() + QStringList{process->commandLine()})
            ok = checkValue(QStringLiteral("CMDLINE"), command) && ok;
        ok = checkFileName(node->file()) && ok;
        if (const ProjectNode *other = made.value(node->file())) {
            ok = refuse(tr("Two steps of the build would make the same file %1; rename one of the files %2 and %3.")
                            .arg(QDir::toNativeSeparators(node->file()),
                                 QDir::toNativeSeparators(other->childCount() ? other->child(0)->file() : other->file()),
                                 QDir::toNativeSeparators(node->childCount() ? node->child(0)->file() : node->file())));
        }
        made.insert(node->file(), node);
        for (int index = 0; index < node->childCount(); ++index) {
            if (!node->child(index)->isProcess())
                ok = checkFileName(node->child(index)->file()) && ok;
        }
    }
    for (const QString &header : headerFiles())
        ok = checkFileName(header) && ok;
    return ok;
}

// The project's own files of the compiler's kinds that are not sources: headers and
// include files, which a step depends on when its tool tells nothing about what it read.
QStringList MakefileWriter::headerFiles() const
{
    const BuildConfig *compiler = configuration.compiler();
    QStringList headers;
    if (!compiler)
        return headers;
    for (const QString &file : configuration.otherFiles()) {
        const QString suffix = QFileInfo(file).suffix();
        const bool header = std::any_of(compiler->fileKinds().cbegin(), compiler->fileKinds().cend(), [&](const FileKind &kind) {
            return !kind.isSource && kind.name.compare(suffix, Qt::CaseInsensitive) == 0;
        });
        if (header)
            headers.append(file);
    }
    return headers;
}

QStringList MakefileWriter::dependencyFiles(const ProjectNode *node) const
{
    QStringList files;
    for (const FileSpec &spec : node->compilerNode()->output().dependencyFiles) {
        const QFileInfo made(node->file());
        const QString name = spec.name.isEmpty()
            ? made.absolutePath() + QLatin1Char('/') + made.completeBaseName() + QLatin1Char('.') + spec.value
            : names.resolve(spec.name, node);
        files.append(QDir::cleanPath(QDir(projectDirectory).absoluteFilePath(name)));
    }
    return files;
}

bool MakefileWriter::insideBuildDirectory(const QString &file) const
{
    const QString relative = QDir(buildDirectory()).relativeFilePath(QDir(projectDirectory).absoluteFilePath(file));
    return !relative.isEmpty() && relative != QLatin1String(".") && !relative.startsWith(QLatin1String("../"))
        && relative != QLatin1String("..") && QDir::isRelativePath(relative);
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
    if (!check())
        return false;

    QDir(projectDirectory).mkpath(configuration.buildFolder());
    // Folders are made here, once, rather than by steps that make may run side by side.
    for (const ProjectNode *node : nodes) {
        if (insideBuildDirectory(node->file()))
            QDir().mkpath(QFileInfo(node->file()).absolutePath());
    }
    QString variables;
    QTextStream section(&variables);
    bool ok = writeGeneralOptions(section);
    writeToolsOptions(section);
    ok = writeProcessingTools(section) && ok;
    section.flush();

    QByteArray text;
    QTextStream out(&text);
    out << ruler << "\n# Makefile for project \n" << ruler << '\n' << variables;
    if (configuration.root())
        writeTreeComment(out, configuration.root(), QStringLiteral("#  "));
    writeBuildTree(out);
    writeSerialWhenShared(out);
    writeTidy(out);
    writeClean(out);
    writeDependencies(out);
    collectErrorFiles();
    out.flush();
    if (!writeIfChanged(makefile(), text, QIODevice::Text)) {
        if (workbench)
            workbench->addMessage(tr("Cannot open file %1 for writing\n").arg(QFileInfo(makefile()).absoluteFilePath()));
        return false;
    }
    return ok && writeFlagsStamp(variables);
}

// Most builds write what the last one wrote: leaving the file alone then spares a flush to
// disk on every build.
bool MakefileWriter::writeIfChanged(const QString &path, const QByteArray &text, QIODevice::OpenMode mode)
{
    QFile current(path);
    if (current.open(QIODevice::ReadOnly | mode) && current.readAll() == text)
        return true;
    current.close();
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly | mode) && file.write(text) == text.size() && file.commit();
}

// What the files were made with: the variables and, for each kind of step, its command
// templates and its own options. File names stay out, so that adding a file to the project
// does not rebuild the others.
bool MakefileWriter::writeFlagsStamp(const QString &variables) const
{
    QStringList steps;
    for (const ProjectNode *node : processNodes(configuration.root())) {
        const BuildProcess *process = node->process();
        const QString step = QStringList{process->name(), process->commandLine(), process->preCommands().join(QLatin1Char('\n')),
                                         process->postCommands().join(QLatin1Char('\n')),
                                         recipes.optionsString(node->optionValues(), nullptr)}
                                 .join(QLatin1Char('\n'));
        if (!steps.contains(step))
            steps.append(step);
    }
    steps.sort();
    const QByteArray flags = (variables + QLatin1Char('\n') + steps.join(QLatin1String("\n\n")) + QLatin1Char('\n')).toUtf8();
    if (writeIfChanged(flagsStamp(), flags, QIODevice::NotOpen))
        return true;
    if (workbench)
        workbench->addMessage(tr("Cannot open file %1 for writing\n").arg(flagsStamp()));
    return false;
}

bool MakefileWriter::writeGeneralOptions(QTextStream &out) const
{
    if (!configuration.target() || !configuration.compiler())
        return false;
    out << "\n## General options\n"
        << "PROJECT = \n"
        << "MCU = " << MakeText::variableValue(configuration.controller()) << '\n'
        << "COMPILER = \"" << MakeText::recipeText(configuration.compiler()->name(), Platform::ShellQuoting::InDoubleQuotes)
        << "\"\n"
        << "TARGET = " << MakeText::variableValue(configuration.targetName()) << '\n'
        << "CLOCK = " << PlaceholderResolver::clockValue(configuration.clock()).value_or(QString()) << '\n'
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
        out << MakeText::ruleName(tool.toUpper()) << "FLAGS="
            << recipes.optionsString(values, nullptr).replace(QLatin1Char('#'), QLatin1String("\\#")) << '\n';
    }
}

bool MakefileWriter::writeProcessingTools(QTextStream &out) const
{
    out << "\n## Processing Tools\n";
    const BuildConfig *compiler = configuration.compiler();
    if (!compiler)
        return false;
    for (const QString &tool : compiler->processToolNames())
        out << MakeText::ruleName(tool) << '=' << MakeText::variableValue(compiler->toolFile(tool)) << '\n';
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
    const QString target = MakeText::ruleName(configuration.targetName());
    out << "\n# Build tree:\n"
        << "all:\t" << target << "\n"
        << ".PHONY:\tall " << target << " tidy clean\n\n"
        << target << ":\t" << MakeText::ruleName(names.relativePath(root->file())) << '\n';
    for (const ProjectNode *node : processNodes(root))
        writeRule(out, node);
}

void MakefileWriter::writeRule(QTextStream &out, const ProjectNode *node) const
{
    out << '\n' << MakeText::ruleName(names.relativePath(node->file())) << ":\t";
    bool readsSources = false;
    for (int index = 0; index < node->childCount(); ++index) {
        out << MakeText::ruleName(names.relativePath(node->child(index)->file())) << ' ';
        readsSources = readsSources || !node->child(index)->isProcess();
    }
    if (readsSources && node->compilerNode()->output().dependencyFiles.isEmpty()) {
        for (const QString &header : headerFiles())
            out << MakeText::ruleName(names.relativePath(header)) << ' ';
    }
    out << MakeText::ruleName(names.relativePath(flagsStamp())) << '\n';
    const BuildProcess *process = node->process();
    for (const QString &command : process->preCommands())
        out << '\t' << recipes.resolve(command, node) << '\n';
    out << '\t' << recipes.resolve(process->commandLine(), node, true) << '\n';
    for (const QString &command : process->postCommands())
        out << '\t' << recipes.resolve(command, node) << '\n';
}

// A file that is gone (a deleted header, the stamp) must not stop make: a rule without
// prerequisites and recipe lets make take it as just made, so what depended on it is
// made again. The tools' own lists of what an output was made from come last.
void MakefileWriter::writeDependencies(QTextStream &out) const
{
    out << "\n# What the files were made from and with\n"
        << MakeText::ruleName(names.relativePath(flagsStamp())) << ":\n";
    for (const QString &header : headerFiles())
        out << MakeText::ruleName(names.relativePath(header)) << ":\n";
    for (const ProjectNode *node : processNodes(configuration.root())) {
        for (const QString &file : dependencyFiles(node))
            out << "-include " << MakeText::ruleName(names.relativePath(file)) << '\n';
    }
}

// The recipe line that removes file; none for a file outside the output folder, which the
// build may name but never owns.
QString MakefileWriter::removal(const QString &file) const
{
    const QString absolute = QDir::cleanPath(QDir(projectDirectory).absoluteFilePath(file));
    if (!insideBuildDirectory(absolute))
        return QString();
    QString name = names.relativePath(absolute);
    if (name.startsWith(QLatin1Char('-')))
        name.prepend(QStringLiteral("./"));
    return QStringLiteral("\trm -rf ") + MakeText::recipeText(name) + QLatin1Char('\n');
}

QStringList MakefileWriter::temporaryFiles(const ProjectNode *node) const
{
    QStringList files;
    for (const FileSpec &spec : node->compilerNode()->output().temporaryFiles) {
        QString name = names.resolve(spec.name, node);
        if (spec.name.isEmpty()) {
            const QString named = node->childCount() == 1 ? node->child(0)->file() : node->file();
            name = QFileInfo(named).baseName() + QLatin1Char('.') + spec.value;
        }
        if (!name.isEmpty())
            files.append(withForwardSlashes(name));
    }
    return files;
}

QStringList MakefileWriter::errorFilePaths(const ProjectNode *node) const
{
    QStringList paths;
    for (const FileSpec &spec : node->compilerNode()->output().errorFiles) {
        const QString name = spec.name.isEmpty() ? QFileInfo(node->file()).baseName() + QLatin1Char('.') + spec.value
                                                 : names.resolve(spec.name, node);
        paths.append(QDir::cleanPath(QDir(projectDirectory).absoluteFilePath(name)));
    }
    return paths;
}

// make runs steps side by side when asked to; two steps whose tools write the same error or
// temporary file would then mix or lose what the other wrote. The first such file, if any.
QString MakefileWriter::sharedScratchFile() const
{
    QHash<QString, const ProjectNode *> owners;
    for (const ProjectNode *node : processNodes(configuration.root())) {
        QStringList files = errorFilePaths(node);
        for (const QString &name : temporaryFiles(node))
            files.append(QDir::cleanPath(QDir(projectDirectory).absoluteFilePath(name)));
        for (const QString &file : std::as_const(files)) {
            const ProjectNode *owner = owners.value(file);
            if (owner && owner != node)
                return file;
            owners.insert(file, node);
        }
    }
    return QString();
}

void MakefileWriter::writeSerialWhenShared(QTextStream &out) const
{
    const QString shared = sharedScratchFile();
    if (shared.isEmpty())
        return;
    out << "\n# Several steps write " << MakeText::ruleName(names.relativePath(shared))
        << ", so they must not run side by side.\n.NOTPARALLEL:\n";
}

void MakefileWriter::writeTidy(QTextStream &out) const
{
    out << "\n# tidy - delete all temporary files which are not involved in the target generation\n"
        << "tidy:\n";
    for (const ProjectNode *node : processNodes(configuration.root())) {
        for (const QString &name : temporaryFiles(node))
            out << removal(name);
    }
}

void MakefileWriter::writeClean(QTextStream &out) const
{
    out << "\n# cleanup - delete all generated files\n"
        << "clean:\ttidy\n";
    for (const ProjectNode *node : processNodes(configuration.root())) {
        if (node == configuration.root() || node->childCount() > 0) {
            out << removal(node->file());
            for (const QString &file : dependencyFiles(node))
                out << removal(file);
        }
    }
    out << removal(flagsStamp());
}

void MakefileWriter::collectErrorFiles()
{
    for (const ProjectNode *node : processNodes(configuration.root())) {
        const QList<FileSpec> &specs = node->compilerNode()->output().errorFiles;
        const QStringList paths = errorFilePaths(node);
        for (qsizetype index = 0; index < specs.size(); ++index) {
            const QString &path = paths.at(index);
            const bool known = std::any_of(errorFiles_.cbegin(), errorFiles_.cend(),
                                           [&path](const ErrorFile &file) { return file.path == path; });
            if (!known)
                errorFiles_.append({path, specs.at(index).hideUnmatched});
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
