#include "editor/srctabsholder.h"

#include "core/workbench.h"
#include "core/filewatcher.h"
#include "editor/messagelist.h"
#include "editor/messagemarkers.h"
#include "editor/sourceeditor.h"

#include <QPointer>

SrcTabsHolder::SrcTabsHolder(Workbench *owner, QWidget *parent)
    : QTabWidget(parent ? parent : owner ? owner->dialogParent() : nullptr), owner(owner), watcher(new FileWatcher(this))
{
    setMovable(true);
    setTabsClosable(true);
    connect(this, &QTabWidget::tabCloseRequested, this, &SrcTabsHolder::closeTab);
    connect(this, &QTabWidget::currentChanged, this, &SrcTabsHolder::onCurrentChanged);
    connect(watcher, &FileWatcher::changed, this, &SrcTabsHolder::fileChangedOnDisk);
}

void SrcTabsHolder::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    watchOpenFiles();
}

void SrcTabsHolder::tabRemoved(int index)
{
    QTabWidget::tabRemoved(index);
    watchOpenFiles();
}

void SrcTabsHolder::watchOpenFiles()
{
    watcher->setPaths(openFileNames());
}

void SrcTabsHolder::fileChangedOnDisk(const QString &path)
{
    QList<QPointer<SourceEditor>> shown;
    for (SourceEditor *editor : editors())
        shown.append(editor);
    for (const QPointer<SourceEditor> &editor : std::as_const(shown)) {
        // An editor may go while another one asks its question.
        if (editor && editor->isSameFile(path))
            editor->checkDisk();
    }
    refreshTitles();
}

SourceEditor *SrcTabsHolder::editorAt(int index) const
{
    return qobject_cast<SourceEditor *>(widget(index));
}

SourceEditor *SrcTabsHolder::currentEditor() const
{
    return qobject_cast<SourceEditor *>(currentWidget());
}

QList<SourceEditor *> SrcTabsHolder::editors() const
{
    QList<SourceEditor *> result;
    for (int index = 0; index < count(); ++index) {
        if (SourceEditor *editor = editorAt(index))
            result.append(editor);
    }
    return result;
}

int SrcTabsHolder::indexOfEditor(const QString &path) const
{
    if (path.isEmpty())
        return -1;
    for (int index = 0; index < count(); ++index) {
        SourceEditor *editor = editorAt(index);
        if (editor && editor->isSameFile(path))
            return index;
    }
    return -1;
}

SourceEditor *SrcTabsHolder::findEditor(const QString &path) const
{
    const int index = indexOfEditor(path);
    return index < 0 ? nullptr : editorAt(index);
}

void SrcTabsHolder::openEditor(const QString &path)
{
    if (path.isEmpty())
        return;
    const int existing = indexOfEditor(path);
    if (existing >= 0) {
        setCurrentIndex(existing);
        return;
    }
    auto *editor = new SourceEditor(owner, path);
    showMessages(editor);
    const int index = addTab(editor, editor->tabTitle());
    setTabToolTip(index, editor->fileName());
    setCurrentIndex(index);
}

void SrcTabsHolder::activateEditor(const QString &path)
{
    const int index = indexOfEditor(path);
    if (index >= 0)
        setCurrentIndex(index);
}

bool SrcTabsHolder::closeEditor(const QString &path, bool force)
{
    if (path.isEmpty())
        return true;
    const int index = indexOfEditor(path);
    if (index < 0)
        return false;
    SourceEditor *editor = editorAt(index);
    if (!force && !editor->maybeClose())
        return false;
    delete editor;
    return true;
}

bool SrcTabsHolder::maybeSaveAll()
{
    for (SourceEditor *editor : editors()) {
        if (!editor->maybeSave())
            return false;
    }
    return true;
}

void SrcTabsHolder::refreshTitles()
{
    for (int index = 0; index < count(); ++index) {
        if (SourceEditor *editor = editorAt(index)) {
            setTabText(index, editor->tabTitle());
            setTabToolTip(index, editor->fileName());
        }
    }
    // A save under a new name changes what is watched.
    watchOpenFiles();
}

void SrcTabsHolder::applySettingsToAll()
{
    for (SourceEditor *editor : editors())
        editor->applySettings();
}

QStringList SrcTabsHolder::openFileNames() const
{
    QStringList names;
    for (SourceEditor *editor : editors())
        names.append(editor->fileName());
    return names;
}

void SrcTabsHolder::saveAll()
{
    for (SourceEditor *editor : editors())
        editor->save();
}

void SrcTabsHolder::closeTab(int index)
{
    SourceEditor *editor = editorAt(index);
    if (editor && editor->maybeClose())
        delete editor;
}

void SrcTabsHolder::onCurrentChanged(int)
{
    if (owner)
        owner->updateState();
}

void SrcTabsHolder::cut()
{
    if (SourceEditor *editor = currentEditor())
        editor->cut();
}

void SrcTabsHolder::copy()
{
    if (SourceEditor *editor = currentEditor())
        editor->copy();
}

void SrcTabsHolder::paste()
{
    if (SourceEditor *editor = currentEditor())
        editor->paste();
}

void SrcTabsHolder::undo()
{
    if (SourceEditor *editor = currentEditor())
        editor->undo();
}

void SrcTabsHolder::redo()
{
    if (SourceEditor *editor = currentEditor())
        editor->redo();
}

void SrcTabsHolder::save()
{
    if (SourceEditor *editor = currentEditor())
        editor->save();
}

void SrcTabsHolder::close()
{
    SourceEditor *editor = currentEditor();
    if (editor && editor->maybeClose())
        delete editor;
}

void SrcTabsHolder::showMessages(SourceEditor *editor) const
{
    editor->messageMarkers()->setAnnotations(messageAnnotations);
    if (!messages)
        return;
    for (int index = 0; index < messages->count(); ++index) {
        if (editor->isSameFile(messages->at(index).file))
            editor->messageMarkers()->add(index, messages->at(index));
    }
}

void SrcTabsHolder::showMessage(int index)
{
    if (!messages || index < 0 || index >= messages->count())
        return;
    if (SourceEditor *editor = findEditor(messages->at(index).file))
        editor->messageMarkers()->add(index, messages->at(index));
}

void SrcTabsHolder::clearMessages()
{
    for (SourceEditor *editor : editors())
        editor->messageMarkers()->clear();
}

void SrcTabsHolder::setMessageAnnotations(bool shown)
{
    messageAnnotations = shown;
    for (SourceEditor *editor : editors())
        editor->messageMarkers()->setAnnotations(shown);
}
