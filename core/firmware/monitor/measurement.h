// One measurement step per pass of the main loop: converter counts to filtered counts,
// battery voltage and current, the voltage alarm and the peak values.
#pragma once

#include <cstdint>
#include <stdexcept>

// A floating-point fault of the measurement (the instrument's FPU traps division by zero,
// overflow and invalid operations). The one reachable case is a zero-width current
// calibration, whose message is "Floating point division by zero".
class floating_point_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Latest raw count of a converter channel: 0 the battery voltage, 1 the shunt voltage.
uint32_t read_adc(uint8_t channel);

// Filters channel 0, scales it to `volts_dv`, evaluates the voltage alarm and its peak.
void update_voltage();

// Filters channel 1, turns it through the two-point calibration into `current_da` and
// tracks the charge and discharge peaks. Throws floating_point_error when the calibration
// point on the count's side of zero equals the zero point.
void update_current();

// The line through (x0, y0) and (x1, y1) in single precision, evaluated at x and rounded
// half away from zero on its first decimal.
int32_t interpolate_rounded(float x0, float x1, float y0, float y1, int32_t x);
