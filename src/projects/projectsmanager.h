#ifndef PROJECTSMANAGER_H
#define PROJECTSMANAGER_H

#include <QDockWidget>
#include <QStringList>

class BuildConfigList;
class SrcManager;

// The projects pane: runs every project command on the one open project.
class ProjectsManager : public QDockWidget
{
    Q_OBJECT

public:
    explicit ProjectsManager(SrcManager *owner);

    // The compiler configurations of the compilers directory, loaded at construction.
    BuildConfigList *buildConfigList() const { return buildConfigs; }

    bool isBusy() const;
    int projectCount() const;
    QStringList projectFileNames() const;
    QStringList configurationNames() const;
    bool isProjectFile(const QString &path) const;
    // The controller family of the current configuration of the first open project whose
    // current configuration lists the file, else of the current project; empty without one.
    QString controllerFamily(const QString &path) const;
    bool askToClose(int index);
    bool openProjectFile(const QString &fileName, bool quiet);
    void setCurrentConfiguration(int index);
    void requestAbort();
    void fileModified(const QString &path, bool modified);

public slots:
    void openSample();
    void newProject();
    void openProject();
    void saveProject();
    void saveProjectAs();
    void closeProject();
    void newFile();
    void addFile();
    void newDesignFile();
    void removeFile();
    void projectSettings();
    void compileProject();
    void cleanProject();
    void tidyProject();
    void showCompilersDialog();
    void showConfigurationsDialog();
    void debugOpen();
    void debugRun();
    void renameItem();
    void updateState();
    void scanCompilers();

signals:
    void projectConfigurationChange(const QString &configuration);

private:
    SrcManager *owner;
    BuildConfigList *buildConfigs;
    bool busy = false;
};

#endif
