#ifndef OUTWINDOW_H
#define OUTWINDOW_H

#include <QDockWidget>
#include <QElapsedTimer>
#include <QList>
#include <QTextCharFormat>

#include <optional>

class OutTextEdit;
class QTimer;
class Workbench;

// The output pane. Every report of the IDE reaches the user through it; appends let pending
// events run every few milliseconds, so that the window and Stop Build stay alive while the
// GUI thread is busy with a build.
//
// Lines are collected and go into the text as one edit at most once per frame, so a tool
// that pours out lines costs one layout and one repaint per frame, not one per line; while
// the pane is hidden they wait until it is shown. The pane keeps the newest lineLimit()
// lines; older ones are dropped and a note at the top says how many, so that a runaway tool
// cannot use up the memory.
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

    // The text view with every line appended so far in it: lines still waiting go in first,
    // which changes what is laid out, not what the pane holds.
    OutTextEdit *textEdit() const;
    // The number of the last output line, to find it again with selectLine; -1 when empty.
    // Numbers count every line since the pane was cleared, dropped ones included.
    int lastLine() const;
    // Selects the whole output line and scrolls it into view; nothing when it was dropped.
    void selectLine(int line);

    int lineLimit() const { return limit; }
    void setLineLimit(int lines);
    // Puts the collected lines into the text now.
    void flush();

    static const int defaultLineLimit = 200000;
    static const int flushIntervalMs = 16;
    // The longest the event loop goes unserved by appends, and by one round of inserting.
    static const int eventIntervalMs = 4;
    static const int flushBudgetMs = 8;

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void flushSome();

private:
    struct PendingLine
    {
        QTextCharFormat format;
        QString text; // as the text view's append takes it
        QString href; // null unless the line is a link
        QString linkText;
    };

    void append(PendingLine line);
    void insertPending(int budgetMs);
    static bool isPlainLinkText(const QString &text);
    QTextCharFormat linkTextFormat(const QString &href);
    QString linkPrefix() const;
    QString linkSuffix() const;
    void dropOldestLines();
    void appendLink(const QTextCharFormat &format, const QString &file, int line, int column, const QString &text);

    Workbench *owner;
    OutTextEdit *textView = nullptr;
    QTextCharFormat messageFormat;
    QTextCharFormat errorFormat;
    QTextCharFormat linkFormat;
    QTextCharFormat successFormat;
    QList<PendingLine> pending;
    QTimer *flushTimer = nullptr;
    int limit = defaultLineLimit;
    qint64 dropped = 0;
    bool noteShown = false;
    bool noteStale = false;
    QElapsedTimer sinceEvents;
    std::optional<QTextCharFormat> linkSampleFormat;
    // What inserting and laying out one line took lately, in nanoseconds.
    double lineCostNs = 50000;
};

#endif
