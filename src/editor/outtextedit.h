#ifndef OUTTEXTEDIT_H
#define OUTTEXTEDIT_H

#include <QTextBrowser>

class OutWindow;
class QUrl;

// The read-only text of the output window. A click on a message link leads to the source
// position named by the link target "path#line.column" instead of navigating the browser.
class OutTextEdit : public QTextBrowser
{
    Q_OBJECT

public:
    explicit OutTextEdit(OutWindow *window);

private slots:
    void anchorClicked(const QUrl &link);

private:
    OutWindow *window;
};

#endif
