#include "lcd_rgba.h"

#include "engine/lcd_picture.h"

namespace txm9 {

std::vector<uint8_t> rgba_bytes(const std::vector<uint32_t>& argb) {
    std::vector<uint8_t> rgba(argb.size() * 4);
    for (std::size_t i = 0; i < argb.size(); ++i) {
        rgba[4 * i] = static_cast<uint8_t>(argb[i] >> 16);
        rgba[4 * i + 1] = static_cast<uint8_t>(argb[i] >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(argb[i]);
        rgba[4 * i + 3] = 0xFF;
    }
    return rgba;
}

std::vector<uint8_t> lcd_rgba(int scale) {
    return rgba_bytes(lcd_picture(scale));
}

} // namespace txm9
