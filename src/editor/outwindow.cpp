#include "editor/outwindow.h"

#include "core/workbench.h"
#include "core/displaysettings.h"
#include "editor/outtextedit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

OutWindow::OutWindow(Workbench *owner, QWidget *parent) : QDockWidget(parent), owner(owner)
{
    setObjectName(QStringLiteral("Output Window"));
    setWindowTitle(tr("Output"));
    textView = new OutTextEdit(this);
    setWidget(textView);
    flushTimer = new QTimer(this);
    flushTimer->setSingleShot(true);
    flushTimer->setInterval(flushIntervalMs);
    connect(flushTimer, &QTimer::timeout, this, &OutWindow::flushSome);
    loadSettings();
    textView->setCurrentCharFormat(messageFormat);
}

OutTextEdit *OutWindow::textEdit() const
{
    const_cast<OutWindow *>(this)->flush();
    return textView;
}

void OutWindow::setLineLimit(int lines)
{
    limit = qMax(1, lines);
    flush();
    dropOldestLines();
}

void OutWindow::clearOutput()
{
    pending.clear();
    flushTimer->stop();
    dropped = 0;
    noteShown = false;
    noteStale = false;
    if (textView)
        textView->clear();
    QCoreApplication::processEvents();
    sinceEvents.start();
}

void OutWindow::append(PendingLine line)
{
    if (textView) {
        pending.append(std::move(line));
        // Lines beyond the limit would be dropped as soon as they were shown.
        if (pending.size() > limit) {
            const qsizetype excess = pending.size() - limit;
            pending.erase(pending.begin(), pending.begin() + excess);
            dropped += excess;
            noteStale = true;
        }
        // A hidden pane lays nothing out: its lines wait until it is shown or read.
        if (!flushTimer->isActive() && isVisible())
            flushTimer->start(flushIntervalMs);
    }
    // Serving the events every few milliseconds keeps Stop Build and the window alive while
    // a tool pours out lines, without paying for an event round per line.
    if (!sinceEvents.isValid() || sinceEvents.elapsed() >= eventIntervalMs) {
        QCoreApplication::processEvents();
        sinceEvents.start();
    }
}

void OutWindow::flush()
{
    insertPending(-1);
}

void OutWindow::flushSome()
{
    insertPending(flushBudgetMs);
}

void OutWindow::showEvent(QShowEvent *event)
{
    QDockWidget::showEvent(event);
    if (!pending.isEmpty() && !flushTimer->isActive())
        flushTimer->start(0);
}

// Inserts the lines as the text view's own append does, each line one paragraph that
// starts in its category's format and is read as markup when it looks like markup, in one
// edit. With a budget, the edit takes as many lines as the last ones say fit into that many
// milliseconds, laying out included, and the rest follows once the event loop has had its
// turn.
void OutWindow::insertPending(int budgetMs)
{
    flushTimer->stop();
    if (pending.isEmpty() || !textView)
        return;
    QScrollBar *scrollBar = textView->verticalScrollBar();
    const bool atBottom = scrollBar->value() >= scrollBar->maximum();

    QElapsedTimer clock;
    clock.start();
    const qsizetype count = budgetMs < 0 ? pending.size()
                                         : qMin(pending.size(), qMax<qsizetype>(16, qsizetype(budgetMs * 1e6 / lineCostNs)));
    QTextDocument *document = textView->document();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    bool empty = document->isEmpty();
    qsizetype done = 0;
    while (done < count) {
        const PendingLine &line = pending.at(done++);
        if (empty)
            cursor.setCharFormat(line.format);
        else
            cursor.insertBlock(QTextBlockFormat(), line.format);
        empty = false;
        if (!line.href.isNull() && isPlainLinkText(line.linkText))
            cursor.insertText(line.linkText, linkTextFormat(line.href));
        else if (Qt::mightBeRichText(line.text))
            cursor.insertHtml(line.text);
        else
            cursor.insertText(line.text);
    }
    cursor.endEditBlock();
    lineCostNs = qMax(1000.0, (lineCostNs + double(clock.nsecsElapsed()) / double(done)) / 2);
    textView->setCurrentCharFormat(pending.at(done - 1).format);
    pending.erase(pending.begin(), pending.begin() + done);
    dropOldestLines();

    if (atBottom)
        scrollBar->setValue(scrollBar->maximum());
    if (!pending.isEmpty())
        flushTimer->start(0);
}

// Link text that markup would show unchanged: no tags, entities or white space that the
// markup reader would fold.
bool OutWindow::isPlainLinkText(const QString &text)
{
    if (text.isEmpty() || text.front() == QLatin1Char(' ') || text.back() == QLatin1Char(' '))
        return false;
    QChar previous;
    for (const QChar c : text) {
        if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('&') || c == QLatin1Char('\t')
            || c == QLatin1Char('\n') || c == QLatin1Char('\r') || (c == QLatin1Char(' ') && previous == c)
            || c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
            return false;
        previous = c;
    }
    return true;
}

// The format the markup reader gives a link's text under the current style sheet, font and
// emphasis, worked out once on a sample link; only the target differs from link to link.
QTextCharFormat OutWindow::linkTextFormat(const QString &href)
{
    if (!linkSampleFormat) {
        QTextDocument sample;
        sample.setDefaultStyleSheet(textView->document()->defaultStyleSheet());
        sample.setDefaultFont(textView->document()->defaultFont());
        QTextCursor cursor(&sample);
        cursor.insertHtml(linkPrefix() + QStringLiteral("<a href=\"x\">x</a>") + linkSuffix());
        linkSampleFormat = sample.firstBlock().begin().fragment().charFormat();
    }
    QTextCharFormat format = *linkSampleFormat;
    format.setAnchorHref(href);
    return format;
}

QString OutWindow::linkPrefix() const
{
    QString prefix;
    if (linkFormat.fontItalic())
        prefix += QLatin1String("<i>");
    if (linkFormat.fontWeight() > QFont::Normal)
        prefix += QLatin1String("<b>");
    return prefix;
}

QString OutWindow::linkSuffix() const
{
    QString suffix;
    if (linkFormat.fontWeight() > QFont::Normal)
        suffix += QLatin1String("</b>");
    if (linkFormat.fontItalic())
        suffix += QLatin1String("</i>");
    return suffix;
}

void OutWindow::dropOldestLines()
{
    QTextDocument *document = textView->document();
    const int note = noteShown ? 1 : 0;
    const int excess = document->blockCount() - note - limit;
    if (excess <= 0 && !noteStale)
        return;

    QTextCursor cursor(document);
    cursor.beginEditBlock();
    if (excess > 0) {
        dropped += excess;
        cursor.setPosition(document->findBlockByNumber(note).position());
        cursor.setPosition(document->findBlockByNumber(note + excess).position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.movePosition(QTextCursor::Start);
    if (noteShown)
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(tr("[Earlier lines dropped: %1; the Output pane keeps the last %2 lines]").arg(dropped).arg(limit),
                      messageFormat);
    if (!noteShown)
        cursor.insertBlock();
    cursor.endEditBlock();
    noteShown = true;
    noteStale = false;
}

void OutWindow::addMessage(const QString &text)
{
    append({messageFormat, text, QString(), QString()});
}

void OutWindow::addError(const QString &text)
{
    append({errorFormat, text, QString(), QString()});
}

void OutWindow::addSuccess(const QString &text)
{
    append({successFormat, text, QString(), QString()});
}

void OutWindow::appendLink(const QTextCharFormat &format, const QString &file, int line, int column,
                           const QString &text)
{
    const QString target = QStringLiteral("%1#%2.%3").arg(file, QString::number(line), QString::number(column));
    // The path is escaped for the attribute only, so that the browser hands it back unchanged
    // even when it holds a quote or an ampersand.
    const QString html = QStringLiteral("%5<a href=\"%1#%2.%3\">%4</a>%6")
                             .arg(file.toHtmlEscaped(), QString::number(line), QString::number(column), text,
                                  linkPrefix(), linkSuffix());
    append({format, html, target, text});
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
    // Lines already appended keep the formats and style sheet they were appended with.
    flush();
    linkSampleFormat.reset();
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
    const OutTextEdit *view = textEdit();
    if (!view || view->document()->isEmpty())
        return -1;
    return int(dropped) + view->document()->blockCount() - 1 - (noteShown ? 1 : 0);
}

void OutWindow::selectLine(int line)
{
    flush();
    if (!textView || line < dropped)
        return;
    const QTextBlock block = textView->document()->findBlockByNumber(int(line - dropped) + (noteShown ? 1 : 0));
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    textView->setTextCursor(cursor);
    textView->ensureCursorVisible();
}
