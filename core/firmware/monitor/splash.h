// The start-up splash: the maker's name slides in from the right, the model name from the
// left, with the firmware version and the maker's web address standing below them. The
// front panel plays SPLASH_FRAMES frames: draw, paint, deliver events, take the keys.
#pragma once

#include <cstdint>

inline constexpr uint8_t SPLASH_FRAMES = 80;

inline constexpr char splash_maker_name[] = "BRASKETHOLME";
inline constexpr char splash_model_name[] = "TXM-9";
inline constexpr char splash_web_address[] = "WWW.BRASKETHOLME.EU";
inline constexpr char firmware_version[] = "1.05";

// Where the two names stand. Columns are 8-bit and compared as signed, so the model name
// starts at -20 (236), left of the display, and slides in across its left edge.
struct splash_motion {
    uint8_t maker_x = 114; // left column of the maker name
    uint8_t model_x = 236; // centre column of the model name
};

// Draws one frame into a cleared frame buffer and moves the names on by one step.
void splash_draw_frame(splash_motion& motion);
// After a frame's events: a knob press unlocks calibration for this run (returns 1, and the
// panel ticks its Calibrate switch); every key pressed during the splash is used up here.
uint8_t splash_take_keys();
