#ifndef TERMINALWIDGET_H
#define TERMINALWIDGET_H

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

// The serial terminal of a design: shows what the firmware sends, sends what is typed
// (a line at a time, with a line feed at its end).
class TerminalWidget : public QWidget
{
    Q_OBJECT

public:
    TerminalWidget(const QString &name, const QString &uart, QWidget *parent = nullptr);

    void receive(const QByteArray &bytes);
    QString text() const;
    QString uart() const { return port; }

signals:
    void send(const QByteArray &bytes);

private:
    void sendLine();

    QString port;
    QPlainTextEdit *screen;
    QLineEdit *input;
};

#endif
