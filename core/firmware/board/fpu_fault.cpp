#include "firmware/board/floating_point_error.h"
#include "firmware/board/hooks.h"

// The simulator cannot halt a processor: the trap unwinds to the engine, which ends the run
// where it was and keeps the display and the lamp as they last were.
void fpu_fault(const char* message) {
    throw floating_point_error(message);
}
