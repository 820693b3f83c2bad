#include "bevel_panel.h"

#include <QPainter>

#include "qt/system_colours.h"

using namespace txm9;

BevelPanel::BevelPanel(QWidget* parent) : QWidget(parent), colour_(COLOUR_SCROLL_BAR) {}

void BevelPanel::setColour(uint32_t colour) {
    colour_ = colour;
    update();
}

void BevelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), QColor::fromRgb(resolve_colour(colour_, colours)));
    // Raised: lit from the top left.
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.setPen(colours.color(QPalette::Light));
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(0, 0, 0, bottom);
    painter.setPen(colours.color(QPalette::Dark));
    painter.drawLine(right, 0, right, bottom);
    painter.drawLine(0, bottom, right, bottom);
}
