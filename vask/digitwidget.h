#ifndef DIGITWIDGET_H
#define DIGITWIDGET_H

#include <QWidget>

// A seven-segment digit with decimal point; bit n of the segment mask lights segment a+n
// (bit 7 is the point).
class DigitWidget : public QWidget
{
    Q_OBJECT

public:
    explicit DigitWidget(const QString &name, QWidget *parent = nullptr);

    void setSegments(quint8 mask);
    quint8 segments() const { return mask; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString name;
    quint8 mask = 0;
};

#endif
