#include "app/srcmanager.h"

#include "core/xmldocument.h"
#include "editor/outwindow.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "projects/projectsmanager.h"
#include "simulator/simulatedcontrollers.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QStatusBar>

void SrcManager::clearOutput()
{
    // The messages live in the output: a build, Clean and closing a project all start by
    // clearing it, and so end the markers of the build before.
    messageList.clear();
    tabsHolder->clearMessages();
    if (outWindow)
        outWindow->clearOutput();
}

void SrcManager::addMessage(const QString &text)
{
    if (outWindow)
        outWindow->addMessage(text);
}

void SrcManager::addError(const QString &text)
{
    if (outWindow)
        outWindow->addError(text);
}

void SrcManager::addSuccess(const QString &text)
{
    if (outWindow)
        outWindow->addSuccess(text);
}

void SrcManager::addMessageLink(const QString &file, int line, int column, const QString &text)
{
    if (outWindow)
        outWindow->addMessageLink(file, line, column, text);
}

void SrcManager::addErrorLink(const QString &file, int line, int column, QString &text)
{
    if (outWindow)
        outWindow->addErrorLink(file, line, column, text);
}

std::optional<QDomDocument> SrcManager::readDocument(const QString &path)
{
    return XmlDocument::read(path, this);
}

bool SrcManager::writeDocument(const QString &path, const QDomDocument &document)
{
    return XmlDocument::write(path, document);
}

void SrcManager::openFile(const QString &path)
{
    tabsHolder->openEditor(path);
    // Opened to be worked on: typing goes to the file, not to the tree it was chosen in.
    if (SourceEditor *editor = tabsHolder->findEditor(path))
        editor->setFocus();
}

void SrcManager::openFileAt(const QString &path, int line, int column)
{
    tabsHolder->openEditor(path);
    if (SourceEditor *editor = tabsHolder->findEditor(path)) {
        editor->gotoPosition(line, column);
        editor->setFocus();
    }
}

void SrcManager::reopenFile(const QString &path)
{
    if (rememberedFiles.contains(path))
        tabsHolder->openEditor(path);
}

bool SrcManager::saveEditor(const QString &path, bool close)
{
    SourceEditor *editor = tabsHolder->findEditor(path);
    if (!editor)
        return true;
    return close ? tabsHolder->closeEditor(path, false) : editor->save();
}

void SrcManager::discardEditor(const QString &path)
{
    tabsHolder->closeEditor(path, true);
}

void SrcManager::renameEditor(const QString &oldPath, const QString &newPath)
{
    if (SourceEditor *editor = tabsHolder->findEditor(oldPath))
        editor->setFileName(newPath);
    tabsHolder->refreshTitles();
}

void SrcManager::fileModified(const QString &path, bool modified)
{
    projectsManager->fileModified(path, modified);
    tabsHolder->refreshTitles();
    updateWindowTitle();
}

QStringList SrcManager::openFileNames() const
{
    return tabsHolder->openFileNames();
}

QString SrcManager::currentTarget() const
{
    return configBox ? configBox->currentText() : QStringLiteral("Debug");
}

void SrcManager::showStatusMessage(const QString &text, int timeout)
{
    if (text.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(text, timeout);
}

bool SrcManager::isEditorModified(const QString &path) const
{
    const SourceEditor *editor = tabsHolder ? tabsHolder->findEditor(path) : nullptr;
    return editor && editor->isModified();
}

QWidget *SrcManager::currentEditor() const
{
    return tabsHolder ? tabsHolder->currentWidget() : nullptr;
}

bool SrcManager::isProjectFile(const QString &path) const
{
    return projectsManager && projectsManager->isProjectFile(path);
}

QString SrcManager::controllerFamily(const QString &path) const
{
    return projectsManager ? projectsManager->controllerFamily(path) : QString();
}

bool SrcManager::isSimulated(const QString &family, const QString &controller) const
{
    return simulatedControllers && simulatedControllers->isSimulated(family, controller);
}
