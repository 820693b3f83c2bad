// The front panel's colours in the toolkit encoding its layout was drawn with: 0x00BBGGRR for
// a fixed colour, or 0x80000000 + index for one of the desktop's system colours, which a
// frontend looks up in the desktop's palette whenever it paints.
#pragma once

#include <cstdint>

namespace txm9 {

inline constexpr uint32_t COLOUR_BLACK = 0x00000000;
inline constexpr uint32_t COLOUR_WHITE = 0x00FFFFFF;
inline constexpr uint32_t COLOUR_LAMP_LIT = 0x000000FF;   // pure red
inline constexpr uint32_t COLOUR_LAMP_UNLIT = 0x00000080; // dark red

inline constexpr uint32_t SYSTEM_COLOUR_FLAG = 0x80000000;
inline constexpr uint32_t COLOUR_SCROLL_BAR = 0x80000000;      // system colour 0
inline constexpr uint32_t COLOUR_INACTIVE_BORDER = 0x8000000B; // system colour 11
inline constexpr uint32_t COLOUR_BUTTON_FACE = 0x8000000F;     // system colour 15

} // namespace txm9
