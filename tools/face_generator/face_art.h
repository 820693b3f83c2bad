// The artwork of the instrument's round face, drawn with antialiasing at 310 x 310 pixels.
// Each feature lies exactly under the front-panel control that stands for it.
#pragma once

#include <QImage>
#include <QPainter>

QImage draw_face();

// The application's icon: the face without its lettering, a battery on the display's glass,
// painted into the square (0, 0, side, side). The corners outside the disc stay untouched.
void paint_icon(QPainter& p, qreal side);
