#include "editor/outtextedit.h"

#include "editor/outwindow.h"

#include <QUrl>

OutTextEdit::OutTextEdit(OutWindow *window) : QTextBrowser(window), window(window)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setReadOnly(true);
    setLineWrapMode(QTextEdit::NoWrap);
    // Nobody undoes output, and the history would grow with every line.
    document()->setUndoRedoEnabled(false);
    connect(this, &QTextBrowser::anchorClicked, this, &OutTextEdit::anchorClicked);
}

void OutTextEdit::anchorClicked(const QUrl &link)
{
    // The browser hands the target over as a URL, which keeps characters such as quotes,
    // backslashes or "%" of a file path escaped; the location needs the path as written.
    const QString target = QUrl::fromPercentEncoding(link.toEncoded());
    const qsizetype hash = target.indexOf(QLatin1Char('#'));
    if (hash <= 0)
        return;
    const QString file = target.left(hash);
    const QString rest = target.mid(hash + 1);

    // A part that is not a number counts as 0, as toInt() gives for a failed conversion.
    int line = 0;
    int column = 0;
    const qsizetype dot = rest.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        line = rest.toInt();
    } else {
        line = rest.left(dot).toInt();
        column = rest.mid(dot + 1).toInt();
    }
    if (line >= 0)
        window->openLocation(file, line, column);
}
