// The arrows that tell the current's direction: down into the battery while charging
// (blinking, so that a charge catches the eye), up out of it while discharging (steady).
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/main_display.h"

namespace {

// Layout A: shaft over columns 12..16, head 11 columns wide, tip on column 14.
void large_charge_arrow() {
    lcd_fill(12, 4, 17, 14, PIXEL_SET);
    for (int32_t i = 0; i < 5; ++i) {
        lcd_line(9 + i, 15 + i, 19 - i, 15 + i, PIXEL_SET);
    }
    lcd_put_pixel(14, 20, PIXEL_SET);
}

void large_discharge_arrow() {
    lcd_put_pixel(14, 4, PIXEL_SET);
    for (int32_t i = 0; i < 5; ++i) {
        lcd_line(13 - i, 5 + i, 15 + i, 5 + i, PIXEL_SET);
    }
    lcd_fill(12, 10, 17, 20, PIXEL_SET);
}

// Layout C: shaft over columns 12..14, head 7 columns wide, tip on column 13.
void small_charge_arrow() {
    lcd_fill(12, 0, 15, 9, PIXEL_SET);
    lcd_put_pixel(13, 10, PIXEL_SET);
    lcd_line(11, 8, 15, 8, PIXEL_SET);
    lcd_line(10, 7, 16, 7, PIXEL_SET);
}

void small_discharge_arrow() {
    lcd_fill(12, 1, 15, 10, PIXEL_SET);
    lcd_put_pixel(13, 0, PIXEL_SET);
    lcd_line(11, 2, 15, 2, PIXEL_SET);
    lcd_line(10, 3, 16, 3, PIXEL_SET);
}

} // namespace

void draw_direction_arrow_large() {
    if (!current_charging()) {
        large_discharge_arrow();
    } else if (blink_shown()) {
        large_charge_arrow();
    }
}

void draw_direction_arrow_small() {
    if (!current_charging()) {
        small_discharge_arrow();
    } else if (blink_shown()) {
        small_charge_arrow();
    }
}
