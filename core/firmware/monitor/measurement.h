// One measurement step per pass of the main loop: converter counts to filtered counts,
// battery voltage and current, the voltage alarm and the peak values.
#pragma once

#include <cstdint>

#if __cpp_exceptions
// What the simulator's boards raise for the FPU's trap, for those who catch it.
#include "firmware/board/floating_point_error.h"
#endif

// Latest raw count of a converter channel: 0 the battery voltage, 1 the shunt voltage.
uint32_t read_adc(uint8_t channel);

// Filters channel 0, scales it to `volts_dv`, evaluates the voltage alarm and its peak.
void update_voltage();

// Filters channel 1, turns it through the two-point calibration into `current_da` and
// tracks the charge and discharge peaks. The board's fpu_fault when the calibration point on
// the count's side of zero equals the zero point.
void update_current();

// The line through (x0, y0) and (x1, y1) in single precision, evaluated at x and rounded
// half away from zero on its first decimal. A line without run, or a value beyond 32 bits,
// is the FPU's trap (fpu_fault).
int32_t interpolate_rounded(float x0, float x1, float y0, float y1, int32_t x);
