#include "firmware/monitor/splash.h"

#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/string_pair.h"
#include "firmware/monitor/texts.h"

namespace {

// No text reaches character 100, so nothing of the splash is inverted.
constexpr uint8_t NOT_INVERTED = 100;

bool signed_greater(uint8_t a, int8_t b) {
    return static_cast<int8_t>(a) > b;
}
bool signed_less(uint8_t a, int8_t b) {
    return static_cast<int8_t>(a) < b;
}

} // namespace

void splash_draw_frame(splash_motion& motion) {
    lcd_clear();

    // The maker name comes in 2 columns a frame and stops with its left edge at column 10.
    lcd_text(motion.maker_x, 5, splash_maker_name, 1, PIXEL_SET, 0);
    if (signed_greater(motion.maker_x, 10)) {
        motion.maker_x = static_cast<uint8_t>(motion.maker_x - 2);
    }

    // The model name waits until the maker name has passed column 88, then follows it in
    // from the left and stops centred on column 58.
    lcd_text_centred(motion.model_x, 28, splash_model_name, 1, PIXEL_SET, 0);
    if (signed_less(motion.maker_x, 88) && signed_less(motion.model_x, 57)) {
        motion.model_x = static_cast<uint8_t>(motion.model_x + 2);
    }

    if (calibrate_enabled == 1) {
        lcd_small_text_centred(44, 46, select_text(texts.splash_calibrate), NOT_INVERTED);
    }
    lcd_small_text_centred(57, 56, splash_web_address, NOT_INVERTED);
    lcd_small_text(85, 40, firmware_version, NOT_INVERTED);
}

uint8_t splash_take_keys() {
    uint8_t unlocked = 0;
    if (pending_key == KEY_SELECT) {
        calibrate_enabled = 1;
        unlocked = 1;
    }
    pending_key = 0;
    return unlocked;
}
