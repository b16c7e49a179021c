#ifndef BUILDPROJECT_H
#define BUILDPROJECT_H

#include "build/optionvalue.h"
#include "build/projectnode.h"

#include <QDomElement>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class BuildConfig;
class BuildConfigList;
class BuildTreeNode;
class QXmlStreamWriter;
class Workbench;
struct CompilerTarget;

// One build configuration of a project ("Debug", "Release"): the compiler configuration,
// controller, target and clock it builds with, and the project's build tree, which says
// which process turns which source file into what, with which option values. Stored as a
// CONFIGURATION element of the project file. Compiler configurations are referred to by
// name and owned by the BuildConfigList.
class BuildProject : public QObject
{
    Q_OBJECT

public:
    BuildProject(Workbench *mainWindow, BuildConfigList *compilers, QObject *parent = nullptr);
    ~BuildProject() override;

    // Every field copied and the tree copied node by node; dialogs edit such a copy.
    std::unique_ptr<BuildProject> copy() const;

    QString name() const { return name_; }
    void setName(const QString &name);
    BuildConfig *compiler() const { return compiler_; }
    // The selected compiler configuration's name; empty without one.
    QString compilerName() const;
    QString family() const { return family_; }
    QString controller() const { return controller_; }
    QString clock() const { return clock_; }
    void setClock(const QString &clock) { clock_ = clock; }
    const CompilerTarget *target() const { return target_; }
    // Kept while no compiler or no matching target is selected, so it can be re-selected.
    QString targetName() const { return targetName_; }
    // The folder below the project that holds the Makefile and everything the build makes:
    // named after the configuration, so that two configurations of one target never share
    // (and overwrite) their objects. The target's name when the configuration has none.
    QString buildFolder() const { return name_.isEmpty() ? targetName_ : name_; }
    ProjectNode *root() const { return root_.get(); }
    // Project files no process of the compiler takes, absolute with forward slashes.
    const QStringList &otherFiles() const { return otherFiles_; }
    QList<OptionValue> &optionValues() { return optionValues_; }
    const QList<OptionValue> &optionValues() const { return optionValues_; }

    // Switches to the compiler configuration of that name (ignoring case): the option values
    // are cleared, the target of the kept name is selected in it and the files are placed
    // again with their default option values. True when a compiler is set.
    bool selectCompiler(const QString &name);
    // Fails when no compiler is set or it does not offer the pair. With applyDefaults the
    // old controller's default option values give way to the new one's.
    bool selectController(const QString &family, const QString &controller, bool applyDefaults);
    // Keeps the name; a different target places the files again in its tree.
    bool selectTarget(const QString &name);

    // Creates the root from the target's build tree when there is none; reports "Cannot
    // select build target." when no target can be selected.
    bool ensureRoot(bool applyDefaults);
    // Attaches the file below the process that takes its suffix at the shallowest depth;
    // false (and the file kept among the other files) when no process takes it.
    bool addFile(const QString &path, bool applyDefaults);
    // addFile for many files at once, without looking through the tree for each of them.
    void addFiles(const QStringList &paths, bool applyDefaults);
    bool removeFile(const QString &path);
    bool renameFile(const QString &oldPath, const QString &newPath);
    // Leaf files depth first, then the other files.
    QStringList allFiles() const;
    bool containsFile(const QString &path) const;

    // The option values the target and the controller give a tool; every tool's for an
    // empty name.
    QList<OptionValue> defaultOptionValues(const QString &toolName) const;
    // Throws away every option value set by hand: each step of the tree starts again from
    // the defaults of the target and the controller.
    void resetOptionValues();

    // Moves option values held by every node of a tool up to the configuration-wide list and
    // drops duplicates there. Values with an identifier stay put unless applyDefaults.
    void normalizeOptionValues(bool applyDefaults);

    // The CONFIGURATION element; relative paths are taken against the project file's
    // directory.
    bool load(const QDomElement &element, const QString &projectFilePath);
    void save(QXmlStreamWriter &writer, const QString &projectFilePath) const;

private:
    void reset();
    void replaceTree(const QStringList &files);
    bool attachFile(const QString &file, bool applyDefaults);
    std::unique_ptr<ProjectNode> newProcessNode(const BuildTreeNode *compilerNode, ProjectNode *parent,
                                                bool applyDefaults) const;
    ProjectNode *findNode(ProjectNode *node, const QString &path) const;
    void replaceDefaults(const QString &oldFamily, const QString &oldController);
    void settleOptionValues(bool applyDefaults, bool place);
    bool readTreeElement(const QDomElement &element, ProjectNode *parent, const QString &directory);
    void writeNode(QXmlStreamWriter &writer, const ProjectNode *node, const QString &directory) const;

    Workbench *mainWindow;
    BuildConfigList *compilers;
    BuildConfig *compiler_ = nullptr;
    QString name_;
    QString family_;
    QString controller_;
    QString clock_;
    std::unique_ptr<ProjectNode> root_;
    QStringList otherFiles_;
    const CompilerTarget *target_ = nullptr;
    QString targetName_;
    QList<OptionValue> optionValues_;
};

#endif
