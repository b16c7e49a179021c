#ifndef FAKEWORKBENCH_H
#define FAKEWORKBENCH_H

#include "core/workbench.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A Workbench that records every call, keeps settings in a private INI file and serves
// directories from a temporary folder unless a test sets them.
class FakeWorkbench : public Workbench
{
public:
    struct Link
    {
        bool error;
        QString file;
        int line;
        int column;
        QString text;
    };

    FakeWorkbench();
    ~FakeWorkbench() override;

    // Every output line in order, prefixed with its kind: "message: ", "error: ", "success: ".
    QStringList output;
    QList<Link> links;
    QList<BuildMessage> buildMessages;
    QStringList openedFiles;
    QStringList mruFiles;
    QStringList mruProjects;
    QStringList editorFiles;
    // "save PATH", "close PATH", "discard PATH", "rename OLD -> NEW" in call order.
    QStringList editorCalls;
    QString compilersDir;
    QString toolsDir;
    QString simulatorDir;
    QString syntaxDir;
    QString devBoardsDir;
    QString projectsDir;
    QString quorvin;
    QString target = QStringLiteral("Debug");
    bool advanced = false;
    int stateUpdates = 0;
    QStringList buildTargetUpdates;
    // Every status bar text in order; an empty one clears the bar.
    QStringList statusMessages;
    QStringList modifiedEditors;
    QStringList projectFiles;
    QString family;
    // The simulated controllers as "FAMILY/CONTROLLER", the controller in upper case.
    QStringList simulated;

    QString allOutput() const { return output.join(QString()); }
    QString scratchPath() const { return scratch.path(); }

    void clearOutput() override;
    void addMessage(const QString &text) override;
    void addError(const QString &text) override;
    void addSuccess(const QString &text) override;
    void addMessageLink(const QString &file, int line, int column, const QString &text) override;
    void addErrorLink(const QString &file, int line, int column, QString &text) override;
    void addBuildMessage(const BuildMessage &message) override { buildMessages.append(message); }
    QString compilersDirectory(bool defaultOnly = false) override;
    QString toolsDirectory(bool defaultOnly = false) override;
    QString simulatorDirectory(bool defaultOnly = false) override;
    QString syntaxDirectory(bool defaultOnly = false) override;
    QString devBoardsDirectory(bool defaultOnly = false) override;
    QString projectsDirectory(bool defaultOnly = false) override;
    QString quorvinPath(bool detect = false) override;
    QSettings *settings() override { return store.get(); }
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
    QStringList openFileNames() const override { return editorFiles; }
    bool isEditorModified(const QString &path) const override { return modifiedEditors.contains(path); }
    QWidget *currentEditor() const override { return nullptr; }
    bool isProjectFile(const QString &path) const override { return projectFiles.contains(path); }
    QString controllerFamily(const QString &) const override { return family; }
    bool isSimulated(const QString &family, const QString &controller) const override
    {
        return simulated.contains(family + QLatin1Char('/') + controller.toUpper());
    }
    QAction *action(Action) const override { return nullptr; }
    QString currentTarget() const override { return target; }
    bool advancedMode() const override { return advanced; }
    void newMRUFile(const QString &fileName) override { mruFiles.prepend(fileName); }
    void newMRUProject(const QString &fileName) override { mruProjects.prepend(fileName); }
    void updateState() override { ++stateUpdates; }
    void updateBuildTargets(const QString &currentTarget) override { buildTargetUpdates.append(currentTarget); }
    void showStatusMessage(const QString &text, int) override { statusMessages.append(text); }
    QWidget *dialogParent() override { return nullptr; }

private:
    QString orScratch(const QString &value, const char *name) const;

    QTemporaryDir scratch;
    std::unique_ptr<QSettings> store;
};

#endif
