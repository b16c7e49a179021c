#include "digitwidget.h"

#include <QPainter>
#include <QPolygonF>

DigitWidget::DigitWidget(const QString &name, QWidget *parent)
    : QWidget(parent)
    , name(name)
{
    setToolTip(name);
    setMinimumSize(sizeHint());
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
    // Segments a to g as (x, y, horizontal) in a 40 x 80 box placed inside the face: the
    // horizontal ones at the top, middle and bottom, the upright ones between them.
    const struct
    {
        qreal x, y;
        bool horizontal;
    } places[] = {{2, 0, true}, {40, 2, false}, {40, 42, false}, {2, 80, true},
                  {0, 42, false}, {0, 2, false}, {2, 40, true}};
    const QPointF origin(face.left() + 15, face.top() + 20);
    const QColor on(255, 40, 30);
    const QColor off(60, 30, 30);
    painter.setPen(Qt::NoPen);
    for (int segment = 0; segment < 7; ++segment) {
        const auto &place = places[segment];
        const QPointF start = origin + QPointF(place.x, place.y);
        QPolygonF shape;
        if (place.horizontal)
            shape << start << start + QPointF(4, -4) << start + QPointF(32, -4) << start + QPointF(36, 0)
                  << start + QPointF(32, 4) << start + QPointF(4, 4);
        else
            shape << start << start + QPointF(4, 4) << start + QPointF(4, 32) << start + QPointF(0, 36)
                  << start + QPointF(-4, 32) << start + QPointF(-4, 4);
        painter.setBrush((mask >> segment) & 1 ? on : off);
        painter.drawPolygon(shape);
    }
    painter.setBrush((mask & 0x80) ? on : off);
    painter.drawEllipse(origin + QPointF(48, 82), 4, 4);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, 128, width(), height() - 128), Qt::AlignHCenter | Qt::AlignTop, name);
}
