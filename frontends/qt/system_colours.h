// The desktop's system colours behind the front panel's toolkit colours (panel_colours.h),
// looked up in the palette in force whenever they are painted.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

#include "engine/panel_colours.h"

// The desktop colour a system colour index stands for. The LCD's unlit pixels use the
// inactive border, which must read as the grey ground of a lit display against black ink;
// the scroll-bar colour behind the display, a shade darker, reads as a display not yet on.
QPalette::ColorRole system_colour_role(uint32_t index);

// The RGB colour of a toolkit colour under the given palette.
QRgb resolve_colour(uint32_t colour, const QPalette& palette);
