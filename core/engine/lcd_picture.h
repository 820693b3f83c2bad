// The display as a picture: every frame-buffer pixel as a scale x scale block in the LCD's
// colours, 114 x 64 blocks. The front panel's own display picture is the scale-2 picture
// with a white margin (229 x 131: one column right, three rows below, never painted).
// Screenshots, recordings and reference frames are made here too, so that all of them show
// exactly what the window shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "firmware/lcd/framebuffer.h"

namespace txm9 {

// Colours as 0xAARRGGBB words, the layout of a 32-bit RGB picture's pixels.
struct lcd_colours {
    uint32_t lit;    // a dark pixel
    uint32_t unlit;  // the display's grey glass
    uint32_t margin; // the unpainted margin of the window's picture
};

// Black ink on the grey that the desktop's inactive-border colour gives on a default desktop,
// for pictures made without one.
inline constexpr lcd_colours LCD_COLOURS{0xFF000000u, 0xFFCACACAu, 0xFFFFFFFFu};

inline constexpr int LCD_MARGIN_COLUMNS = 1;
inline constexpr int LCD_MARGIN_ROWS = 3;

// A rectangle of display pixels: columns left .. right - 1, rows top .. bottom - 1.
struct lcd_rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const lcd_rect&) const = default;
};

// All 114 x 64 pixels of the display.
inline constexpr lcd_rect LCD_WHOLE_DISPLAY{0, 0, LCD_WIDTH, LCD_HEIGHT};

int lcd_picture_width(int scale, bool margin);
int lcd_picture_height(int scale, bool margin);

// Paints lcd_buffer into `pixels` (rows `stride` words apart, at least
// lcd_picture_width x lcd_picture_height); the margin, if asked for, is painted too.
void paint_lcd_picture(uint32_t* pixels, std::ptrdiff_t stride, int scale,
                       const lcd_colours& colours, bool margin);
// Paints only the display pixels inside `rect` into a picture whose top-left corner is
// `pixels`; the rest of the picture is left as it is.
void paint_lcd_picture_rect(uint32_t* pixels, std::ptrdiff_t stride, int scale,
                            const lcd_colours& colours, const lcd_rect& rect);

// lcd_buffer as a new picture, rows packed.
std::vector<uint32_t> lcd_picture(int scale, const lcd_colours& colours = LCD_COLOURS,
                                  bool margin = false);

} // namespace txm9
