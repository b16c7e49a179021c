#ifndef OUTWINDOW_H
#define OUTWINDOW_H

#include <QDockWidget>

class SrcManager;

// The output pane. Every report of the IDE reaches the user through it.
class OutWindow : public QDockWidget
{
    Q_OBJECT

public:
    explicit OutWindow(SrcManager *owner);

    void clearOutput();
    void addMessage(const QString &text);
    void addError(const QString &text);
    void addSuccess(const QString &text);
    void addMessageLink(const QString &file, int line, int column, const QString &text);
    void addErrorLink(const QString &file, int line, int column, QString &text);
    void loadSettings();

private:
    SrcManager *owner;
};

#endif
