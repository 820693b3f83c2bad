// Message screen: confirms a calibration point with "DONE" until any key is pressed.
#include "firmware/lcd/icons.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

constexpr uint8_t ICON_EXCLAMATION = 5;

void draw() {
    lcd_title(text_message_title);
    lcd_icon(ICON_EXCLAMATION);
    lcd_text_centred(78, 26, select_text(texts.message_done), 1, 1, 0);
}

} // namespace

void screen_message() {
    draw();
    // The cursor is left alone, so the calibration list comes back on the row that took
    // the point.
    if (pending_key >= KEY_SELECT && pending_key <= KEY_RIGHT) {
        active_screen = return_screen;
    }
    pending_key = 0;
}
