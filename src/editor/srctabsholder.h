#ifndef SRCTABSHOLDER_H
#define SRCTABSHOLDER_H

#include <QStringList>
#include <QTabWidget>

class MessageList;
class FileWatcher;
class SourceEditor;
class Workbench;

// The editor tabs, the main window's central widget: one SourceEditor per open file.
// "Showing a file" always means SourceEditor::isSameFile, so another written form of an
// open file's path finds its existing tab. The files shown are watched on disk.
class SrcTabsHolder : public QTabWidget
{
    Q_OBJECT

public:
    // Without a parent the owner's window is the parent.
    explicit SrcTabsHolder(Workbench *owner, QWidget *parent = nullptr);

    void openEditor(const QString &path);
    void activateEditor(const QString &path);
    SourceEditor *findEditor(const QString &path) const;
    SourceEditor *currentEditor() const;
    SourceEditor *editorAt(int index) const;
    // Without force the editor's close question decides; the result says whether it closed.
    bool closeEditor(const QString &path, bool force);
    bool maybeSaveAll();
    void refreshTitles();
    void applySettingsToAll();
    QStringList openFileNames() const;

    // The build's messages, marked in every editor of their files, including editors
    // opened later; the list stays the caller's.
    void setMessageList(const MessageList *list) { messages = list; }
    void showMessage(int index);
    void clearMessages();
    void setMessageAnnotations(bool shown);

public slots:
    void saveAll();
    void closeTab(int index);
    void onCurrentChanged(int);
    void cut();
    void copy();
    void paste();
    void undo();
    void redo();
    void save();
    void close();

protected:
    void tabInserted(int index) override;
    void tabRemoved(int index) override;

private:
    void watchOpenFiles();
    void fileChangedOnDisk(const QString &path);
    int indexOfEditor(const QString &path) const;
    QList<SourceEditor *> editors() const;

    void showMessages(SourceEditor *editor) const;

    Workbench *owner;
    const MessageList *messages = nullptr;
    bool messageAnnotations = false;
    FileWatcher *watcher;
};

#endif
