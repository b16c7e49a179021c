#ifndef QUORVINDIALOG_H
#define QUORVINDIALOG_H

#include <QDialog>

// Base of every dialog of the IDE: carries the help topic that F1 and What's This open,
// and gives editable combo boxes the context menu of a plain line edit.
class QuorvinDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QuorvinDialog(QWidget *parent);

    bool eventFilter(QObject *watched, QEvent *event) override;
    virtual int helpTopic() const = 0;

protected:
    QWidget *owner;
};

#endif
