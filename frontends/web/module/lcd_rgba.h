// Pictures as the browser holds them: RGBA bytes. The display's pictures come from the one
// painter every other picture of it comes from (the window's, the runner's screenshots).
#pragma once

#include <cstdint>
#include <vector>

namespace txm9 {

// 0xAARRGGBB words as opaque RGBA bytes.
std::vector<uint8_t> rgba_bytes(const std::vector<uint32_t>& argb);

// lcd_buffer with every LCD pixel a scale x scale block: 114 x scale by 64 x scale pixels.
std::vector<uint8_t> lcd_rgba(int scale);

} // namespace txm9
