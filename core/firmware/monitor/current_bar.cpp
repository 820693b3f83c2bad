// The current bar across the bottom of the current page: the current against the bar
// scale in 113 steps, with a marker at the peak since the last reset.
#include <cstdio>

#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/main_display.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

// The inside of the frame spans columns 1..112; a value at full scale reaches step 113.
constexpr uint32_t BAR_STEPS = 113;

// Bar steps of `value` dA: beyond full scale the bar is simply full. The pixel size was
// rounded to single precision, so exactly full scale may come out one step short.
int32_t bar_steps(uint32_t value, uint32_t full_scale, float pixel_size) {
    if (value > full_scale) {
        return BAR_STEPS;
    }
    if (value == 0) {
        return 0;
    }
    return static_cast<int32_t>(static_cast<double>(value) / static_cast<double>(pixel_size));
}

void draw_peak_marker(int32_t p) {
    lcd_line(p, 45, p, 54, PIXEL_SET);
    // A small triangle pointing down onto the bar.
    lcd_line(p - 2, 43, p + 2, 43, PIXEL_SET);
    lcd_line(p - 1, 44, p + 1, 44, PIXEL_SET);
    lcd_put_pixel(static_cast<uint8_t>(p), 45, PIXEL_SET);
}

void draw_scale_ends(uint32_t full_scale) {
    lcd_line(0, 43, 0, 46, PIXEL_SET);
    lcd_text(0, 57, text_zero, 0, 1, 0);
    lcd_line(113, 43, 113, 46, PIXEL_SET);
    char text[24];
    std::snprintf(text, sizeof text, FORMAT_INTEGER_READING, static_cast<int>(full_scale / 10));
    lcd_text_centred(102, 57, text, 0, 1, 0);
}

} // namespace

void draw_current_bar(int32_t peak) {
    const uint32_t full_scale = bar_scale_amps * 10;
    const auto pixel_size = static_cast<float>(full_scale * (1.0 / BAR_STEPS));
    const int32_t bar_end = bar_steps(current_magnitude_da(), full_scale, pixel_size);
    const int32_t marker =
        bar_steps(peak < 0 ? 0u : static_cast<uint32_t>(peak), full_scale, pixel_size);

    lcd_frame(0, 46, 113, 55, PIXEL_SET);
    draw_peak_marker(marker);
    draw_scale_ends(full_scale);
    // Toggled, so the marker line shows as a gap inside the bar and dark beyond its end.
    lcd_fill(1, 48, static_cast<uint8_t>(bar_end), 53, PIXEL_TOGGLE);
}
