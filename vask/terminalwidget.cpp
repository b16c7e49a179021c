#include "terminalwidget.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

TerminalWidget::TerminalWidget(const QString &name, const QString &uart, QWidget *parent)
    : QWidget(parent)
    , port(uart)
    , screen(new QPlainTextEdit(this))
    , input(new QLineEdit(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("%1 (UART %2)").arg(name, uart), this));
    screen->setReadOnly(true);
    screen->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    screen->setMaximumBlockCount(5000);
    screen->setObjectName(QStringLiteral("terminalScreen"));
    layout->addWidget(screen);
    input->setPlaceholderText(tr("Type a line and press Enter to send it"));
    input->setObjectName(QStringLiteral("terminalInput"));
    layout->addWidget(input);
    connect(input, &QLineEdit::returnPressed, this, &TerminalWidget::sendLine);
}

void TerminalWidget::receive(const QByteArray &bytes)
{
    QString text;
    for (char c : bytes) {
        if (c == '\r')
            continue;
        text.append(QChar::fromLatin1(c));
    }
    QTextCursor cursor = screen->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    screen->setTextCursor(cursor);
    screen->ensureCursorVisible();
}

QString TerminalWidget::text() const
{
    return screen->toPlainText();
}

void TerminalWidget::sendLine()
{
    emit send(input->text().toLatin1() + '\n');
    input->clear();
}
