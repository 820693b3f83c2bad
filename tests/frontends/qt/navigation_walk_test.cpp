// A walk through every screen of the instrument with the window's own controls: the keys and
// the knob are clicked, the Calibrate box ticked and the sliders moved, and after each step
// the display is read back as a person reads it, by its title and the line that tells where
// the cursor stands.
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "engine/lcd_dump.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "front_panel_fixture.h"
#include "support/lcd_reader.h"

using namespace txm9;

namespace {

constexpr int SPLASH = 80; // splash frames before the first pass

// Slider positions (converter counts). The current's calibration points are taken at the
// counts of the factory calibration; 1500 is a modest charging current in between.
constexpr int TWELVE_VOLTS = 1455;
constexpr int CHARGING_CURRENT = 1500;
constexpr int ZERO_MILLIVOLTS = 1872;
constexpr int PLUS_50_MILLIVOLTS = 248;
constexpr int MINUS_50_MILLIVOLTS = 3499;

// What the display shows: which screen is active, its title (band 0; none on the main
// display), and one text that tells where on the screen the cursor stands.
struct view {
    screen_routine screen;
    const char* title;
    uint8_t y;
    const char* text; // nullptr: the title alone tells enough
    text_shade shade = text_shade::plain;
    text_face face = text_face::normal;
};

view main_display() {
    return {screen_main, nullptr, 57, "CHARGING"};
}
// The main menu showing one item, by the first line of its name.
view menu_on(uint8_t y, const char* name) {
    return {screen_menu, "MAIN MENU", y, name, text_shade::plain, text_face::double_height};
}
// A list screen with the cursor on row r, which shows `text` highlighted.
view list_on(screen_routine screen, const char* title, uint8_t row, const char* text) {
    return {screen, title, static_cast<uint8_t>(8 + 8 * row), text, text_shade::inverted};
}
view list_on_leave_row(screen_routine screen, const char* title) {
    return list_on(screen, title, 0, "*** DONE ***");
}
view message_done() {
    return {screen_message, "MESSAGE", 26, "DONE", text_shade::plain, text_face::double_height};
}

testing::AssertionResult shows(const view& v) {
    if (active_screen != v.screen) {
        return testing::AssertionFailure() << "active screen is " << screen_name(active_screen)
                                           << ", expected " << screen_name(v.screen) << "\n"
                                           << lcd_dump();
    }
    if (v.title != nullptr) {
        if (testing::AssertionResult title = band_reads(0, v.title); !title) {
            return title;
        }
    }
    if (v.text != nullptr) {
        return band_reads(v.y, v.text, v.shade, v.face);
    }
    return testing::AssertionSuccess();
}

// One thing a person does at the front panel, and what the display shows afterwards.
struct step {
    const char* action;
    std::function<void(TForm1&)> act;
    view expected;
    int passes = 2; // a key is handled on the next pass and its result drawn on the one after
};

// The controls, as a person works them.
void knob_press(TForm1& f) {
    click(f.Image5);
}
void clockwise(TForm1& f) {
    click(f.BitBtn1);
}
void anticlockwise(TForm1& f) {
    click(f.Button3);
}
void left_key(TForm1& f) {
    click(f.Image3);
}
void right_key(TForm1& f) {
    click(f.Image6);
}
void tick_calibrate(TForm1& f) {
    QCheckBox* box = f.CheckBox2;
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
    EXPECT_TRUE(box->isChecked()) << "the click ticks the Calibrate box";
}
std::function<void(TForm1&)> volts_at(int count) {
    return [count](TForm1& f) { f.TrackBar1->setValue(count); };
}
std::function<void(TForm1&)> amps_at(int count) {
    return [count](TForm1& f) { f.TrackBar2->setValue(count); };
}
// Two seconds are 20 ticks of the 100 ms timer.
std::function<void(TForm1&)> ticks(int n) {
    return [n](TForm1& f) {
        for (int i = 0; i < n; ++i) {
            f.Timer1Timer();
        }
    };
}

// The filtered current count settles within a dozen passes of a slider move.
constexpr int SETTLE = 16;

using NavigationWalk = FrontPanel;

// Runs the steps one after the other from the first pass of a fresh run, each acting in the
// event delivery after the previous step's check. The walk stops at the first step that
// shows something else, since every later step depends on where it stands.
void walk(TForm1& form, const view& start, const std::vector<step>& steps) {
    form.Timer1->stop(); // the walk gives the ticks itself
    RunDriver run(&form);
    std::size_t next = 0;
    int due = SPLASH + 2;
    const auto check_then_act = [&](int frame) {
        if (frame != due) {
            return;
        }
        const std::string where =
            next == 0 ? "at the start"
                      : "after step " + std::to_string(next) + ", " + steps[next - 1].action;
        const view& expected = next == 0 ? start : steps[next - 1].expected;
        const testing::AssertionResult seen = shows(expected);
        EXPECT_TRUE(seen) << where << " (frame " << frame << ")";
        if (!seen || next == steps.size()) {
            QTimer::singleShot(0, &form, [&form] { click(form.Button2); });
            return;
        }
        const step& s = steps[next++];
        QTimer::singleShot(0, &form, [&form, &s] { s.act(form); });
        due = frame + s.passes;
    };
    run.on_painted = check_then_act;
    run.click_on();
    EXPECT_EQ(next, steps.size()) << "the walk did not reach its end";
}

TEST_F(NavigationWalk, EveryScreenAndBack) {
    form->TrackBar2->setValue(CHARGING_CURRENT);
    // At 0 V the factory low alarm stands from the first pass.
    const view DISP_SETUP_ROW_0 = list_on_leave_row(screen_display_setup, "DISP SETUP");
    const view DISP_SETUP_ROW_1 = list_on(screen_display_setup, "DISP SETUP", 1, "ADJ CONTRAST");
    const view CONTRAST = {screen_contrast, "CONTRAST", 56, "CONTRAST"};
    const view CALIBRATE_ROW_2 = list_on(screen_calibrate, "CALIBRATE", 2, "SHUNT 0mV CAL");
    const view CALIBRATE_ROW_3 = list_on(screen_calibrate, "CALIBRATE", 3, "CHARGE +50mV");
    const view CALIBRATE_ROW_4 = list_on(screen_calibrate, "CALIBRATE", 4, "DCHARGE -50mV");
    const view CALIBRATE_ROW_1 = {screen_calibrate, "CALIBRATE", 16, nullptr};
    const std::vector<step> steps = {
        // The unacknowledged alarm: the first key only acknowledges it.
        {"knob press during the alarm", knob_press, main_display()},
        {"volts to 12.0 V",
         [](TForm1& f) {
             EXPECT_EQ(volt_alarm, 1) << "the alarm stands at 0 V";
             EXPECT_EQ(alarm_ack, 1) << "the knob press acknowledged it";
             volts_at(TWELVE_VOLTS)(f);
         },
         main_display()},
        {"tick Calibrate", tick_calibrate, main_display()},
        {"knob press", knob_press, menu_on(18, "EXIT")},
        // Item 1, display setup, and its contrast screen.
        {"clockwise", clockwise, menu_on(18, "DISPLAY")},
        {"knob press", knob_press, DISP_SETUP_ROW_0},
        {"right key", right_key, DISP_SETUP_ROW_1},
        {"knob press on ADJ CONTRAST", knob_press, CONTRAST},
        {"knob press", knob_press, DISP_SETUP_ROW_1},
        {"left key", left_key, DISP_SETUP_ROW_0},
        {"knob press on DONE", knob_press, menu_on(18, "DISPLAY")},
        // Item 2, battery setup.
        {"clockwise", clockwise, menu_on(18, "BATTERY")},
        {"knob press", knob_press, list_on_leave_row(screen_battery_setup, "BAT SETUP")},
        {"knob press on DONE", knob_press, menu_on(18, "BATTERY")},
        // Item 3, the converter counts.
        {"clockwise", clockwise, menu_on(18, "ADC")},
        {"knob press", knob_press, list_on_leave_row(screen_adc_values, "ADC VALUES")},
        {"knob press on DONE", knob_press, menu_on(18, "ADC")},
        // Item 4, calibration: each of the three points confirms and comes back to its row.
        {"right key", right_key, menu_on(26, "CALIBRATE")},
        {"knob press", knob_press, list_on_leave_row(screen_calibrate, "CALIBRATE")},
        {"clockwise", clockwise, CALIBRATE_ROW_1},
        {"clockwise", clockwise, CALIBRATE_ROW_2},
        {"amps to the zero point", amps_at(ZERO_MILLIVOLTS), CALIBRATE_ROW_2, SETTLE},
        {"knob press on SHUNT 0mV CAL", knob_press, message_done()},
        {"anticlockwise", anticlockwise, CALIBRATE_ROW_2},
        {"right key", right_key, CALIBRATE_ROW_3},
        {"amps to +50 mV", amps_at(PLUS_50_MILLIVOLTS), CALIBRATE_ROW_3, SETTLE},
        {"knob press on CHARGE +50mV", knob_press, message_done()},
        {"left key", left_key, CALIBRATE_ROW_3},
        {"clockwise", clockwise, CALIBRATE_ROW_4},
        {"amps to -50 mV", amps_at(MINUS_50_MILLIVOLTS), CALIBRATE_ROW_4, SETTLE},
        {"knob press on DCHARGE -50mV", knob_press, message_done()},
        {"knob press", knob_press, CALIBRATE_ROW_4},
        {"amps back to charging", amps_at(CHARGING_CURRENT), CALIBRATE_ROW_4, SETTLE},
        {"left key", left_key, CALIBRATE_ROW_3},
        {"left key", left_key, CALIBRATE_ROW_2},
        {"anticlockwise", anticlockwise, CALIBRATE_ROW_1},
        {"anticlockwise", anticlockwise, list_on_leave_row(screen_calibrate, "CALIBRATE")},
        {"knob press on DONE", knob_press, menu_on(26, "CALIBRATE")},
        // Item 0 back to the main display.
        {"anticlockwise", anticlockwise, menu_on(18, "ADC")},
        {"left key", left_key, menu_on(18, "BATTERY")},
        {"anticlockwise", anticlockwise, menu_on(18, "DISPLAY")},
        {"left key", left_key, menu_on(18, "EXIT")},
        {"knob press on EXIT", knob_press, main_display()},
        // The main display's other keys.
        {"right key", right_key, CONTRAST},
        {"knob press", knob_press, main_display()},
        {"left key",
         left_key,
         {screen_max_values, "MAX VALUES", 56, " RESET ", text_shade::inverted}},
        {"clockwise", clockwise, main_display()},
        // A minute without keys on a setup screen returns to the main display.
        {"knob press", knob_press, menu_on(18, "EXIT")},
        {"clockwise", clockwise, menu_on(18, "DISPLAY")},
        {"knob press", knob_press, DISP_SETUP_ROW_0},
        {"58 s without keys", ticks(580), DISP_SETUP_ROW_0},
        {"2 s more", ticks(20), main_display()},
    };
    walk(*form, main_display(), steps);
}

TEST_F(NavigationWalk, AlarmTakesOnlyTheFirstKeyWhateverItIs) {
    form->TrackBar2->setValue(CHARGING_CURRENT);
    walk(*form, main_display(),
         {
             {"right key during the alarm", right_key, main_display()},
             {"right key", right_key, {screen_contrast, "CONTRAST", 56, "CONTRAST"}},
             {"knob press", knob_press, main_display()},
             {"left key", left_key, {screen_max_values, "MAX VALUES", 0, nullptr}},
         });
}

TEST_F(NavigationWalk, WithoutCalibrateTheMenuEndsAtTheBattery) {
    form->TrackBar1->setValue(TWELVE_VOLTS);
    form->TrackBar2->setValue(CHARGING_CURRENT);
    walk(*form, main_display(),
         {
             {"knob press", knob_press, menu_on(18, "EXIT")},
             {"clockwise", clockwise, menu_on(18, "DISPLAY")},
             {"right key", right_key, menu_on(18, "BATTERY")},
             {"clockwise", clockwise, menu_on(18, "BATTERY")},
             {"right key", right_key, menu_on(18, "BATTERY")},
             {"knob press", knob_press, list_on_leave_row(screen_battery_setup, "BAT SETUP")},
         });
}

// The return leaves the cursor and the editing as they were; the next way into a list screen
// starts afresh on its leave row.
TEST_F(NavigationWalk, InactivityWhileEditingThenTheMenuStartsAfresh) {
    form->TrackBar1->setValue(TWELVE_VOLTS);
    form->TrackBar2->setValue(CHARGING_CURRENT);
    const view editing_shunt = list_on(screen_battery_setup, "BAT SETUP", 1, "50A");
    walk(
        *form, main_display(),
        {
            {"knob press", knob_press, menu_on(18, "EXIT")},
            {"clockwise", clockwise, menu_on(18, "DISPLAY")},
            {"clockwise", clockwise, menu_on(18, "BATTERY")},
            {"knob press", knob_press, list_on_leave_row(screen_battery_setup, "BAT SETUP")},
            {"clockwise", clockwise, list_on(screen_battery_setup, "BAT SETUP", 1, "SHUNT A: 50A")},
            {"knob press on SHUNT A", knob_press, editing_shunt},
            {"a minute without keys", ticks(600), main_display()},
            {"knob press", knob_press, menu_on(18, "EXIT")},
            {"clockwise", clockwise, menu_on(18, "DISPLAY")},
            {"clockwise", clockwise, menu_on(18, "BATTERY")},
            {"knob press", knob_press, list_on_leave_row(screen_battery_setup, "BAT SETUP")},
            {"clockwise", clockwise, list_on(screen_battery_setup, "BAT SETUP", 1, "SHUNT A: 50A")},
        });
}

} // namespace
