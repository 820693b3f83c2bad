// The main menu's own drawing, shared with its tests.
#pragma once

#include <cstdint>

// The scroll bar at the right edge: a rule down column 111 and a block over columns
// 109..113 marking item `index` of `count` (rows 8..63 split into `count` equal parts).
void menu_scroll_marker(uint8_t index, uint8_t count);
