#ifndef CONSOLEWORKBENCH_H
#define CONSOLEWORKBENCH_H

#include "core/workbench.h"

#include <QHash>
#include <QSettings>
#include <QTextStream>

// The workbench of a build run from the command line: every output line goes to standard
// output as it comes, a link as "file:line:column: text". There is no window and no editor;
// the settings are read, never written (what the run would store stays in memory).
class ConsoleWorkbench : public Workbench
{
public:
    ConsoleWorkbench();
    ~ConsoleWorkbench() override;

    void clearOutput() override {}
    void addMessage(const QString &text) override;
    void addError(const QString &text) override;
    void addSuccess(const QString &text) override;
    void addMessageLink(const QString &file, int line, int column, const QString &text) override;
    void addErrorLink(const QString &file, int line, int column, QString &text) override;

    QString compilersDirectory(bool defaultOnly = false) override;
    QString toolsDirectory(bool defaultOnly = false) override;
    QString simulatorDirectory(bool defaultOnly = false) override;
    QString syntaxDirectory(bool defaultOnly = false) override;
    QString devBoardsDirectory(bool defaultOnly = false) override;
    QString projectsDirectory(bool defaultOnly = false) override;
    QString quorvinPath(bool detect = false) override;

    QSettings *settings() override { return &store; }
    QVariant settingsValue(const QString &key, const QVariant &defaultValue = QVariant()) override;
    void setSettingsValue(const QString &key, const QVariant &value) override;

    std::optional<QDomDocument> readDocument(const QString &path) override;
    bool writeDocument(const QString &path, const QDomDocument &document) override;

    void openFile(const QString &) override {}
    void openFileAt(const QString &, int, int) override {}
    void reopenFile(const QString &) override {}
    bool saveEditor(const QString &, bool) override { return true; }
    void discardEditor(const QString &) override {}
    void renameEditor(const QString &, const QString &) override {}
    void fileModified(const QString &, bool) override {}
    QStringList openFileNames() const override { return {}; }
    bool isEditorModified(const QString &) const override { return false; }
    QWidget *currentEditor() const override { return nullptr; }
    bool isProjectFile(const QString &) const override { return false; }
    QString controllerFamily(const QString &) const override { return {}; }
    bool isSimulated(const QString &, const QString &) const override { return false; }
    QAction *action(Action) const override { return nullptr; }

    QString currentTarget() const override { return QString(); }
    bool advancedMode() const override { return false; }
    void newMRUFile(const QString &) override {}
    void newMRUProject(const QString &) override {}
    void updateState() override {}
    void updateBuildTargets(const QString &) override {}
    void showStatusMessage(const QString &, int) override {}
    QWidget *dialogParent() override { return nullptr; }

private:
    void print(const QString &text);
    QString directory(const QString &key, const QString &fallback, bool defaultOnly);

    QSettings store;
    QHash<QString, QVariant> unsaved;
    QTextStream out;
};

#endif
