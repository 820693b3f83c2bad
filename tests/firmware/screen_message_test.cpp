// Message screen: any key 1 to 5 goes back to whoever opened it, and touches nothing else.
#include <gtest/gtest.h>

#include "screen_pass.h"
#include "screens.h"

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

} // namespace
