#include "core/waitcursor.h"

#include <QCursor>
#include <QGuiApplication>

WaitCursor::WaitCursor(bool wait)
{
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
