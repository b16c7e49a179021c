#include "digitwidget.h"

#include <QPainter>
#include <QPolygonF>

DigitWidget::DigitWidget(const QString &name, QWidget *parent)
    : QWidget(parent)
    , name(name)
{
    setToolTip(name);
}

void DigitWidget::setSegments(quint8 segments)
{
    if (segments == mask)
        return;
    mask = segments;
    update();
}

QSize DigitWidget::sizeHint() const
{
    return QSize(90, 130 + fontMetrics().height());
}

void DigitWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face(10, 6, 70, 120);
    painter.fillRect(face, QColor(25, 25, 25));
    // Segment a to g as (x, y, horizontal) in a 40 x 80 box, placed inside the face.
    const struct
    {
        qreal x, y;
        bool horizontal;
    } places[] = {{5, 0, true}, {45, 5, false}, {45, 45, false}, {5, 80, true},
                  {0, 45, false}, {0, 5, false}, {5, 40, true}};
    const QPointF origin(face.left() + 12, face.top() + 16);
    const QColor on(255, 40, 30);
    const QColor off(60, 30, 30);
    painter.setPen(Qt::NoPen);
    for (int segment = 0; segment < 7; ++segment) {
        const auto &place = places[segment];
        const QPointF start = origin + QPointF(place.x, place.y);
        QPolygonF shape;
        if (place.horizontal)
            shape << start << start + QPointF(4, -4) << start + QPointF(36, -4) << start + QPointF(40, 0)
                  << start + QPointF(36, 4) << start + QPointF(4, 4);
        else
            shape << start << start + QPointF(4, 4) << start + QPointF(4, 36) << start + QPointF(0, 40)
                  << start + QPointF(-4, 36) << start + QPointF(-4, 4);
        painter.setBrush((mask >> segment) & 1 ? on : off);
        painter.drawPolygon(shape);
    }
    painter.setBrush((mask & 0x80) ? on : off);
    painter.drawEllipse(origin + QPointF(52, 82), 4, 4);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, 128, width(), height() - 128), Qt::AlignHCenter | Qt::AlignTop, name);
}
