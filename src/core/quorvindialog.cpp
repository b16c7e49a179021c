#include "core/quorvindialog.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>

QuorvinDialog::QuorvinDialog(QWidget *parent) : QDialog(parent), owner(parent)
{
    // The main window watches dialog events for its context help.
    if (parent)
        installEventFilter(parent);
}

bool QuorvinDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ContextMenu)
        return false;
    QComboBox *combo = qobject_cast<QComboBox *>(watched);
    if (!combo || !combo->lineEdit())
        return false;
    QPointer<QLineEdit> edit = combo->lineEdit();
    const Qt::ContextMenuPolicy policy = edit->contextMenuPolicy();
    edit->setContextMenuPolicy(Qt::DefaultContextMenu);
    QCoreApplication::sendEvent(edit, event);
    QCoreApplication::processEvents();
    if (edit && combo->lineEdit() == edit)
        edit->setContextMenuPolicy(policy);
    return true;
}
