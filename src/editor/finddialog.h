#ifndef FINDDIALOG_H
#define FINDDIALOG_H

#include "core/quorvindialog.h"
#include "editor/searchpattern.h"
#include "ui_finddialog.h"

#include <QPointer>
#include <QStringList>

class DocumentText;
class ProjectsManager;
class QAction;
class SourceEditor;
class SrcTabsHolder;
class Workbench;

// Finds, and replaces, text in the current document, in all open documents or in all files
// of the current project, one match at a time or all at once. Files that no editor shows
// are searched on disk; the first one with a match is opened at it, and Replace All writes
// them back without opening them. The dialog is not modal and keeps its state between uses.
class FindDialog : public QuorvinDialog
{
    Q_OBJECT

public:
    enum LookIn { CurrentDocument = 0, AllOpenDocuments = 1, CurrentProject = 2 };

    FindDialog(Workbench *workbench, SrcTabsHolder *tabs, ProjectsManager *projects, QWidget *parent);

    int helpTopic() const override { return 6; }
    bool eventFilter(QObject *watched, QEvent *event) override;
    const Ui::FindDialog &form() const { return ui; }
    QAction *findNextAction() const { return findNextAction_; }

    void setReplaceMode(bool on);
    // The main window's Find and Replace commands: the selection becomes the text to find.
    void showFor(bool replace);
    // The main window's Find Next command.
    void findNextCommand();

public slots:
    void restartFind();
    void findNextClicked();
    void replaceClicked(bool);
    void replaceAllClicked(bool);
    void cancelClicked(bool);
    void replaceStateChanged(int state);
    void updateStrings(QComboBox *combo);

private:
    enum Mode { FindMode, ReplaceMode };
    enum Outcome { Matched, PassEnded, Stopped };
    struct Span
    {
        int start = -1;
        int end = -1;
        // The match was empty: the next one must not be empty at the same place.
        bool empty = false;
    };

    bool takeTexts();
    bool compilePattern();
    void prepareSearch();
    Outcome findStep(Mode mode);
    Outcome openNextFile();
    void enterFile(SourceEditor *editor);
    SearchPattern::Match searchEditor(const DocumentText &document) const;
    int replaceAllInEditor(SourceEditor *editor) const;
    qsizetype replaceAllOnDisk(const QStringList &files);
    void setBusy(bool busy);
    void reportPassEnded();

    Ui::FindDialog ui;
    Workbench *workbench;
    SrcTabsHolder *tabs;
    ProjectsManager *projects;
    QAction *findNextAction_;

    bool replaceMode = false;
    QString findText;
    QString replaceText;
    SearchPattern pattern;
    bool forward = true;
    bool restart = true;
    QStringList filesToSearch;
    QStringList openFiles;
    QString currentFile;
    QPointer<SourceEditor> searchedEditor;
    // Document positions (bytes of the editor's text): the selection when the pass began,
    // the last match (or replacement), the first match of the file, the wrap-around mark.
    Span start;
    Span last;
    int firstStart = -1;
    int replacedLength = 0;
    bool foundInFile = true;
};

#endif
