#include "circle_shape.h"

#include <QPainter>
#include <algorithm>

#include "qt/system_colours.h"

using namespace txm9;

CircleShape::CircleShape(QWidget* parent) : QWidget(parent) {}

void CircleShape::setFillColour(uint32_t colour) {
    if (colour != fill_colour_) {
        fill_colour_ = colour;
        update();
    }
}

void CircleShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(QColor::fromRgb(resolve_colour(fill_colour_, palette())));
    // The largest circle centred in the control, its outline inside the control's edge.
    const qreal diameter = std::min(width(), height()) - 1.0;
    const QRectF circle((width() - diameter) / 2.0, (height() - diameter) / 2.0, diameter,
                        diameter);
    painter.drawEllipse(circle);
}
