#ifndef COPYPROJECTFILESDIALOG_H
#define COPYPROJECTFILESDIALOG_H

#include "core/quorvindialog.h"
#include "ui_copyprojectfilesdialog.h"

#include <QString>

class Workbench;

// Asks for the name of a project and the folder to store it in. When files are to be
// copied the project gets a folder of its own below the chosen one; a new project's file
// goes straight into the chosen folder.
class CopyProjectFilesDialog : public QuorvinDialog, private Ui::CopyProjectFilesDialog
{
    Q_OBJECT

public:
    CopyProjectFilesDialog(Workbench *mainWindow, const QString &suggestedName, const QString &designFile,
                           bool newProjectMode);

    int helpTopic() const override { return 10; }

    // The absolute path of the project file, once the dialog was accepted.
    QString resultPath() const { return resultPath_; }
    bool keepsStructure() const { return keepStructure->isChecked(); }
    // The project's own folder when this dialog made it (so that a failed save can take
    // an empty one away again); empty otherwise.
    QString createdFolder() const { return createdFolder_; }

    // A name the file system can hold: not empty and more than dots and spaces.
    static bool isUsableName(const QString &name);

public slots:
    void okButtonClicked(bool checked = false);
    void cancelButtonClicked(bool checked = false);
    void selectRootFolder(bool checked = false);
    void projectNameChanged(const QString &text);

private:
    void refuse(const QString &text, const QString &detail = QString());

    Workbench *mainWindow;
    QString resultPath_;
    QString createdFolder_;
    bool newProjectMode;
};

#endif
