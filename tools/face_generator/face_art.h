// The artwork of the instrument's round face, drawn with antialiasing at 310 x 310 pixels.
// Each feature lies exactly under the front-panel control that stands for it.
#pragma once

#include <QImage>

QImage draw_face();
