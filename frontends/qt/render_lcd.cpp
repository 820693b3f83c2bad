#include "render_lcd.h"

#include <algorithm>

#include "engine/lcd_changes.h"
#include "engine/lcd_picture.h"
#include "firmware/lcd/framebuffer.h"
#include "pcmain.h"
#include "system_colours.h"

using namespace txm9;

namespace {

// A picture pixel of the RGB32 surface, as QImage::setPixel stores it: opaque.
QRgb opaque(QRgb rgb) {
    return 0xFF000000u | rgb;
}

bool operator==(const lcd_colours& a, const lcd_colours& b) {
    return a.lit == b.lit && a.unlit == b.unlit && a.margin == b.margin;
}

// The frame last painted into the display picture, and the picture as it was left then
// (its key changes whenever anything else writes into it).
struct painted_frame {
    uint8_t buffer[LCD_BUFFER_SIZE] = {};
    lcd_colours colours{};
    qint64 picture_key = 0;
};

constexpr int SCALE = 2;

} // namespace

void render_lcd_pixel(uint8_t x, uint8_t y, uint32_t colour) {
    QImage& surface = Form1->Image1->surface();
    const QRgb rgb = resolve_colour(colour, Form1->Image1->palette());
    const int left = 2 * x;
    const int top = 2 * y;
    surface.setPixel(left, top, rgb);
    surface.setPixel(left + 1, top, rgb);
    surface.setPixel(left, top + 1, rgb);
    surface.setPixel(left + 1, top + 1, rgb);
}

lcd_colours shown_lcd_colours() {
    const QPalette& palette = Form1->Image1->palette();
    return {opaque(resolve_colour(COLOUR_BLACK, palette)),
            opaque(resolve_colour(COLOUR_INACTIVE_BORDER, palette)),
            opaque(resolve_colour(COLOUR_WHITE, palette))};
}

void render_lcd() {
    QImage& surface = Form1->Image1->surface();
    // Both colours are looked up once per frame, in the palette in force now, so a changed
    // desktop colour shows from the next frame on.
    const lcd_colours colours = shown_lcd_colours();
    static painted_frame last;
    // Only the pixels that differ from the frame on the screen are painted, and only their
    // rectangle is redrawn: a blinking icon costs its own few blocks, and most passes, which
    // draw the frame already shown, nothing. A picture written by anyone else, or new
    // colours, are painted whole.
    const bool picture_as_left = surface.cacheKey() == last.picture_key && last.colours == colours;
    const lcd_rect changed =
        picture_as_left ? lcd_changed_rect(last.buffer, lcd_buffer) : LCD_WHOLE_DISPLAY;
    if (!changed.empty()) {
        // The last column and the last three rows, outside the 2 x 2 blocks, are never
        // painted.
        auto* const pixels = reinterpret_cast<uint32_t*>(surface.bits());
        paint_lcd_picture_rect(pixels, surface.bytesPerLine() / 4, SCALE, colours, changed);
        std::copy(lcd_buffer, lcd_buffer + LCD_BUFFER_SIZE, last.buffer);
        last.colours = colours;
        last.picture_key = surface.cacheKey();
        // Carried out at the next event delivery, and only this rectangle reaches the screen.
        // A picture painted whole is redrawn whole, its white margin too: the control showed
        // the panel through it while it had no picture.
        if (picture_as_left) {
            Form1->Image1->update(SCALE * changed.left, SCALE * changed.top,
                                  SCALE * (changed.right - changed.left),
                                  SCALE * (changed.bottom - changed.top));
        } else {
            Form1->Image1->update();
        }
    }
    emit Form1->displayPainted();
}
