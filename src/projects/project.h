#ifndef PROJECT_H
#define PROJECT_H

#include "build/buildableproject.h"
#include "projects/projectfile.h"
#include "projects/projectgroup.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class BuildConfigList;
class BuildProject;
class ProjectBuilder;
class QDomElement;
class QTextCharFormat;
class QTextEdit;
class QTreeWidgetItem;
class QXmlStreamWriter;
class SimulatorLink;
class Workbench;

// One open firmware project: its files sorted into groups, a description with keywords and
// its build configurations. It owns its part of the projects tree (a project item, one item
// per group, one per file) and reads and writes the ".zmxp" project file.
class Project : public QObject, public BuildableProject
{
    Q_OBJECT

public:
    enum ItemKind { ForeignItem = -1, ProjectItem = 0, GroupItem = 1, FileItem = 2 };

    static const char *const extension;

    Project(BuildConfigList *compilers, Workbench *mainWindow, QObject *parent = nullptr);
    ~Project() override;

    // From now on the project neither reports to the main window nor closes editors there
    // when it goes: for projects that are only shown (the wizard's board projects).
    void detachFromWindow()
    {
        mainWindow = nullptr;
        clearOutputOnDelete = false;
    }

    // Loading and saving.
    bool load(const QString &path);
    // Why the last load failed, in words that follow "Cannot open project X: ".
    QString loadError() const { return loadError_; }
    // Whether the project file differs from what was last read or written here; the state
    // found is then the known one, so each change is noticed once.
    bool noticeDiskChange();
    bool openWithDialog();
    // Writes the file atomically; a file that cannot be written is reported by name and
    // reason.
    bool save();
    bool maybeSave();
    // Saves under a name the user chooses: with copyFiles every file is copied beside the
    // new project file (a self-contained copy); without, only the project file is placed
    // (a new project). The sources and the previous project file stay as they are.
    bool saveAs(const QString &suggestion, bool copyFiles);
    // Runs the two pages of the new-project wizard on this fresh project; true when the
    // project was created and saved.
    bool newProjectWizard();
    // Saves the project and every open editor of its files, without questions.
    bool saveWithFiles() override;

    QString fileName() const override { return fileName_; }
    QString name() const { return name_; }
    QString description() const { return description_; }
    void setDescription(const QString &description) { description_ = description; }
    const QStringList &keywords() const { return keywords_; }
    void setKeywords(const QStringList &keywords) { keywords_ = keywords; }
    bool isModified() const { return modified; }
    void setModified(bool value) { modified = value; }
    bool isMakefileCurrent() const { return makefileCurrent; }
    void setMakefileCurrent(bool current) override { makefileCurrent = current; }
    const QList<ProjectFile> &files() const { return files_; }
    const QList<ProjectGroup> &groups() const { return groups_; }

    // Names and display.
    void updateName();
    void updateItemText();
    void markCurrent(bool isCurrent);
    void showInfo(QTextEdit *textView) const;
    void setFileModified(const QString &path, bool isModified);

    // Tree.
    void attachToTree(QTreeWidgetItem *root);
    QTreeWidgetItem *projectTreeItem() const { return projectItem; }
    int itemKind(const QTreeWidgetItem *item) const;
    bool ownsItem(const QTreeWidgetItem *item) const { return itemKind(item) >= 0; }
    int fileIndexOfItem(const QTreeWidgetItem *item) const;
    int groupIndexOfItem(const QTreeWidgetItem *item) const;
    void applyFormats(const QTextCharFormat &projectFormat, const QTextCharFormat &groupFormat,
                      const QTextCharFormat &fileFormat);
    void regroupFiles();
    void moveFileItem(QTreeWidgetItem *item, QTreeWidgetItem *target);
    void reorderFiles();

    // Files.
    int indexOfFile(const QString &path) const;
    QString buildFilePath(const QString &name) const override;
    bool hasBuildSources() const override;
    QString designFile() const;
    bool addFile(const QString &path, const QString &group);
    bool addFile(const QString &path);
    bool addFiles();
    void removeFile(int index);
    void renameFile(int index, const QString &newFileName);
    void renameGroup(int index, const QString &newName);
    void openFile(const QString &path);
    void openFile(const QTreeWidgetItem *item);
    void reopenFiles();
    bool newFile();
    bool newDesignFile(const QString &path);
    bool confirmDesignLocation(const QString &path) const;
    // The same question for a design file against a project file that is yet to be written.
    bool confirmDesignLocation(const QString &path, const QString &projectFile) const;
    // The simulator that a new design file is opened in; null when there is none.
    void setSimulatorLink(SimulatorLink *link) { simulator = link; }

    // Configurations.
    int configurationCount() const { return static_cast<int>(configurations.size()); }
    // The names of the project file's configurations in file order, loaded or not, and
    // those that could not be loaded (and are missing from the configurations).
    const QStringList &storedConfigurationNames() const { return storedConfigurationNames_; }
    const QStringList &unloadedConfigurations() const { return unloadedConfigurations_; }
    BuildProject *configuration(int index) const;
    // Takes the configurations over, replacing the current ones (the dialogs hand over the
    // copies they edited).
    void setConfigurations(std::vector<std::unique_ptr<BuildProject>> replacement);
    // The options dialog; on OK the next compile rebuilds every file. True when accepted.
    bool showOptions();
    // The configurations dialog; true when accepted. Cancel leaves the project untouched.
    bool showConfigurations();
    int currentConfigurationIndex() const { return currentConfiguration_; }
    void setCurrentConfiguration(int index);
    // Null when the current index is invalid.
    BuildProject *currentConfiguration() const override;
    QString currentFamily() const;
    QString currentController() const;
    QString currentCompilerName() const;
    QString currentClock() const;
    // The absolute path of the firmware file the current configuration builds (its file
    // names derived first); empty when it has no build tree.
    QString currentFirmwarePath();
    QStringList currentFiles() const;
    // The current configuration's family when path is one of its files, else empty.
    QString familyForFile(const QString &path) const;

    // Building the current configuration: checks, saving, Makefile and make, each reported
    // in the output window.
    bool prepareBuild();
    bool compile();
    bool clean();
    bool tidy();
    bool isBuilding() const;
    // Makes the next compile rebuild every file (after the options changed).
    void setRebuildAll(bool rebuild);

public slots:
    // Ends a running make at once.
    void abortBuild();

signals:
    // The items of the project changed; the display formats of the tree are due again.
    void treeFormatsNeeded();
    // A design file is to be opened in the simulator.
    void designLaunchRequested(const QString &path);

private:
    QString configurationError(const QDomElement &element) const;
    QString projectDirectory() const;
    QString absolutePath(const QString &path) const;
    QString withInstallationDirectory(const QString &path) const;
    QString fileIdentity(const QString &path) const;
    void refreshIdentityIndex() const;
    QString groupForFile(const QString &path) const;
    QString iconForFile(const QString &path) const;
    bool addFileEntry(const QString &path, const QString &group);
    bool acceptsFileName(const QString &path) const;
    void createFileItem(int index);
    int groupIndex(const QString &name) const;
    int ensureGroup(const QString &name);
    bool writeFile(QXmlStreamWriter &writer) const;
    // Takes what the wizard's first page started from: copies of its configurations (an
    // empty clock becomes 4MHz), its files and its name.
    void adoptStartProject(const Project &start);
    // Writes the compiler's starter source beside the project file (an existing file is
    // kept) and adds it.
    void addStarterSource();

    static int projectCounter;

    Workbench *mainWindow;
    SimulatorLink *simulator = nullptr;
    QTreeWidgetItem *tree = nullptr;
    QTreeWidgetItem *projectItem = nullptr;
    QList<ProjectGroup> groups_;
    bool modified = false;
    QString loadError_;
    QByteArray diskFingerprint;
    QString fileName_;
    QString name_;
    QString description_;
    QStringList keywords_;
    QList<ProjectFile> files_;
    BuildConfigList *compilers;
    bool makefileCurrent = false;
    std::vector<std::unique_ptr<BuildProject>> configurations;
    QStringList storedConfigurationNames_;
    QStringList unloadedConfigurations_;
    int currentConfiguration_ = 0;
    bool clearOutputOnDelete = true;
    // What the disk said about each path once: look-ups compare these strings instead of
    // asking the disk again for every entry.
    mutable QHash<QString, QString> identities;
    // The canonical path of each existing folder asked about.
    mutable QHash<QString, QString> folderIdentities;
    // The entries by the identities of their paths and short forms, for the paths listed in
    // indexedPaths; refreshIdentityIndex() notices any change of files_ by the data pointers.
    mutable QList<QString> indexedPaths;
    mutable QHash<QString, int> entriesByIdentity;
    std::unique_ptr<ProjectBuilder> builder;
};

#endif
