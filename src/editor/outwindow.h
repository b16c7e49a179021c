#ifndef OUTWINDOW_H
#define OUTWINDOW_H

#include <QDockWidget>
#include <QTextCharFormat>

class OutTextEdit;
class Workbench;

// The output pane. Every report of the IDE reaches the user through it; each append lets
// pending events run so that a line shows while the GUI thread is still busy with a build.
class OutWindow : public QDockWidget
{
    Q_OBJECT

public:
    // owner opens the files that links lead to and holds the display settings; may be null.
    explicit OutWindow(Workbench *owner, QWidget *parent = nullptr);

    void clearOutput();
    void addMessage(const QString &text);
    void addError(const QString &text);
    void addSuccess(const QString &text);
    void addMessageLink(const QString &file, int line, int column, const QString &text);
    // Escapes "<" and ">" of text in place: compiler messages are shown literally.
    void addErrorLink(const QString &file, int line, int column, QString &text);
    void loadSettings();
    void openLocation(const QString &file, int line, int column);

    OutTextEdit *textEdit() const { return textView; }
    // The number of the last output line, to find it again with selectLine; -1 when empty.
    int lastLine() const;
    // Selects the whole output line and scrolls it into view.
    void selectLine(int line);

private:
    void append(const QTextCharFormat &format, const QString &text);
    void appendLink(const QTextCharFormat &format, const QString &file, int line, int column, const QString &text);

    Workbench *owner;
    OutTextEdit *textView = nullptr;
    QTextCharFormat messageFormat;
    QTextCharFormat errorFormat;
    QTextCharFormat linkFormat;
    QTextCharFormat successFormat;
};

#endif
