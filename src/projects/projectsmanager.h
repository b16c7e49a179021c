#ifndef PROJECTSMANAGER_H
#define PROJECTSMANAGER_H

#include <QDockWidget>
#include <QList>
#include <QStringList>
#include <QTextCharFormat>
#include <functional>
#include <memory>

class BuildConfigList;
class FileWatcher;
class Project;
class ProjectTreeWidget;
class SimulatorLink;
class QMenu;
class QTreeWidgetItem;
class SampleProject;
class Workbench;

// The projects pane and the controller of every project command. One project is open at a
// time, yet the projects are kept as a list and every command addresses the current one.
// Without a main window nothing is reported and no action changes state.
class ProjectsManager : public QDockWidget
{
    Q_OBJECT

public:
    // Without a parent the owner's window is the parent.
    explicit ProjectsManager(Workbench *owner, QWidget *parent = nullptr);
    ~ProjectsManager() override;

    // The compiler configurations of the compilers directory, loaded at construction.
    BuildConfigList *buildConfigList() const { return buildConfigs; }
    ProjectTreeWidget *treeWidget() const { return tree; }
    // The link to the simulator, which the manager owns from then on; the window makes it,
    // since the simulator code lives above the projects.
    void setSimulatorLink(std::unique_ptr<SimulatorLink> link);
    SimulatorLink *simulatorLink() const { return simulator.get(); }

    bool isBusy() const { return busy; }
    // The project owning the tree's current item; else the first project, else -1.
    int currentProjectIndex() const;
    Project *currentProject() const;
    int projectCount() const { return int(projects.size()); }
    Project *project(int index) const;
    QString projectFileName(int index) const;
    QStringList projectFileNames() const;
    int indexOfProject(const QString &path) const;
    // The first project that owns the item, or null.
    Project *projectOfItem(const QTreeWidgetItem *item) const;
    QStringList configurationNames() const;
    bool isProjectFile(const QString &path) const;
    // The controller family of the current configuration of the first open project whose
    // current configuration lists the file, else of the current project; empty without one.
    QString controllerFamily(const QString &path) const;

    bool openProjectFile(const QString &path, bool quiet);
    // Opens a copy of the sample in a new folder of the projects directory, after the current
    // project agreed to close. True when the copy is open.
    bool openSampleCopy(const QString &samplePath);
    // Null until the first Open Sample.
    SampleProject *sampleDialog() const { return samples; }
    // Reads the compilers directory again. The open projects keep their configurations,
    // unsaved changes included, bound to the configurations just read; during a build this
    // waits for its end.
    void reloadCompilers();
    bool askToClose(int index);
    bool closeCurrentProject();
    void removeProject(int index);
    void applyTreeFormats();
    void clearMakefileCurrent(const QString &directory);
    void setCurrentConfiguration(int index);
    void requestAbort();
    void fileModified(const QString &path, bool modified);
    // The pane's menu for the current tree item, shown without blocking.
    void showContextMenu(const QPoint &globalPosition);
    QMenu *contextMenu() const { return menu; }

public slots:
    void updateState();
    void newProject();
    void openProject();
    void openSample();
    void saveProject();
    void saveProjectAs();
    void closeProject();
    void addFile();
    void newFile();
    void newDesignFile();
    void removeFile();
    void projectSettings();
    void showCompilersDialog();
    void showConfigurationsDialog();
    void compileProject();
    void cleanProject();
    void tidyProject();
    void sendFirmware();
    void debugOpen();
    void debugClose();
    void debugRun();
    void debugStop();
    void renameItem();
    void scanCompilers();

signals:
    // Which configuration the main window should select; empty when the current project
    // changed and its configurations are to be picked up again.
    void projectConfigurationChange(const QString &currentTarget);
    // A build, clean or tidy begins (what: the word the status bar shows) and ends.
    void buildStarted(const QString &what);
    void buildFinished();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private slots:
    void itemDoubleClicked(QTreeWidgetItem *item, int column);
    void itemClicked(QTreeWidgetItem *item, int column);
    void itemChanged(QTreeWidgetItem *item, int column);

private:
    Project *createProject();
    void appendProject(Project *project);
    void markCurrentProject();
    void followCurrentProject();
    void reportAlreadyOpened(const QString &path);
    void reportNotOpened(const QString &path, const QString &reason);
    // operation answers whether it succeeded; a successful build goes to a running simulator.
    void runBuildCommand(const std::function<bool(Project &)> &operation, bool compiling, const QString &what);
    void handOverBuild(bool built);
    void closeSimulator();
    void projectFileChanged(const QString &path);
    void updateWindowState();
    void message(const QString &text);
    void error(const QString &text);
    void success(const QString &text);

    Workbench *owner;
    QMenu *menu = nullptr;
    BuildConfigList *buildConfigs;
    ProjectTreeWidget *tree;
    QTreeWidgetItem *rootItem;
    FileWatcher *projectFileWatcher;
    QList<Project *> projects;
    int lastCurrentIndex = -1;
    bool busy = false;
    bool reloadPending = false;
    bool firmwareHandedOver = false;
    QTextCharFormat projectFormat;
    QTextCharFormat groupFormat;
    QTextCharFormat fileFormat;
    std::unique_ptr<SimulatorLink> simulator;
    SampleProject *samples = nullptr;
};

#endif
