#include "ledwidget.h"

#include <QPainter>
#include <QRadialGradient>

LedWidget::LedWidget(const QString &name, const QString &pin, const QString &colourName, QWidget *parent)
    : QWidget(parent)
    , caption(name + QLatin1Char('\n') + pin)
    , colour(colourNamed(colourName))
{
    setToolTip(tr("%1 on %2").arg(name, pin));
    setMinimumSize(sizeHint());
}

QColor LedWidget::colourNamed(const QString &colour)
{
    if (colour == QLatin1String("green"))
        return QColor(40, 220, 60);
    if (colour == QLatin1String("yellow"))
        return QColor(250, 230, 40);
    if (colour == QLatin1String("orange"))
        return QColor(255, 150, 30);
    if (colour == QLatin1String("blue"))
        return QColor(60, 120, 255);
    if (colour == QLatin1String("white"))
        return QColor(250, 250, 245);
    return QColor(240, 40, 30);
}

void LedWidget::setLit(bool on)
{
    if (on == lit)
        return;
    lit = on;
    update();
}

QSize LedWidget::sizeHint() const
{
    return QSize(80, 60 + 2 * fontMetrics().height());
}

void LedWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int diameter = 44;
    const QRectF lens((width() - diameter) / 2.0, 6, diameter, diameter);
    if (lit) {
        QRadialGradient glow(lens.center(), diameter);
        glow.setColorAt(0, colour);
        glow.setColorAt(1, Qt::transparent);
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(lens.adjusted(-8, -8, 8, 8));
    }
    QRadialGradient body(lens.center() - QPointF(8, 8), diameter);
    body.setColorAt(0, lit ? colour.lighter(160) : colour.darker(250).lighter(130));
    body.setColorAt(1, lit ? colour : colour.darker(400));
    painter.setBrush(body);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
    painter.drawEllipse(lens);
    painter.drawText(QRect(0, 56, width(), height() - 56), Qt::AlignHCenter | Qt::AlignTop, caption);
}
