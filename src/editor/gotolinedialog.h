#ifndef GOTOLINEDIALOG_H
#define GOTOLINEDIALOG_H

#include "core/quorvindialog.h"
#include "ui_gotolinedialog.h"

#include <QPointer>

class QsciScintilla;

// Moves an editor's cursor to a line the user names. The field takes only numbers from 1
// to the editor's line count; a larger number becomes the last line as it is typed.
class GotoLineDialog : public QuorvinDialog
{
    Q_OBJECT

public:
    explicit GotoLineDialog(QWidget *parent);

    int helpTopic() const override { return 13; }
    // Prepares the dialog for editor; the caller then runs it.
    void setEditor(QsciScintilla *editor);
    QLineEdit *lineEdit() const { return ui.lineEdit; }

public slots:
    void accept() override;

private:
    Ui::GotoLineClass ui;
    QPointer<QsciScintilla> editor;
};

#endif
