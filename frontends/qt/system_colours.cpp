#include "system_colours.h"

using namespace txm9;

QPalette::ColorRole system_colour_role(uint32_t index) {
    switch (index) {
    case 0: // scroll bar
        return QPalette::Mid;
    case 11: // inactive border
        return QPalette::Midlight;
    case 15: // button face
        return QPalette::Button;
    default:
        return QPalette::Window;
    }
}

QRgb resolve_colour(uint32_t colour, const QPalette& palette) {
    if ((colour & SYSTEM_COLOUR_FLAG) != 0) {
        return palette.color(QPalette::Active, system_colour_role(colour & 0xFFu)).rgb();
    }
    const int red = static_cast<int>(colour & 0xFFu);
    const int green = static_cast<int>((colour >> 8) & 0xFFu);
    const int blue = static_cast<int>((colour >> 16) & 0xFFu);
    return qRgb(red, green, blue);
}
