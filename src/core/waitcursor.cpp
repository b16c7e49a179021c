#include "core/waitcursor.h"

#include <QCursor>
#include <QGuiApplication>

WaitCursor::WaitCursor(bool wait)
{
    // A build from the command line runs without a GUI application, and so without cursors.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        active = false;
        return;
    }
    QGuiApplication::setOverrideCursor(QCursor(wait ? Qt::WaitCursor : Qt::BusyCursor));
}

WaitCursor::~WaitCursor()
{
    restore();
}

void WaitCursor::restore()
{
    if (!active)
        return;
    active = false;
    QGuiApplication::restoreOverrideCursor();
}
