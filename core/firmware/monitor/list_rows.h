// The rows of the main menu and the setup lists by name (list_rows.def): the value of
// menu_cursor on each.
#pragma once

#include <cstdint>

#define TXM9_LIST_ROW(screen, name, row, kind, ...) inline constexpr uint8_t name = row;
#include "firmware/monitor/list_rows.def"
