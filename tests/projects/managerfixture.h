#ifndef MANAGERFIXTURE_H
#define MANAGERFIXTURE_H

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

class Project;
class ProjectTreeWidget;
class ProjectsManager;
class QTreeWidgetItem;
class SrcManager;

// A real main window whose compilers come from the test tool chain, with a copy of the
// typical project in a scratch folder.
class ManagerFixture
{
public:
    // quorvin: the simulator installation the settings name (empty: none).
    explicit ManagerFixture(const QString &quorvin = QString());
    ~ManagerFixture();

    QString path(const QString &name) const { return folder.filePath(name); }
    QString projectPath() const { return path(QStringLiteral("blinky.zmxp")); }

    static void setSetting(const QString &key, const QVariant &value);
    // Copies a folder of the test fixtures below the scratch folder.
    void copyFixture(const QString &fixture, const QString &to) const;
    // Settings as a previous run left them: the open project and the open editor files.
    static void rememberOpen(const QString &project, const QStringList &editorFiles);
    // Builds the window (and shows it when asked); the settings written so far apply.
    SrcManager *createWindow(bool show = false);
    SrcManager *window() const { return mainWindow.get(); }
    ProjectsManager *manager() const;
    ProjectTreeWidget *tree() const;
    // The window with the typical project open.
    Project *openTypical(bool show = false);

    // Items of the open project by their text ("C Files", "main.c").
    QTreeWidgetItem *item(const QString &text) const;
    void select(const QString &text) const;
    static void writeFile(const QString &path, const QByteArray &contents);
    static QByteArray readFile(const QString &path);

private:
    QTemporaryDir folder;
    std::unique_ptr<SrcManager> mainWindow;
};

#endif
