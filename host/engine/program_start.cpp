#include "program_start.h"

#include "framebuffer.h"
#include "instrument_variables.h"
#include "state.h"

void program_start_state() {
    for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
        instrument_variables[i].write(0);
    }
    active_screen = return_screen = nullptr;
    lcd_clear();
}
