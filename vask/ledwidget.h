#ifndef LEDWIDGET_H
#define LEDWIDGET_H

#include <QColor>
#include <QWidget>

// An LED of the design: a lens in its colour, bright while lit, with its name and pin.
class LedWidget : public QWidget
{
    Q_OBJECT

public:
    LedWidget(const QString &name, const QString &pin, const QString &colour, QWidget *parent = nullptr);

    void setLit(bool lit);
    bool isLit() const { return lit; }
    QSize sizeHint() const override;

    static QColor colourNamed(const QString &colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString caption;
    QColor colour;
    bool lit = false;
};

#endif
