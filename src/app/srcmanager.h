#ifndef SRCMANAGER_H
#define SRCMANAGER_H

#include "core/workbench.h"
#include "editor/messagelist.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

class QAction;
class QActionGroup;
class QComboBox;
class QMenu;
class QSettings;
class QToolBar;
class FindDialog;
class GotoLineDialog;
class OutWindow;
class Print;
class ProjectsManager;
class SimulatedControllers;
class SrcTabsHolder;
class StatusIndicators;

// The main window: actions, menus, tool bars, the three panes, the settings store and the
// recently opened lists. The model reaches it only as a Workbench.
class SrcManager : public QMainWindow, public Workbench
{
    Q_OBJECT

public:
    static const char *const helpFile;

    SrcManager();
    ~SrcManager() override;

    QAction *action(Action which) const override { return actions[which]; }
    QComboBox *configurationBox() const { return configBox; }
    SrcTabsHolder *tabs() const { return tabsHolder; }
    ProjectsManager *projects() const { return projectsManager; }
    OutWindow *output() const { return outWindow; }
    // Made at their first use and kept, with their state, until the window ends.
    FindDialog *findDialog();
    GotoLineDialog *gotoLineDialog();
    Print *printer();
    StatusIndicators *indicators() const { return statusIndicators; }
    QMenu *viewMenu() const { return viewMenu_; }
    QMenu *recentMenu() const { return recentlyOpenedMenu; }
    const QStringList &recentProjectList() const { return recentProjects; }
    const QStringList &recentFileList() const { return recentFiles; }
    bool isQuorvinTooOld() const { return quorvinTooOld; }

    virtual void setAdvancedMode(bool advanced) { advanced_ = advanced; }

    // Settings and directories. The command line acts through the virtual ones.
    virtual void openSettings(bool systemScope);
    void setCompilersDirectory(const QString &path);
    void setToolsDirectory(const QString &path);
    void setSimulatorDirectory(const QString &path);
    void setSyntaxDirectory(const QString &path);
    void setDevBoardsDirectory(const QString &path);
    void setProjectsDirectory(const QString &path);
    void setQuorvinPath(const QString &path);
    void checkQuorvinInstallation();
    bool readSettings();
    void writeSettings();
    virtual void scanCompilers();
    virtual void openProject(const QString &fileName);
    void showHelp(const QString &file, int context);

    // Workbench
    void clearOutput() override;
    void addMessage(const QString &text) override;
    void addError(const QString &text) override;
    void addSuccess(const QString &text) override;
    void addMessageLink(const QString &file, int line, int column, const QString &text) override;
    void addErrorLink(const QString &file, int line, int column, QString &text) override;
    void addBuildMessage(const BuildMessage &message) override;
    QString compilersDirectory(bool defaultOnly = false) override;
    QString toolsDirectory(bool defaultOnly = false) override;
    QString simulatorDirectory(bool defaultOnly = false) override;
    QString syntaxDirectory(bool defaultOnly = false) override;
    QString devBoardsDirectory(bool defaultOnly = false) override;
    QString projectsDirectory(bool defaultOnly = false) override;
    QString quorvinPath(bool detect = false) override;
    QSettings *settings() override { return settingsStore; }
    QVariant settingsValue(const QString &key, const QVariant &defaultValue = QVariant()) override;
    void setSettingsValue(const QString &key, const QVariant &value) override;
    std::optional<QDomDocument> readDocument(const QString &path) override;
    bool writeDocument(const QString &path, const QDomDocument &document) override;
    void openFile(const QString &path) override;
    void openFileAt(const QString &path, int line, int column) override;
    void reopenFile(const QString &path) override;
    bool saveEditor(const QString &path, bool close) override;
    void discardEditor(const QString &path) override;
    void renameEditor(const QString &oldPath, const QString &newPath) override;
    void fileModified(const QString &path, bool modified) override;
    QStringList openFileNames() const override;
    bool isEditorModified(const QString &path) const override;
    QWidget *currentEditor() const override;
    bool isProjectFile(const QString &path) const override;
    QString controllerFamily(const QString &path) const override;
    bool isSimulated(const QString &family, const QString &controller) const override;
    QString currentTarget() const override;
    bool advancedMode() const override { return advanced_; }
    QWidget *dialogParent() override { return this; }
    void showStatusMessage(const QString &text, int timeout = 0) override;

public slots:
    void openFile();
    void updateState() override;
    void updateBuildTargets(const QString &currentTarget) override;
    void configComboIndexChanged(const QString &text);
    void newMRUFile(const QString &fileName) override;
    void newMRUProject(const QString &fileName) override;
    void abortBuild();
    void nextMessage() { stepMessage(true); }
    void previousMessage() { stepMessage(false); }

signals:
    // Every help request, whether or not a help viewer could show it.
    void helpRequested(const QString &file, int context);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void about();
    void help();
    void showProgramConfigurationDialog();
    void find();
    void findNext();
    void replace();
    void gotoLine();
    void print();
    void MRUMenuTriggered(QAction *action);
    void createMRUMenu();

private:
    void createActions();
    void connectActions();
    void createToolBars();
    void createMenus();
    void createMessageActions();
    void stepMessage(bool forward);
    void createViewMenu();
    void updateWindowTitle();
    void rememberConfiguration(const QString &name);
    QString rememberedConfiguration() const;
    QString directory(const QString &key, bool defaultOnly, QString (*computeDefault)());
    static void addRecent(QStringList &list, const QString &fileName);

    QAction *actions[ActionCount] = {};
    QAction *separatorAction = nullptr;
    QActionGroup *recentFilesGroup = nullptr;
    QActionGroup *recentProjectsGroup = nullptr;
    QMenu *fileMenu = nullptr;
    QMenu *projectMenu = nullptr;
    QMenu *editMenu = nullptr;
    QMenu *configMenu = nullptr;
    QMenu *debugMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QMenu *recentlyOpenedMenu = nullptr;
    QMenu *viewMenu_ = nullptr;
    StatusIndicators *statusIndicators = nullptr;
    QToolBar *fileToolBar = nullptr;
    QToolBar *projectToolBar = nullptr;
    QToolBar *editToolBar = nullptr;
    QToolBar *debugToolBar = nullptr;
    QComboBox *configBox = nullptr;
    QSettings *settingsStore = nullptr;
    SrcTabsHolder *tabsHolder = nullptr;
    ProjectsManager *projectsManager = nullptr;
    OutWindow *outWindow = nullptr;
    // The messages of the last build; the output and the editors' markers show them.
    MessageList messageList;
    QAction *nextMessageAction = nullptr;
    QAction *previousMessageAction = nullptr;
    QAction *annotationsAction = nullptr;
    FindDialog *findDialog_ = nullptr;
    GotoLineDialog *gotoLineDialog_ = nullptr;
    Print *printer_ = nullptr;
    std::unique_ptr<SimulatedControllers> simulatedControllers;
    QStringList rememberedFiles;
    QStringList recentProjects;
    QStringList recentFiles;
    bool advanced_ = false;
    bool quorvinTooOld = false;
};

#endif
