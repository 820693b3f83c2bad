#include "render_lcd.h"

#include <algorithm>
#include <vector>

#include "firmware/lcd/framebuffer.h"
#include "engine/lcd_picture.h"
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
    // Most passes draw the frame already shown, which costs nothing more here.
    static painted_frame last;
    if (surface.cacheKey() == last.picture_key && last.colours == colours &&
        std::equal(lcd_buffer, lcd_buffer + LCD_BUFFER_SIZE, last.buffer)) {
        emit Form1->displayPainted();
        return;
    }
    // The frame is built whole off-screen. Only a frame that differs reaches the picture and
    // asks for a redraw, one for the whole frame, carried out at the next event delivery. The
    // last column and the last three rows, outside the 2 x 2 blocks, are left as they were.
    static std::vector<uint32_t> frame;
    const int width = lcd_picture_width(2, false);
    const int height = lcd_picture_height(2, false);
    frame.resize(static_cast<std::size_t>(width) * height);
    paint_lcd_picture(frame.data(), width, 2, colours, false);
    bool changed = false;
    for (int y = 0; y < height; ++y) {
        const uint32_t* const row = frame.data() + static_cast<std::ptrdiff_t>(y) * width;
        auto* const shown = reinterpret_cast<uint32_t*>(surface.scanLine(y));
        if (!std::equal(row, row + width, shown)) {
            std::copy(row, row + width, shown);
            changed = true;
        }
    }
    if (changed) {
        Form1->Image1->update();
    }
    std::copy(lcd_buffer, lcd_buffer + LCD_BUFFER_SIZE, last.buffer);
    last.colours = colours;
    last.picture_key = surface.cacheKey();
    emit Form1->displayPainted();
}
