// What the four setup lists (display, battery, ADC values, calibration) share: the title
// band, row 0 that leaves the list, setting rows drawn with menu_row, action rows, and one
// key scheme. Navigating, the knob and the right key go down and the left key up; editing,
// the knob clockwise and the left (up) key raise a value, the others lower it. Cursors stop
// at both ends; settings wrap to the opposite end of their range.
#pragma once

#include <cstdint>

// One setup-list line at y = 8 + 8 * row: label at column 0, value behind it; both inverted
// while the row is menu_cursor's, only the value while edit_mode is 1.
void menu_row(uint8_t value_x, uint8_t row, const char* label, const char* value);

// Row 0: "*** DONE ***" centred on the first line under the title, inverse while selected.
void draw_leave_row();
// A row that acts on KEY_SELECT instead of holding a value, inverse while selected.
void draw_action_row(uint8_t row, const char* text);
// Row 0's KEY_SELECT: back to the main menu, showing the item that opened this list.
void leave_to_menu(uint8_t menu_item);

// Cursor movement while not editing: KEY_CW/KEY_RIGHT one row down (at most last_row),
// KEY_CCW/KEY_LEFT one row up (at most row 0); other keys do nothing.
void list_move_cursor(uint8_t key, uint8_t last_row);

// While editing: +1 for the forward keys (KEY_CW, KEY_LEFT), -1 for the back keys
// (KEY_CCW, KEY_RIGHT), 0 for any other key.
int8_t edit_direction(uint8_t key);

// An on/off switch: 0 becomes 1, anything else 0.
uint8_t toggled(uint8_t value);

// One step of a setting kept in low..high that wraps to the opposite end: forward past
// high gives low, back below low gives high. direction 0 leaves the value alone.
uint32_t step_wrapping(uint32_t value, int8_t direction, uint32_t step, uint32_t low,
                       uint32_t high);
