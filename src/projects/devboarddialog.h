#ifndef DEVBOARDDIALOG_H
#define DEVBOARDDIALOG_H

#include "core/quorvindialog.h"
#include "ui_devboarddialog.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class BuildConfigList;
class Project;
class QTreeWidgetItem;
class Workbench;

// The first page of the new-project wizard: what the project starts from. A development
// board's demonstration project, a schematic design file with sources chosen from beside
// it, or nothing.
class DevBoardDialog : public QuorvinDialog, private Ui::DevBoardDialog
{
    Q_OBJECT

public:
    enum CloseCode { Cancelled = 1, Confirmed = 2, NextPage = 3, PreviousPage = 4 };
    enum Choice { NoChoice = 0, DemoProjectChoice = 1, DesignFileChoice = 2 };

    DevBoardDialog(Workbench *mainWindow, BuildConfigList *compilers);
    ~DevBoardDialog() override;

    int helpTopic() const override { return 11; }

    int closeCode() const { return closeCode_; }
    int choice() const { return choice_; }
    // The board projects by name, then the keyword filter's entries ("All" first).
    QStringList boardNames() const;
    const QStringList &boardKeywords() const { return boardKeywords_; }
    const QStringList &designFiles() const { return designFiles_; }
    QString designFilePath() const;
    // Which of the wizard's buttons this page shows.
    void setButtonsShown(bool back, bool next, bool ok);

    // The project the new one starts from: the chosen board's project as loaded, or a new
    // empty one with "Debug" and "Release" configurations (and the design files). It
    // lives as long as this dialog or the next call.
    const Project *createStartProject();

public slots:
    void backButtonClicked(bool checked = false);
    void nextButtonClicked(bool checked = false);
    void okButtonClicked(bool checked = false);
    void cancelButtonClicked(bool checked = false);
    void radioButtonToggled(bool checked);
    void designFileButtonClicked(bool checked = false);
    void designFileEntryCompleted();
    void demoProjectComboBoxCurrentIndexChanged(const QString &text);
    void demoProjectsListCurrentTextChanged(const QString &text);
    void directoryTreeItemChanged(QTreeWidgetItem *item, int column);
    void directoryTreeItemClicked(QTreeWidgetItem *item, int column);
    void directoryTreeItemExpanded(QTreeWidgetItem *item);
    void refreshState();

private:
    void loadBoards();
    bool designFileUsable() const;
    void rebuildDirectoryTree();
    void fillDirectory(QTreeWidgetItem *item);
    void collectCheckedFiles(QTreeWidgetItem *item, QStringList &files);

    Workbench *mainWindow;
    BuildConfigList *compilers;
    int closeCode_ = Cancelled;
    int choice_ = NoChoice;
    std::vector<std::unique_ptr<Project>> boardProjects;
    QStringList boardKeywords_;
    QList<int> shownBoards;
    int selectedBoard = -1;
    QStringList designFiles_;
    std::unique_ptr<Project> emptyStart;
    QStringList sourceSuffixes;
    QString shownDirectory;
    bool propagatingChecks = false;
};

#endif
