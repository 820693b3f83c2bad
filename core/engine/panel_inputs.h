// The front panel's inputs (panel_inputs.def) as a table, with what every frontend shows of
// them the same way: how long a key used from the keyboard shows pressed, and a wheel notch.
#pragma once

#include <cstdint>
#include <string_view>

#include "firmware/monitor/keys.h"

namespace txm9 {

struct panel_input {
    uint8_t key;           // KEY_SELECT .. KEY_RIGHT
    const char* word;      // "press knob", "turn cw", ...
    const char* id;        // "knob", "f1", "f2", "cw", "ccw"
    const char* name;      // as the face names it
    const char* control;   // "Image5", ...: the window's and the page's control
    const char* keyboard;  // "Return", "F1", "F2", ".", ","
    const char* inspector; // "knob pressed", ...
    const char* tooltip;   // of its control at the window
};

inline constexpr panel_input panel_inputs[] = {
#define TXM9_INPUT(code, word, id, face, control, keyboard, inspector, tooltip)                    \
    {code, word, id, face, control, keyboard, inspector, tooltip},
#include "engine/panel_inputs.def"
};
inline constexpr int INPUT_COUNT = static_cast<int>(std::size(panel_inputs));

// The input of a key code, or -1 for a code no control gives.
constexpr int input_index(uint8_t key) {
    for (int i = 0; i < INPUT_COUNT; ++i) {
        if (panel_inputs[i].key == key) {
            return i;
        }
    }
    return -1;
}
// The input a `press` names, by the word after it or by its id ("knob", "left", "f1"), or null.
const panel_input* pressed_input(std::string_view name);

// How long a key or the knob used from the keyboard or the wheel shows pressed on the face.
inline constexpr int PRESSED_LOOK_MS = 150;
// A notch of a mouse wheel, in eighths of a degree as the toolkits count it.
inline constexpr int WHEEL_NOTCH = 120;

} // namespace txm9
