#include "render_lcd.h"

#include "framebuffer.h"
#include "pcmain.h"
#include "system_colours.h"

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
    for (uint8_t x = 0; x < LCD_WIDTH; ++x) {
        for (uint8_t y = 0; y < LCD_HEIGHT; ++y) {
            const bool lit = (lcd_buffer[(y / 8) * LCD_WIDTH + x] & pixel_bit_mask[y % 8]) != 0;
            render_lcd_pixel(x, y, lit ? COLOUR_BLACK : COLOUR_INACTIVE_BORDER);
        }
    }
    // One redraw for the whole frame, carried out at the next event delivery.
    Form1->Image1->update();
    emit Form1->displayPainted();
}
