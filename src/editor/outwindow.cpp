#include "editor/outwindow.h"

#include "app/srcmanager.h"

#include <QCoreApplication>
#include <QTextBrowser>

OutWindow::OutWindow(SrcManager *owner) : QDockWidget(owner), owner(owner)
{
    setObjectName(QStringLiteral("Output Window"));
    setWindowTitle(tr("Output"));
    setWidget(new QTextBrowser(this));
}

void OutWindow::clearOutput()
{
    QCoreApplication::processEvents();
}

void OutWindow::addMessage(const QString &)
{
    QCoreApplication::processEvents();
}

void OutWindow::addError(const QString &)
{
    QCoreApplication::processEvents();
}

void OutWindow::addSuccess(const QString &)
{
    QCoreApplication::processEvents();
}

void OutWindow::addMessageLink(const QString &, int, int, const QString &)
{
    QCoreApplication::processEvents();
}

void OutWindow::addErrorLink(const QString &, int, int, QString &)
{
    QCoreApplication::processEvents();
}

void OutWindow::loadSettings() {}
