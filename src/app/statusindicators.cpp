#include "app/statusindicators.h"

#include "editor/sourceeditor.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

StatusIndicators::StatusIndicators(QStatusBar *bar)
    : QObject(bar), position(new QLabel(bar)), encoding(new QLabel(bar)), busyLabel(new QLabel(bar)),
      busyBar(new QProgressBar(bar))
{
    position->setObjectName(QStringLiteral("cursorPosition"));
    encoding->setObjectName(QStringLiteral("fileEncoding"));
    busyLabel->setObjectName(QStringLiteral("buildActivity"));
    // No range: the bar moves to say that something runs, not how far it got.
    busyBar->setRange(0, 0);
    busyBar->setMaximumWidth(120);
    busyBar->setMaximumHeight(14);
    busyBar->setTextVisible(false);
    bar->addPermanentWidget(busyLabel);
    bar->addPermanentWidget(busyBar);
    bar->addPermanentWidget(position);
    bar->addPermanentWidget(encoding);
    busyLabel->hide();
    busyBar->hide();
    ticker.setInterval(1000);
    connect(&ticker, &QTimer::timeout, this, &StatusIndicators::updateBusy);
}

void StatusIndicators::showEditor(SourceEditor *shown)
{
    if (shown != editor) {
        disconnect(cursorConnection);
        editor = shown;
        if (shown)
            cursorConnection = connect(shown, &QsciScintilla::cursorPositionChanged, this, &StatusIndicators::updatePosition);
    }
    encoding->setText(editor ? TextFile::encodingName(editor->encoding()) : QString());
    updatePosition();
}

void StatusIndicators::updatePosition()
{
    if (!editor) {
        position->clear();
        return;
    }
    int line = 0;
    int index = 0;
    editor->getCursorPosition(&line, &index);
    // Columns as the eye counts them: a tab reaches to the next tab stop.
    const long column = editor->SendScintilla(QsciScintillaBase::SCI_GETCOLUMN,
                                              editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
    position->setText(tr("Ln %1, Col %2").arg(line + 1).arg(column + 1));
}

void StatusIndicators::buildStarted(const QString &what)
{
    activity = what;
    elapsed.start();
    ticker.start();
    busyLabel->show();
    busyBar->show();
    updateBusy();
}

void StatusIndicators::buildFinished()
{
    ticker.stop();
    busyLabel->hide();
    busyBar->hide();
}

void StatusIndicators::updateBusy()
{
    const qint64 seconds = elapsed.elapsed() / 1000;
    busyLabel->setText(tr("%1 %2:%3").arg(activity).arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0')));
}

QString StatusIndicators::positionText() const
{
    return position->text();
}

QString StatusIndicators::encodingText() const
{
    return encoding->text();
}

QString StatusIndicators::busyText() const
{
    return busyLabel->text();
}

bool StatusIndicators::isBusyShown() const
{
    return !busyLabel->isHidden();
}
