// Key codes as the front panel delivers them into `pending_key` (0 means the slot is empty).
#pragma once

#include <cstdint>

inline constexpr uint8_t KEY_SELECT = 1; // knob pressed
inline constexpr uint8_t KEY_CW = 2;     // knob turned clockwise
inline constexpr uint8_t KEY_CCW = 3;    // knob turned anticlockwise
inline constexpr uint8_t KEY_LEFT = 4;   // left key (F1, up triangle)
inline constexpr uint8_t KEY_RIGHT = 5;  // right key (F2, down triangle)
