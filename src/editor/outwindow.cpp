#include "editor/outwindow.h"

#include "core/workbench.h"
#include "core/displaysettings.h"
#include "editor/outtextedit.h"

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextDocument>

OutWindow::OutWindow(Workbench *owner, QWidget *parent) : QDockWidget(parent), owner(owner)
{
    setObjectName(QStringLiteral("Output Window"));
    setWindowTitle(tr("Output"));
    textView = new OutTextEdit(this);
    setWidget(textView);
    loadSettings();
    textView->setCurrentCharFormat(messageFormat);
}

void OutWindow::clearOutput()
{
    if (textView)
        textView->clear();
    QCoreApplication::processEvents();
}

void OutWindow::append(const QTextCharFormat &format, const QString &text)
{
    if (textView) {
        textView->setCurrentCharFormat(format);
        textView->append(text);
    }
    QCoreApplication::processEvents();
}

void OutWindow::addMessage(const QString &text)
{
    append(messageFormat, text);
}

void OutWindow::addError(const QString &text)
{
    append(errorFormat, text);
}

void OutWindow::addSuccess(const QString &text)
{
    append(successFormat, text);
}

void OutWindow::appendLink(const QTextCharFormat &format, const QString &file, int line, int column,
                           const QString &text)
{
    if (!textView) {
        QCoreApplication::processEvents();
        return;
    }
    QString prefix;
    QString suffix;
    if (linkFormat.fontItalic()) {
        prefix += QLatin1String("<i>");
        suffix.prepend(QLatin1String("</i>"));
    }
    if (linkFormat.fontWeight() > QFont::Normal) {
        prefix += QLatin1String("<b>");
        suffix.prepend(QLatin1String("</b>"));
    }
    // The path is escaped for the attribute only, so that the browser hands it back unchanged
    // even when it holds a quote or an ampersand.
    const QString html = QStringLiteral("%5<a href=\"%1#%2.%3\">%4</a>%6")
                             .arg(file.toHtmlEscaped(), QString::number(line), QString::number(column), text,
                                  prefix, suffix);
    append(format, html);
}

void OutWindow::addMessageLink(const QString &file, int line, int column, const QString &text)
{
    appendLink(messageFormat, file, line, column, text);
}

void OutWindow::addErrorLink(const QString &file, int line, int column, QString &text)
{
    text.replace(QLatin1Char('<'), QLatin1String("&lt;")).replace(QLatin1Char('>'), QLatin1String("&gt;"));
    appendLink(errorFormat, file, line, column, text);
}

void OutWindow::loadSettings()
{
    QSettings *store = owner ? owner->settings() : nullptr;
    const QString &group = DisplaySettings::outputWindow;
    messageFormat = DisplaySettings::formatForItem(store, group, QStringLiteral("Messages"));
    errorFormat = DisplaySettings::formatForItem(store, group, QStringLiteral("Errors"));
    linkFormat = DisplaySettings::formatForItem(store, group, QStringLiteral("Links"));
    successFormat = DisplaySettings::formatForItem(store, group, QStringLiteral("Success"));

    const QString colour = linkFormat.foreground().color().name();
    const QString styleSheet = linkFormat.fontUnderline()
                                   ? QStringLiteral("a { text-decoration: underline; color: %1 }").arg(colour)
                                   : QStringLiteral("a { text-decoration: none; color: %1 }").arg(colour);
    textView->document()->setDefaultStyleSheet(styleSheet);
    // Link lines arrive as markup without a font of their own; they take the group font too.
    textView->document()->setDefaultFont(DisplaySettings::load(store, group).font);
}

void OutWindow::openLocation(const QString &file, int line, int column)
{
    if (!owner)
        return;
    owner->openFileAt(file, line, column);
    QCoreApplication::processEvents();
}

int OutWindow::lastLine() const
{
    if (!textView || textView->document()->isEmpty())
        return -1;
    return textView->document()->blockCount() - 1;
}

void OutWindow::selectLine(int line)
{
    if (!textView)
        return;
    const QTextBlock block = textView->document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    textView->setTextCursor(cursor);
    textView->ensureCursorVisible();
}
