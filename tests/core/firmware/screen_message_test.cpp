// Message screen: any key 1 to 5 goes back to whoever opened it, and touches nothing else.
#include <gtest/gtest.h>

#include "engine/lcd_dump.h"
#include "firmware/lcd/icon_sheet.h"
#include "firmware/monitor/screens.h"
#include "screen_pass.h"

using namespace txm9;

namespace {

using namespace screen_test;

class Message : public ScreenTest {
protected:
    void SetUp() override {
        open(screen_message);
        return_screen = screen_calibrate;
    }
};

TEST_F(Message, KeysOneToFiveReturnLeavingCursorAndEditing) {
    for (uint8_t key = KEY_SELECT; key <= KEY_RIGHT; ++key) {
        SCOPED_TRACE(::testing::Message() << "key " << int(key));
        active_screen = screen_message;
        menu_cursor = 3;
        edit_mode = 1;
        press(key);
        EXPECT_EQ(active_screen, screen_calibrate);
        EXPECT_EQ(menu_cursor, 3);
        EXPECT_EQ(edit_mode, 1);
        EXPECT_EQ(pending_key, 0);
    }
}

TEST_F(Message, OtherKeysAreDiscardedAndTheMessageStays) {
    for (uint8_t key : {6, 7, 128, 255}) {
        SCOPED_TRACE(::testing::Message() << "key " << int(key));
        press(key);
        EXPECT_EQ(active_screen, screen_message);
        EXPECT_EQ(pending_key, 0);
    }
    run_pass();
    EXPECT_EQ(active_screen, screen_message) << "without a key the message stays";
}

// --- What the screen shows ---

TEST_F(Message, DoneBesideTheExclamationMark) {
    for (uint8_t lang : {0, 1}) {
        SCOPED_TRACE(lang == 0 ? "English" : "French");
        language = lang;
        run_pass();
        EXPECT_TRUE(band_shows(0, {plain("MESSAGE", 29)}));
        EXPECT_TRUE(
            band_shows(26, {plain(lang == 0 ? "DONE" : "FINI", 62)}, text_face::double_height));
        // The exclamation mark: the bottom-half sheet cell at column 32, pages 2..5 from
        // column 4.
        for (int q = 0; q < 4; ++q) {
            for (int k = 0; k < 32; ++k) {
                ASSERT_EQ(lcd_buffer[(2 + q) * LCD_WIDTH + 4 + k], icon_sheet[544 + 128 * q + k])
                    << "icon byte of page " << 2 + q << " column " << 4 + k << "\n"
                    << lcd_dump_rows(16, 47);
            }
        }
    }
}

} // namespace
