#ifndef SOURCEEDITOR_H
#define SOURCEEDITOR_H

#include "core/workbench.h"

#include "editor/textfile.h"

#include <Qsci/qsciscintilla.h>

#include <QStringList>

class MessageMarkers;
class QMenu;
class QSettings;

// The editor of one source file: loads and saves it in the encoding it was found in (the
// local 8-bit encoding, or Latin-1 for bytes that are not valid in it), keeps the title and
// modified mark, notices when the file changes on disk, enables the main window's edit actions while it is the current
// editor, and colours the text with the C/C++ lexer or the syntax-file lexer of the
// project's controller family.
class SourceEditor : public QsciScintilla
{
    Q_OBJECT

public:
    // Without an owner no messages, actions or status texts are touched. Without a parent
    // the owner's window is the parent.
    SourceEditor(Workbench *owner, const QString &path, QWidget *parent = nullptr);

    void loadFile(const QString &path);
    void setFileName(const QString &path);
    QString fileName() const { return currentFile; }
    QString displayName() const;
    QString tabTitle() const;
    bool save();
    bool saveAs();
    bool saveFile(const QString &path);
    bool maybeSave();
    bool maybeClose();
    bool isSameFile(const QString &other) const;
    void gotoPosition(int line, int column);
    void applySettings();
    MessageMarkers *messageMarkers() const { return markers; }
    TextFile::Encoding encoding() const { return encoding_; }
    // Whether the file was deleted outside the editor since it was read or written here.
    bool isMissingOnDisk() const { return missingOnDisk; }
    // Compares the file on disk with what was last read or written here: a change is taken
    // in without a question when nothing was edited here, after one otherwise; a deleted
    // file is only marked. Our own saves change nothing.
    void checkDisk();

    // The syntax file for files with the given suffix, looked up through candidate: a syntax
    // file itself (suffix "SYN") or a family map file (suffix "MAP"); empty when none applies.
    static QString syntaxFileFor(const QString &candidate, const QString &suffix);

public slots:
    void updateState();
    void documentWasModified(bool modified);
    void copyAvailabilityChanged(bool available);
    void undoAvailabilityChanged(bool);

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QSettings *settingsStore() const;
    bool isCurrentEditor() const;
    void markModified();
    void enableAction(Workbench::Action which, bool enabled) const;
    QString syntaxFile() const;
    void reportSyntaxProblems(const QStringList &problems);
    void reload();
    // Shows text read from the file as the editor's unmodified text.
    void takeContent(const TextFile::Content &content);
    void rememberDisk();

    Workbench *owner;
    QMenu *contextMenu = nullptr;
    MessageMarkers *markers = nullptr;
    QString currentFile;
    bool copyAvailable = false;
    TextFile::Encoding encoding_ = TextFile::Encoding::Local;
    QByteArray diskFingerprint;
    bool missingOnDisk = false;
    // Shown already: every change of the settings loads the syntax file again.
    QStringList syntaxProblems;
};

#endif
