#ifndef WORKBENCH_H
#define WORKBENCH_H

#include "core/buildmessage.h"

#include <QDomDocument>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class QAction;
class QSettings;
class QWidget;

// What the model classes may ask of the main window. The model never sees SrcManager
// itself, so it can be driven in tests by a recording fake; a null Workbench* stands for
// "no main window" and every caller must tolerate it.
class Workbench
{
public:
    // The main window's actions; editors and the projects pane enable them and put them in
    // their context menus.
    enum Action {
        OpenFile, SaveFile, SaveAllFiles, CloseFile, PrintFile,
        OpenSample, NewProject, OpenProject, SaveProject, SaveProjectAs, CloseProject,
        AddNewFile, AddExistingFile, AddDesignFile, CreateDesignFile, RemoveFile,
        ProjectSettings, BuildProject, StopBuild, CleanProject, TidyProject,
        Cut, Copy, Paste, Undo, Redo, Find, FindNext, Replace, Goto,
        Exit, Help, About, AboutQt, CompilersConfiguration, EditorConfiguration,
        OpenDebugger, StartDebugging, StopDebugging, CloseSimulator, Rename,
        ActionCount
    };

    virtual ~Workbench() = default;

    // Null when the window has no such action (a window-less run).
    virtual QAction *action(Action which) const = 0;

    // Output window. Each append lets pending events run before it returns.
    virtual void clearOutput() = 0;
    virtual void addMessage(const QString &text) = 0;
    virtual void addError(const QString &text) = 0;
    virtual void addSuccess(const QString &text) = 0;
    virtual void addMessageLink(const QString &file, int line, int column, const QString &text) = 0;
    // Escapes "<" and ">" of text in place, as the output window does.
    virtual void addErrorLink(const QString &file, int line, int column, QString &text) = 0;
    // The message behind the link line just added, for the editors' markers and for stepping
    // through the messages; windows without editors ignore it.
    virtual void addBuildMessage(const BuildMessage &) {}

    // Working directories; defaultOnly asks for the computed default without storing it.
    virtual QString compilersDirectory(bool defaultOnly = false) = 0;
    virtual QString toolsDirectory(bool defaultOnly = false) = 0;
    virtual QString simulatorDirectory(bool defaultOnly = false) = 0;
    virtual QString syntaxDirectory(bool defaultOnly = false) = 0;
    virtual QString devBoardsDirectory(bool defaultOnly = false) = 0;
    virtual QString projectsDirectory(bool defaultOnly = false) = 0;
    virtual QString quorvinPath(bool detect = false) = 0;

    // The program's settings store (group "1" already entered).
    virtual QSettings *settings() = 0;
    virtual QVariant settingsValue(const QString &key, const QVariant &defaultValue = QVariant()) = 0;
    virtual void setSettingsValue(const QString &key, const QVariant &value) = 0;

    // Every XML file of the program is read and written through these.
    virtual std::optional<QDomDocument> readDocument(const QString &path) = 0;
    virtual bool writeDocument(const QString &path, const QDomDocument &document) = 0;

    // Editor look-ups.
    virtual void openFile(const QString &path) = 0;
    virtual void openFileAt(const QString &path, int line, int column) = 0;
    virtual void reopenFile(const QString &path) = 0;
    virtual bool saveEditor(const QString &path, bool close) = 0;
    // Closes the editor of path, if one is open, without a question; unsaved changes are lost.
    virtual void discardEditor(const QString &path) = 0;
    // Gives the editor of oldPath, if one is open, the new path and refreshes the tab titles.
    virtual void renameEditor(const QString &oldPath, const QString &newPath) = 0;
    virtual void fileModified(const QString &path, bool modified) = 0;
    virtual QStringList openFileNames() const = 0;
    // True when an editor of path is open and holds unsaved changes.
    virtual bool isEditorModified(const QString &path) const = 0;
    // The editor that has the tabs' focus, or null.
    virtual QWidget *currentEditor() const = 0;

    // Project look-ups for the editors.
    virtual bool isProjectFile(const QString &path) const = 0;
    // The controller family of the open project that holds path; empty when none does.
    virtual QString controllerFamily(const QString &path) const = 0;
    // Whether the simulator can simulate the controller (family names compare exactly,
    // controller names without regard to letter case).
    virtual bool isSimulated(const QString &family, const QString &controller) const = 0;

    virtual QString currentTarget() const = 0;
    virtual bool advancedMode() const = 0;
    virtual void newMRUFile(const QString &fileName) = 0;
    virtual void newMRUProject(const QString &fileName) = 0;
    virtual void updateState() = 0;
    // Refills the configuration selector, keeping currentTarget selected.
    virtual void updateBuildTargets(const QString &currentTarget) = 0;
    // Shows text in the status bar for timeout milliseconds, or until the next call when
    // timeout is 0; empty text clears it.
    virtual void showStatusMessage(const QString &text, int timeout = 0) = 0;

    // Parent for message boxes and dialogs; may be null.
    virtual QWidget *dialogParent() = 0;
};

#endif
