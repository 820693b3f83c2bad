#include "engine/program_start.h"

#include "engine/instrument_variables.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/state.h"

namespace txm9 {

void program_start_state() {
    for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
        instrument_variables[i].write(0);
    }
    for (int i = 0; i < SCREEN_VARIABLE_COUNT; ++i) {
        *screen_variables[i].variable = nullptr;
    }
    lcd_clear();
}

} // namespace txm9
