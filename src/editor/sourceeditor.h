#ifndef SOURCEEDITOR_H
#define SOURCEEDITOR_H

#include <Qsci/qsciscintilla.h>

class QMenu;
class QSettings;
class SrcManager;

// The editor of one source file: loads and saves it in the local 8-bit encoding, keeps the
// title and modified mark, enables the main window's edit actions while it is the current
// editor, and colours the text with the C/C++ lexer or the syntax-file lexer of the
// project's controller family.
class SourceEditor : public QsciScintilla
{
    Q_OBJECT

public:
    // owner is also the parent; without one no messages, actions or status texts are touched.
    SourceEditor(SrcManager *owner, const QString &path);

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
    QString syntaxFile() const;

    SrcManager *owner;
    QMenu *contextMenu = nullptr;
    QString currentFile;
    bool copyAvailable = false;
};

#endif
