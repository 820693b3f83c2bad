// The display as the browser's pictures hold it: RGBA bytes, in the colours of every other
// picture of it (the window's, the runner's screenshots), from the same painter.
#pragma once

#include <cstdint>
#include <vector>

namespace txm9 {

// lcd_buffer with every LCD pixel a scale x scale block: 114 x scale by 64 x scale pixels.
std::vector<uint8_t> lcd_rgba(int scale);

} // namespace txm9
