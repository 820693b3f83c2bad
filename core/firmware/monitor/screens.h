// The nine screen routines. Exactly one is held in `active_screen` and called once per pass
// on a cleared frame buffer; it draws its whole screen, then handles and empties
// `pending_key`. A screen it switches to is first drawn on the next pass.
#pragma once

#define TXM9_SCREEN(name) void screen_##name();
#include "firmware/monitor/screens.def"
