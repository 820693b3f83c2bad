// The front panel's keys and knob as they reach the firmware: one key code at a time through
// the one-byte slot `pending_key`.
#pragma once

#include <cstdint>

// A key or knob action with its code (KEY_SELECT .. KEY_RIGHT): stored only while the slot is
// empty, so the first key since the screen last emptied it wins; every key, stored or not,
// restarts the one-minute inactivity countdown.
void key_pressed(uint8_t code);
