// The front panel from the keyboard and the wheel: each key travels as a click on its
// control does, the window's own controls keep their keys, the face shows what was pressed.
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "firmware/monitor/keys.h"
#include "firmware/monitor/state.h"
#include "front_panel_fixture.h"
#include "qt/panel_keys.h"

using namespace txm9;

namespace {

class PanelKeysTest : public FrontPanel {
protected:
    void SetUp() override {
        FrontPanel::SetUp();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // A wheel movement over the face's centre, as it reaches the window from the controls
    // there, which leave it alone (the end-to-end test turns a real wheel).
    void wheel(int eighths_of_degree) {
        const QPointF at(155, 150);
        QWheelEvent event(at, form->mapToGlobal(at), QPoint(), QPoint(0, eighths_of_degree),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form.get(), &event);
    }
};

TEST_F(PanelKeysTest, EachKeyStoresItsCodeAsAClickDoes) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        uint8_t code;
        PictureControl* shown_pressed;
    } keys[] = {{Qt::Key_F1, Qt::NoModifier, KEY_LEFT, form->Image3},
                {Qt::Key_F2, Qt::NoModifier, KEY_RIGHT, form->Image6},
                {Qt::Key_Return, Qt::NoModifier, KEY_SELECT, form->Image5},
                {Qt::Key_Enter, Qt::KeypadModifier, KEY_SELECT, form->Image5},
                {Qt::Key_Period, Qt::NoModifier, KEY_CW, form->Image5},
                {Qt::Key_Comma, Qt::NoModifier, KEY_CCW, form->Image5}};
    for (const auto& k : keys) {
        SCOPED_TRACE(QKeySequence(k.key | k.modifiers).toString().toStdString());
        pending_key = 0;
        idle_countdown = 0;
        QTest::keyClick(form.get(), k.key, k.modifiers);
        EXPECT_EQ(pending_key, k.code);
        EXPECT_EQ(idle_countdown, 30);
        EXPECT_TRUE(k.shown_pressed->pressedShown());
        // The first key since the slot was emptied wins, as with clicks.
        QTest::keyClick(form.get(), Qt::Key_F1);
        EXPECT_EQ(pending_key, k.code);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->Image5->pressedShown(); }, 1000));
    EXPECT_FALSE(form->Image3->pressedShown());
}

TEST_F(PanelKeysTest, FocusedControlsKeepTheirKeys) {
    form->TrackBar2->setFocus();
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_PageUp, Qt::Key_Home}) {
        QTest::keyClick(form->TrackBar2, key);
    }
    EXPECT_EQ(form->TrackBar2->value(), 0) << "right, page up, then home";
    QTest::keyClick(form->TrackBar2, Qt::Key_Period);
    EXPECT_EQ(pending_key, KEY_CW) << "a turn key still turns the knob";
    EXPECT_EQ(form->TrackBar2->value(), 0);

    pending_key = 0;
    form->CheckBox3->setFocus();
    QTest::keyClick(form->CheckBox3, Qt::Key_Space);
    EXPECT_TRUE(form->CheckBox3->isChecked());
    EXPECT_EQ(pending_key, 0);
}

TEST_F(PanelKeysTest, WheelTurnsTheKnobOneStepPerNotch) {
    const struct {
        const char* name;
        std::vector<int> movements;
        uint8_t first_key; // 0: no turn
    } cases[] = {{"one notch away", {120}, KEY_CW},
                 {"one notch towards", {-120}, KEY_CCW},
                 {"a notch in four parts", {30, 30, 30, 30}, KEY_CW},
                 {"half a notch back and forth", {60, -60, 60, -60}, 0},
                 {"three parts of a notch", {40, 40, 39}, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pending_key = 0;
        for (int movement : c.movements) {
            wheel(movement);
        }
        EXPECT_EQ(pending_key, c.first_key);
    }
}

TEST(WheelNotches, FastSpinGivesOneStepPerNotch) {
    wheel_notches notches;
    EXPECT_EQ(notches.add(360), 3);
    EXPECT_EQ(notches.add(-100), 0);
    EXPECT_EQ(notches.add(-140), -2) << "the reversal starts afresh";
}

} // namespace
