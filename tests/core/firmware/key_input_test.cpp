// Keys and knob into the one-byte key slot.
#include <gtest/gtest.h>

#include <string>

#include "firmware/monitor/key_input.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/state.h"

namespace {

TEST(KeyInput, EveryCodeReachesAnEmptySlotAndRestartsTheCountdown) {
    for (uint8_t code : {KEY_SELECT, KEY_CW, KEY_CCW, KEY_LEFT, KEY_RIGHT}) {
        SCOPED_TRACE("key " + std::to_string(code));
        pending_key = 0;
        idle_countdown = 0;
        key_pressed(code);
        EXPECT_EQ(pending_key, code);
        EXPECT_EQ(idle_countdown, 30);
    }
}

TEST(KeyInput, FirstKeySinceTheSlotWasEmptiedWins) {
    pending_key = 0;
    key_pressed(KEY_LEFT);
    idle_countdown = 12;
    key_pressed(KEY_RIGHT);
    EXPECT_EQ(pending_key, KEY_LEFT);
    EXPECT_EQ(idle_countdown, 30) << "a dropped key still counts as activity";
}

TEST(KeyInput, KnobPressDoesNotReplaceAWaitingTurn) {
    pending_key = KEY_CCW;
    key_pressed(KEY_SELECT);
    EXPECT_EQ(pending_key, KEY_CCW);
}

} // namespace
