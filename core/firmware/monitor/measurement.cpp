#include "firmware/monitor/measurement.h"

#include <cstdint>
#include <limits>

#include "firmware/board/hooks.h"
#include "firmware/monitor/state.h"

uint32_t read_adc(uint8_t channel) {
    switch (channel) {
    case 0:
        return raw_volts_adc;
    case 1:
        return raw_amps_adc;
    default:
        return 0;
    }
}

void update_voltage() {
    const uint32_t c = read_adc(0);

    // First-order filter: each pass moves a quarter of the way toward the input. Only the
    // ADC values screen shows the filtered count; the voltage itself is scaled unfiltered.
    volts_filter_acc = (3 * volts_filter_acc + 4 * static_cast<int32_t>(c)) / 4;
    volts_adc = static_cast<uint32_t>(volts_filter_acc / 4);

    // 0.825 hundredths of a volt per count at 100 %; 4096 x 825 x 150 still fits 32 bits.
    volts_dv = (c * 825u * volt_cal_percent) / 1000000u;

    // Both thresholds belong to the good range.
    if (volt_alarm_enabled == 1 && (volts_dv < low_alarm_dv || volts_dv > high_alarm_dv)) {
        volt_alarm |= 1u;
        if ((alarm_ack & 1u) == 0) {
            amps_page = 0; // an unacknowledged alarm turns a paged display to its volts
        }
    } else {
        // Back in the window: the next excursion is a fresh, unacknowledged alarm.
        volt_alarm &= static_cast<uint8_t>(~1u);
        alarm_ack &= static_cast<uint8_t>(~1u);
    }

    if (volts_dv > peak_volts_dv) {
        peak_volts_dv = volts_dv;
    }
}

namespace {

// The shunt signal of a filtered count in hundredths of a millivolt (5000 = 50.00 mV),
// positive while charging: the zero point maps to 0, the charge point to +5000 and the
// discharge point to -5000, counts beyond a point extrapolate along the same line.
int32_t shunt_signal(uint32_t count) {
    const auto x = static_cast<int32_t>(count);
    if (count <= cal_zero_adc) {
        return interpolate_rounded(static_cast<float>(cal_zero_adc),
                                   static_cast<float>(cal_charge_adc), 0.0f, 5000.0f, x);
    }
    return -interpolate_rounded(static_cast<float>(cal_zero_adc),
                                static_cast<float>(cal_discharge_adc), 0.0f, 5000.0f, x);
}

// A calibration point a few counts from zero makes the signal so steep that the current
// leaves the 32-bit range; it is held at the range's end, far beyond any over-range limit.
int32_t saturate_to_int32(int64_t v) {
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v < lo ? lo : (v > hi ? hi : v));
}

} // namespace

void update_current() {
    const uint32_t c = read_adc(1);

    // Each pass moves half of the way toward the input.
    amps_filter_acc = (2 * static_cast<int32_t>(c) + amps_filter_acc) / 2;
    amps_adc = static_cast<uint32_t>(amps_filter_acc / 2);

    const int32_t s = shunt_signal(amps_adc);

    // The rated current flows at the shunt's rated voltage (50 mV = 5000 signal units).
    const int64_t product = static_cast<int64_t>(shunt_amps) * s;
    const int64_t divisor = static_cast<int64_t>(shunt_millivolts) * 10;
    current_da = saturate_to_int32(product / divisor);

    if (current_da < peak_discharge_da) {
        peak_discharge_da = current_da;
    }
    if (current_da > peak_charge_da) {
        peak_charge_da = current_da;
    }
}

int32_t interpolate_rounded(float x0, float x1, float y0, float y1, int32_t x) {
    // The instrument's FPU traps a zero divisor (0 / 0 is an invalid operation); the test
    // here gives the same trap on processors that would return an infinity instead.
    const float rise = y1 - y0;
    const float run = x1 - x0;
    if (run == 0.0f) {
        fpu_fault(rise == 0.0f ? "Floating point invalid operation"
                               : "Floating point division by zero");
    }
    const float slope = rise / run;
    // One rounding: the product of two floats is exact in double, so the intercept is the
    // exact difference rounded to single precision once. Rounding the product first would
    // move some user calibrations' readings by a tenth of an amp.
    const auto intercept = static_cast<float>(static_cast<double>(y1) -
                                              static_cast<double>(slope) * static_cast<double>(x1));

    const double tenths = (static_cast<double>(x) * slope + intercept) * 10.0;
    // A value beyond the 32-bit range would be an invalid conversion on the instrument.
    if (!(tenths > -2147483648.0 && tenths < 2147483648.0)) {
        fpu_fault("Floating point invalid operation");
    }
    const auto t = static_cast<int32_t>(tenths);

    if (t >= 0) {
        return t / 10 + (t % 10 >= 5 ? 1 : 0);
    }
    const int32_t m = -t;
    return m % 10 >= 5 ? -(m / 10 + 1) : -(m / 10);
}
