// Painting the instrument's frame buffer into the front panel's display picture (Image1 of
// Form1) at twice its size: frame-buffer pixel (x, y) becomes the 2 x 2 block at (2x, 2y).
#pragma once

#include <cstdint>

#include "engine/lcd_picture.h"

// Shows the frame buffer: lit pixels black, unlit ones in the desktop's inactive-border
// colour. The 229 x 131 picture's last column and last three rows are never painted and stay
// white. Only the pixels that differ from the frame on the screen are written, and only their
// rectangle is redrawn; a frame the same as the one on the screen asks for no redraw.
void render_lcd();
// Paints the 2 x 2 block of pixel x (0..113), y (0..63) in a toolkit colour.
void render_lcd_pixel(uint8_t x, uint8_t y, uint32_t colour);
// The display's colours as the window paints them now: black ink, the desktop's
// inactive-border grey, the white margin. Captures and recordings use them too.
txm9::lcd_colours shown_lcd_colours();
