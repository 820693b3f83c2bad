#include "render_lcd.h"

#include <cstring>

#include "framebuffer.h"
#include "pcmain.h"
#include "system_colours.h"

namespace {

// A picture pixel of the RGB32 surface, as QImage::setPixel stores it: opaque.
QRgb opaque(QRgb rgb) {
    return 0xFF000000u | rgb;
}

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

void render_lcd() {
    QImage& surface = Form1->Image1->surface();
    // Both colours are looked up once per frame, in the palette in force now, so a changed
    // desktop colour shows from the next frame on.
    const QPalette& palette = Form1->Image1->palette();
    const QRgb lit = opaque(resolve_colour(COLOUR_BLACK, palette));
    const QRgb unlit = opaque(resolve_colour(COLOUR_INACTIVE_BORDER, palette));

    // The frame is shown only once it is complete, so it is written a picture row at a time
    // rather than column by column: each display row becomes one scanline of 2 x 114 pixels,
    // and the scanline below it is a copy.
    uchar* const bits = surface.bits();
    const qsizetype stride = surface.bytesPerLine();
    constexpr std::size_t line_bytes = 2 * LCD_WIDTH * sizeof(QRgb);
    for (uint8_t y = 0; y < LCD_HEIGHT; ++y) {
        const uint8_t* const page = &lcd_buffer[(y / 8) * LCD_WIDTH];
        const uint8_t mask = pixel_bit_mask[y % 8];
        auto* const line = reinterpret_cast<QRgb*>(bits + 2 * y * stride);
        for (uint8_t x = 0; x < LCD_WIDTH; ++x) {
            const QRgb colour = (page[x] & mask) != 0 ? lit : unlit;
            line[2 * x] = colour;
            line[2 * x + 1] = colour;
        }
        std::memcpy(bits + (2 * y + 1) * stride, line, line_bytes);
    }
    // One redraw for the whole frame, carried out at the next event delivery.
    Form1->Image1->update();
    emit Form1->displayPainted();
}
