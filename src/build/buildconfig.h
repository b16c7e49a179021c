#ifndef BUILDCONFIG_H
#define BUILDCONFIG_H

#include "build/buildprocess.h"
#include "build/buildtool.h"
#include "build/buildtreenode.h"
#include "build/optionvalue.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class Workbench;

// A kind of file the tool chain knows (FILE child of COMPILER). Only source kinds take part
// in file matching; category names the project-tree group ("%1 Files"); icon is a resource
// name under ":/images/".
struct FileKind
{
    QString name; // a suffix without the dot
    QString description;
    QString category;
    QString icon;
    bool isSource = false;
};

// A variable make runs with: a set entry replaces it, any other entry appends its value
// with the separator.
struct EnvironmentEntry
{
    QString name;
    QString value;
    bool isSet = false;
    QString separator; // read only for entries that append

    static EnvironmentEntry fromElement(const QDomElement &element);
};

struct CompilerController
{
    QString name;
    QList<OptionValue> optionValues;
    QList<EnvironmentEntry> environment;
};

struct CompilerFamily
{
    QString name;
    QList<CompilerController> controllers;
};

// A build target ("Debug", "Release"): output.value is the target file (a suffix such as
// "hex"); buildTree is the tree of processes that produce it, null when none does.
struct CompilerTarget
{
    QString name;
    FileSpec output;
    std::shared_ptr<const BuildTreeNode> buildTree;
    QList<OptionValue> optionValues;
    QList<EnvironmentEntry> environment;
};

// One compiler configuration file: everything the IDE knows about one tool chain. Read-only
// once loaded; what detection found lives in the settings (isConfigured, compilerDirectory).
class BuildConfig : public QObject
{
    Q_OBJECT

public:
    explicit BuildConfig(Workbench *workbench, QObject *parent = nullptr);
    ~BuildConfig() override;

    // Reads the file through the workbench's XML reader. False when it cannot be read or
    // parsed; a document without a COMPILER element loads as an empty configuration.
    bool load(const QString &path);

    QString name() const { return name_; }
    QString version() const { return version_; }
    QString webAddress() const { return webAddress_; }
    // The absolute path of the file, or only its file name.
    QString filePath(bool fileNameOnly = false) const;

    const QList<BuildTool *> &tools() const { return tools_; }
    const QList<BuildProcess *> &processes() const { return processes_; }
    const QList<CompilerFamily> &families() const { return families_; }
    const QList<CompilerTarget> &targets() const { return targets_; }
    const QList<FileKind> &fileKinds() const { return fileKinds_; }
    // The NAME of every TOOL that failed to load and was left out. A build with this
    // configuration would run its processes without their tool, so it must not start.
    const QStringList &brokenTools() const { return brokenTools_; }

    // Names of the source kinds, duplicates removed.
    QStringList sourceSuffixes() const;
    // The files whose suffix is a source suffix or "dsn" (the simulator design file).
    QStringList sourceFiles(const QStringList &files, bool caseSensitive = false) const;

    // Positions by name, ignoring letter case; -1 when absent.
    int familyIndex(const QString &family) const;
    int controllerIndex(int familyIndex, const QString &controller) const;
    // The controller's index within its family, or -1 when the pair is not supported.
    int controllerSupported(const QString &family, const QString &controller) const;
    // The target of that name ignoring letter case, or null.
    const CompilerTarget *target(const QString &name) const;

    // The option definitions of every tool, in tool order, as BuildTool::optionDefinitions
    // filters them for toolName.
    QList<OptionDefinition> toolOptionDefinitions(const QString &toolName) const;
    // The tool one of whose names is exactly name, or null; toolFile gives its FILE.
    BuildTool *toolForName(const QString &name) const;
    QString toolFile(const QString &name) const;
    // The distinct TOOL names of the processes, in process order.
    QStringList processToolNames() const;

    // The processes with an output definition whose output equals file.
    QList<const BuildProcess *> processesProducing(const QString &file, bool caseSensitive = false) const;

    // The option values of the target, then those of the controller, that apply to
    // toolName: all of them for an empty toolName, else those without a tool or for it.
    QList<OptionValue> defaultOptionValues(const QString &target, const QString &toolName, const QString &family,
                                           const QString &controller) const;

    // Detection results kept in the settings array "compilers" under this name.
    bool isConfigured() const;
    // The stored compiler directory when configured, else empty.
    QString compilerDirectory() const;
    void storeDetection(bool configured, const QString &directory) const;

private:
    void clear();
    void readFamilies(const QDomElement &compiler);
    void readTargets(const QDomElement &compiler);
    void buildTree(const QString &file, BuildTreeNode *parent, std::unique_ptr<BuildTreeNode> &root) const;

    Workbench *workbench;
    QString path;
    QString name_;
    QString version_;
    QString webAddress_;
    QList<BuildTool *> tools_;
    QList<BuildProcess *> processes_;
    QList<CompilerFamily> families_;
    QList<CompilerTarget> targets_;
    QList<FileKind> fileKinds_;
    QStringList brokenTools_;
};

#endif
