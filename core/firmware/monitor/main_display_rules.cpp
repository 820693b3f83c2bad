#include <cstdio>

#include "firmware/monitor/main_display.h"
#include "firmware/monitor/state.h"

namespace {

constexpr uint32_t VOLTS_FULL_SCALE_DV = 300;
// 110 % of the shunt rating, in dA per rated amp.
constexpr uint64_t CURRENT_FULL_SCALE_DA_PER_SHUNT_AMP = 11;
constexpr uint32_t WHOLE_AMPS_FROM_DA = 100;
constexpr uint32_t WHOLE_AMPS_ABOVE_SHUNT_AMPS = 100;

} // namespace

bool volts_over_range() {
    return volts_dv > VOLTS_FULL_SCALE_DV;
}

uint32_t magnitude_da(int32_t da) {
    // In unsigned arithmetic, so that the most negative current has a magnitude too.
    const auto bits = static_cast<uint32_t>(da);
    return da < 0 ? 0u - bits : bits;
}

uint32_t current_magnitude_da() {
    return magnitude_da(current_da);
}

bool current_over_range() {
    return current_magnitude_da() > uint64_t{shunt_amps} * CURRENT_FULL_SCALE_DA_PER_SHUNT_AMP;
}

bool current_charging() {
    return current_da >= 0;
}

bool integer_style(uint32_t magnitude_da) {
    return magnitude_da >= WHOLE_AMPS_FROM_DA || shunt_amps > WHOLE_AMPS_ABOVE_SHUNT_AMPS;
}

bool blink_shown() {
    return blink_phase == 1;
}

bool volts_in_alarm() {
    return (volt_alarm & 1u) != 0;
}

void format_tenths(char* text, std::size_t size, const char* format, uint32_t tenths) {
    std::snprintf(text, size, format, static_cast<double>(tenths) / 10.0);
}

void format_amps(char* text, std::size_t size, uint32_t magnitude_da, const char* integer_format,
                 const char* decimal_format) {
    if (integer_style(magnitude_da)) {
        std::snprintf(text, size, integer_format, static_cast<int>(magnitude_da / 10));
    } else {
        format_tenths(text, size, decimal_format, magnitude_da);
    }
}
