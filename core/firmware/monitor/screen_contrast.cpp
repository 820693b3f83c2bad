// Contrast screen: a bar of two columns per level, so that the 57 levels fill the 114-pixel
// width exactly, inside a frame; the knob and the up and down keys set the level.
#include "firmware/board/hooks.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/list_screen.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

constexpr uint8_t CONTRAST_MAX = 57;

void draw() {
    lcd_title(select_text(texts.contrast_title));
    lcd_fill(0, 15, static_cast<uint8_t>(2 * contrast), 25, PIXEL_SET);
    lcd_frame(0, 15, 113, 25, PIXEL_SET);
    lcd_text_centred(57, 40, select_text(texts.contrast_help_keys), 0, 1, 0);
    lcd_text_centred(57, 48, select_text(texts.contrast_help_adjust), 0, 1, 0);
    lcd_text_centred(57, 56, select_text(texts.contrast_help_what), 0, 1, 0);
}

void handle_key(uint8_t key) {
    if (key == KEY_SELECT) {
        // The display setup list comes back on its "ADJ CONTRAST" row.
        menu_cursor = 1;
        active_screen = return_screen;
        commit_settings();
        return;
    }
    const int8_t direction = edit_direction(key);
    if (direction == 0) {
        return;
    }
    // The level stops at both ends; the controller is told again even when it did not move.
    if (direction > 0 && contrast < CONTRAST_MAX) {
        ++contrast;
    } else if (direction < 0 && contrast > 0) {
        --contrast;
    }
    apply_contrast();
}

} // namespace

void screen_contrast() {
    draw();
    if (pending_key != 0) {
        handle_key(pending_key);
        pending_key = 0;
    }
}
