// A frame of the display as an SVG picture, for pages that must stand alone: each row's runs
// of dark pixels as rectangles on the display's grey, drawn at `scale` and kept sharp.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "firmware/lcd/framebuffer.h"

namespace txm9 {

std::string frame_svg(const std::array<uint8_t, LCD_BUFFER_SIZE>& frame, int scale);

} // namespace txm9
