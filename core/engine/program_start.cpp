#include "engine/program_start.h"

#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/state.h"

namespace txm9 {

// Straight from the list of variables rather than through the table by name, so that a
// microcontroller build starts its scenarios without carrying the names in its flash.
void program_start_state() {
#define TXM9_VARIABLE(type, name, kind) name = type{};
#define TXM9_SCREEN_VARIABLE(name) name = nullptr;
#include "firmware/monitor/state_variables.def"
    lcd_clear();
}

} // namespace txm9
