// The panel's controls as the page calls them, each handled as the window's handler for it:
// also what a scenario playing on the panel presses.
#pragma once

extern "C" {
void txm9_key(int code);
void txm9_volts(int count);
void txm9_amps(int count);
void txm9_boxes(int calibrate, int key_fast);
void txm9_power_off();
}
