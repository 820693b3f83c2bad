#include "firmware/monitor/key_input.h"

#include "firmware/monitor/state.h"

void key_pressed(uint8_t code) {
    if (pending_key == 0) {
        pending_key = code;
    }
    idle_countdown = 30; // 30 steps of 2 s: back to the main display a minute after this key
}
