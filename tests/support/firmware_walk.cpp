#include "firmware_walk.h"

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <type_traits>

#include "engine/front_panel.h"
#include "engine/program_start.h"
#include "engine/virtual_clock.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/key_input.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/tick.h"

using namespace txm9;

namespace {

// ON clicked inside runs nests runs; deeper clicks than this are not played.
constexpr int MAX_NESTED_RUNS = 8;
// A minute without touching anything: the inactivity return is sure to come.
constexpr uint32_t MINUTE_OF_DELIVERIES = 60000 / FRAME_MS;

// What one delivery's first byte does (walk_byte gives the ranges). Of random bytes, a quarter
// bring nothing, almost half a key, the rest the sliders, the check boxes, pauses,
// calibration points set straight from the filtered count, and now and then OFF or ON.
enum class action {
    nothing,
    panel_key,   // one of the five keys
    turn,        // the same key on many deliveries in a row
    any_code,    // a code 0..255, including those the screens must discard
    two_keys,    // two clicks within one delivery: the second is lost
    volts_set,   // the volts slider dragged to a count
    volts_nudge, // the volts slider moved a little
    amps_set,
    amps_nudge,
    pause,        // the person waits a while
    minute_pause, // the person waits a whole minute
    stall,        // a slow frame: many ticks fall due at once
    calibrate_box,
    key_fast_box,
    set_point, // a calibration point set to the present filtered count
    off,
    on,
};

action action_of(int byte) {
    struct range {
        int first;
        action what;
    };
    // From the highest range down: the first range whose first byte is not above `byte`.
    static constexpr range table[] = {
        {WALK_MORE_KEYS, action::panel_key},
        {WALK_TURN, action::turn},
        {WALK_ON, action::on},
        {WALK_OFF, action::off},
        {WALK_SET_POINT, action::set_point},
        {WALK_KEY_FAST_BOX, action::key_fast_box},
        {WALK_CALIBRATE_BOX, action::calibrate_box},
        {WALK_STALL, action::stall},
        {WALK_MINUTE, action::minute_pause},
        {WALK_PAUSE, action::pause},
        {WALK_AMPS_NUDGE, action::amps_nudge},
        {WALK_AMPS_SET, action::amps_set},
        {WALK_VOLTS_NUDGE, action::volts_nudge},
        {WALK_VOLTS_SET, action::volts_set},
        {WALK_TWO_KEYS, action::two_keys},
        {WALK_ANY_CODE, action::any_code},
        {WALK_KEY, action::panel_key},
    };
    for (const range& r : table) {
        if (byte >= r.first) {
            return r.what;
        }
    }
    return action::nothing;
}

// What a check found broken, written out only when something is: the check runs after
// every pass and must stay cheap.
class findings {
public:
    findings& operator<<(const char* text) {
        text_ += text;
        return *this;
    }
    template <typename T>
    requires std::is_integral_v<T> findings& operator<<(T value) {
        text_ += std::to_string(value);
        return *this;
    }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

// A broken invariant: unwinds the whole walk, nested runs included.
struct walk_broken {
    std::string what;
};

class walker : public panel_frontend {
public:
    walker(event_source& source, uint64_t max_passes, walk_stats& stats)
        : source_(source), max_passes_(max_passes), stats_(stats) {}

    void play() {
        // Off: the toolkit's event loop runs until the person clicks ON.
        while (!exhausted_) {
            if (deliver(true)) {
                button1_click();
            }
        }
    }

    // The engine's frontend: the two boxes are the walk's own, the frame buffer stays as
    // the screen drew it, and the invariants are checked on every frame shown.
    void show_frame(const frame_report& frame) override {
        if (frame.phase == panel_phase::splash) {
            ++stats_.splash_frames;
            return;
        }
        if (screen_index(frame.screen) < 0) {
            fail("the active screen is not one of the nine");
        }
        if (frame.inactivity_return) {
            ++stats_.inactivity_returns;
        }
        ++stats_.passes;
        ++stats_.screen_passes[screen_index(frame.screen)];
        if (frame.screen == screen_calibrate && active_screen == screen_message) {
            ++stats_.points_taken;
        }
        check_invariants(frame.screen);
        if (stats_.passes >= max_passes_) {
            exhausted_ = true;
        }
    }
    void set_lamp(uint32_t) override {}
    // Read just after the pass's measurement, which must have failed on a zero-width line.
    bool calibrate_ticked() override {
        if (zero_width_calibration_in_use()) {
            fail("measured through a zero-width calibration without a division fault");
        }
        return calibrate_box_;
    }
    bool key_fast_ticked() override { return key_fast_box_; }
    void tick_calibrate() override {
        calibrate_box_ = true;
        ++stats_.calibrate_unlocks;
    }
    void deliver_events() override {
        if (engine_.phase() == panel_phase::splash && pending_key != 0) {
            fail("a key was left in the slot after a splash frame");
        }
        if (deliver(false) && engine_.depth() < MAX_NESTED_RUNS) {
            button1_click();
        }
    }

private:
    // ON: the instrument's powered-on life, run by the engine as the window's ON runs it.
    void button1_click() {
        ++stats_.runs;
        if (engine_.depth() > 0) {
            ++stats_.nested_runs;
        }
        run_end end;
        try {
            end = engine_.power_on();
        } catch (const walk_broken&) {
            throw;
        } catch (const std::exception& error) {
            fail(std::string("unexpected exception: ") + error.what());
        }
        if (end.faulted) {
            division_fault(end.fault);
        }
    }

    // The calibration point on the filtered count's side of zero equals the zero point:
    // the line through them has no slope.
    static bool zero_width_calibration_in_use() {
        return amps_adc <= cal_zero_adc ? cal_charge_adc == cal_zero_adc
                                        : cal_discharge_adc == cal_zero_adc;
    }

    void division_fault(const std::string& fault) {
        if (fault != "Floating point division by zero") {
            fail("floating_point_error \"" + fault + "\" where only a division by zero can happen");
        }
        if (!zero_width_calibration_in_use()) {
            fail("division fault although the calibration point on the count's side is not "
                 "the zero point");
        }
        ++stats_.division_faults;
    }

    // One delivery of events: 25 ms of the person's time. Returns true when ON was clicked
    // (the caller runs it, nested if a run is going on). While off, a delivery that brings
    // nothing else is the person clicking ON.
    bool deliver(bool off) {
        clock_.deliver();
        if (exhausted_) {
            engine_.power_off(); // nothing more to play: OFF until every run has ended
            return false;
        }
        if (quiet_deliveries_ > 0) {
            --quiet_deliveries_;
            return false;
        }
        if (repeats_left_ > 0) {
            --repeats_left_;
            press(repeated_key_);
            return false;
        }
        const int first = next_byte();
        if (first < 0) {
            return false;
        }
        switch (action_of(first)) {
        case action::nothing:
            return off;
        case action::panel_key:
            press(panel_key(byte_or(0)));
            break;
        case action::turn:
            repeated_key_ = panel_key(byte_or(0));
            repeats_left_ = static_cast<uint32_t>(byte_or(0) % 64);
            press(repeated_key_);
            break;
        case action::any_code:
            press(static_cast<uint8_t>(byte_or(0)));
            break;
        case action::two_keys:
            press(panel_key(byte_or(0)));
            press(panel_key(byte_or(0)));
            break;
        case action::volts_set:
            raw_volts_adc = count_from_two_bytes();
            break;
        case action::volts_nudge:
            raw_volts_adc = nudged(raw_volts_adc);
            break;
        case action::amps_set:
            raw_amps_adc = count_from_two_bytes();
            break;
        case action::amps_nudge:
            raw_amps_adc = nudged(raw_amps_adc);
            break;
        case action::pause:
            quiet_deliveries_ = 1 + static_cast<uint32_t>(byte_or(0) % 64);
            break;
        case action::minute_pause:
            if (byte_or(255) < 64) {
                quiet_deliveries_ = MINUTE_OF_DELIVERIES;
            }
            break;
        case action::stall:
            for (int n = byte_or(0) % 32; n > 0; --n) {
                one_tick();
            }
            break;
        case action::calibrate_box:
            calibrate_box_ = !calibrate_box_;
            break;
        case action::key_fast_box:
            key_fast_box_ = !key_fast_box_;
            break;
        case action::set_point:
            set_point(byte_or(0) % 3);
            break;
        case action::off:
            engine_.power_off();
            break;
        case action::on:
            // A second ON while running is rarer than the first.
            return off || byte_or(255) < 32;
        }
        return false;
    }

    int next_byte() {
        const int b = source_.next();
        if (b < 0) {
            exhausted_ = true;
        }
        return b;
    }
    int byte_or(int fallback) {
        const int b = next_byte();
        return b < 0 ? fallback : b;
    }

    // A slider position 0..4096, as far as the mouse can drag it.
    uint32_t count_from_two_bytes() {
        const int high = byte_or(0);
        const int low = byte_or(0);
        return static_cast<uint32_t>((high << 8 | low) % 4097);
    }
    // A small move by keyboard or mouse, -128..127 counts, held inside the slider's range.
    uint32_t nudged(uint32_t count) {
        const int moved = static_cast<int>(count) + byte_or(128) - 128;
        return static_cast<uint32_t>(moved < 0 ? 0 : (moved > 4096 ? 4096 : moved));
    }

    static uint8_t panel_key(int byte) {
        static constexpr uint8_t keys[8] = {KEY_SELECT, KEY_CW,    KEY_CW,    KEY_CCW,
                                            KEY_LEFT,   KEY_RIGHT, KEY_RIGHT, KEY_SELECT};
        return keys[byte % 8];
    }

    void press(uint8_t code) {
        ++stats_.keys;
        key_pressed(code);
    }

    void one_tick() {
        ++stats_.ticks;
        tick();
    }

    void set_point(int which) {
        ++stats_.points_set;
        uint32_t* const points[3] = {&cal_zero_adc, &cal_charge_adc, &cal_discharge_adc};
        *points[which] = amps_adc;
    }

    void check_invariants(screen_routine shown) {
        findings broken;
        auto within = [&](const char* name, uint32_t value, uint32_t low, uint32_t high) {
            if (value < low || value > high) {
                broken << name << " " << value << " outside " << low << ".." << high << "; ";
            }
        };
        within("contrast", contrast, 0, 57);
        within("shunt_amps", shunt_amps, 5, 500);
        within("bar_scale_amps", bar_scale_amps, 5, 500);
        if (shunt_amps % 5 != 0 || bar_scale_amps % 5 != 0) {
            broken << "shunt_amps " << shunt_amps << " / bar_scale_amps " << bar_scale_amps
                   << " not in steps of 5; ";
        }
        within("low_alarm_dv", low_alarm_dv, 80, 300);
        within("high_alarm_dv", high_alarm_dv, 80, 300);
        within("volt_cal_percent", volt_cal_percent, 50, 150);
        within("display_mode", display_mode, 0, 2);
        within("cycle_time_index", cycle_time_index, 0, 6);
        within("edit_mode", edit_mode, 0, 1);
        within("backlight_on", backlight_on, 0, 1);
        within("language", language, 0, 1);
        within("auto_cycle", auto_cycle, 0, 1);
        within("volt_alarm_enabled", volt_alarm_enabled, 0, 1);
        within("amps_page", amps_page, 0, 1);
        within("blink_phase", blink_phase, 0, 1);
        within("blink_ticks", blink_ticks, 0, 10);
        within("step_ticks", step_ticks, 0, 19);
        within("idle_countdown", idle_countdown, 0, 30);
        within("volts_adc", volts_adc, 0, 4096);
        within("amps_adc", amps_adc, 0, 4096);
        if (shunt_millivolts != 50) {
            broken << "shunt_millivolts " << shunt_millivolts << " is not the 50 mV shunt; ";
        }
        if (pending_key != 0) {
            broken << "pending_key " << int(pending_key) << " left in the slot; ";
        }
        if ((volt_alarm & ~1u) != 0 || (alarm_ack & ~1u) != 0) {
            broken << "volt_alarm " << int(volt_alarm) << " / alarm_ack " << int(alarm_ack)
                   << " use more than bit 0; ";
        }
        if ((alarm_ack & 1u) != 0 && (volt_alarm & 1u) == 0) {
            broken << "an alarm is acknowledged that is not raised; ";
        }
        if (calibrate_enabled != (calibrate_box_ ? 1 : 0)) {
            broken << "calibrate_enabled " << int(calibrate_enabled)
                   << " does not follow the Calibrate box; ";
        }
        if (key_step != (key_fast_box_ ? 10 : 1)) {
            broken << "key_step " << int(key_step) << " does not follow the KeyFast box; ";
        }
        if (peak_volts_dv < volts_dv || peak_charge_da < 0 || peak_discharge_da > 0) {
            broken << "peaks " << peak_volts_dv << " dV / " << peak_charge_da << " dA / "
                   << peak_discharge_da << " dA do not bound the readings; ";
        }
        check_screen(broken);
        const std::string what = broken.str();
        previous_screen_ = active_screen;
        previous_cursor_ = menu_cursor;
        if (!what.empty()) {
            fail(what + "(after a pass of screen_" + screen_name(shown) + ")");
        }
    }

    // The cursor and edit state of the screen that the next pass draws.
    void check_screen(findings& broken) {
        const screen_routine screen = active_screen;
        if (screen_index(screen) < 0) {
            broken << "active_screen is not one of the nine; ";
            return;
        }
        uint8_t last_row = 0;
        bool uses_cursor = true;
        uint8_t first_setting = 0, last_setting = 0; // rows that may be edited
        if (screen == screen_display_setup) {
            last_row = display_mode == 0 ? 4 : (auto_cycle != 0 ? 6 : 5);
            first_setting = 2;
            last_setting = 6;
        } else if (screen == screen_battery_setup) {
            last_row = volt_alarm_enabled == 1 ? 5 : 3;
            first_setting = 1;
            last_setting = 5;
        } else if (screen == screen_calibrate) {
            last_row = 4;
            first_setting = 1;
            last_setting = 1;
        } else if (screen == screen_adc_values || screen == screen_contrast) {
            last_row = 0;
        } else if (screen == screen_menu) {
            last_row = calibrate_enabled == 1 ? 4 : 2;
            // Calibration locked again on item 3 or 4: the item stays until a backward key,
            // and leaving the ADC values or the calibration list opens it too.
            const bool stranded =
                menu_cursor <= 4 &&
                ((previous_screen_ == screen_menu && menu_cursor <= previous_cursor_) ||
                 (previous_screen_ == screen_adc_values && menu_cursor == 3) ||
                 (previous_screen_ == screen_calibrate && menu_cursor == 4));
            if (menu_cursor > last_row && stranded) {
                last_row = menu_cursor;
            }
        } else {
            uses_cursor = false; // the main display, the peaks and the message
        }
        if (uses_cursor && menu_cursor > last_row) {
            broken << "menu_cursor " << int(menu_cursor) << " beyond the last row " << int(last_row)
                   << "; ";
        }
        const bool list = screen == screen_display_setup || screen == screen_battery_setup ||
                          screen == screen_calibrate;
        if (list && edit_mode == 1 && (menu_cursor < first_setting || menu_cursor > last_setting)) {
            broken << "editing on row " << int(menu_cursor) << ", which holds no setting; ";
        }
        if (screen == screen_contrast && return_screen != screen_main &&
            return_screen != screen_display_setup) {
            broken << "the contrast screen would return to " << screen_name(return_screen) << "; ";
        }
        if (screen == screen_message && return_screen != screen_calibrate) {
            broken << "the message screen would return to " << screen_name(return_screen) << "; ";
        }
    }

    [[noreturn]] void fail(const std::string& what) {
        std::ostringstream message;
        message << what << "\n  at pass " << stats_.passes << ", run depth " << engine_.depth()
                << "\n  state: active " << screen_name(active_screen) << ", return "
                << screen_name(return_screen) << ", menu_cursor " << int(menu_cursor)
                << ", edit_mode " << int(edit_mode) << ", pending_key " << int(pending_key)
                << ", calibrate_enabled " << int(calibrate_enabled) << ", display_mode "
                << int(display_mode) << ", auto_cycle " << int(auto_cycle)
                << ", volt_alarm_enabled " << int(volt_alarm_enabled) << "\n  inputs: volts "
                << raw_volts_adc << " (" << volts_dv << " dV), amps " << raw_amps_adc
                << " (filtered " << amps_adc << "), calibration " << cal_zero_adc << " / "
                << cal_charge_adc << " / " << cal_discharge_adc;
        throw walk_broken{message.str()};
    }

    event_source& source_;
    const uint64_t max_passes_;
    walk_stats& stats_;
    front_panel engine_{*this};
    virtual_clock clock_{[this] { one_tick(); }};
    bool exhausted_ = false;
    bool calibrate_box_ = false;
    bool key_fast_box_ = false;
    uint32_t quiet_deliveries_ = 0;
    uint8_t repeated_key_ = 0;
    uint32_t repeats_left_ = 0;
    screen_routine previous_screen_ = nullptr;
    uint8_t previous_cursor_ = 0;
};

} // namespace

std::string walk_firmware(event_source& source, uint64_t max_passes, walk_stats& stats) {
    program_start_state();
    walker walk(source, max_passes, stats);
    try {
        walk.play();
    } catch (const walk_broken& broken) {
        return broken.what;
    }
    return {};
}

std::string describe(const walk_stats& stats) {
    std::ostringstream out;
    out << stats.passes << " passes in " << stats.runs << " runs (" << stats.nested_runs
        << " nested), " << stats.splash_frames << " splash frames, " << stats.keys << " keys, "
        << stats.ticks << " ticks\n"
        << stats.inactivity_returns << " inactivity returns, " << stats.calibrate_unlocks
        << " calibration unlocks in the splash, " << stats.points_taken << " points taken, "
        << stats.points_set << " set, " << stats.division_faults << " division faults\n"
        << "passes per screen:";
    for (int i = 0; i < SCREEN_COUNT; ++i) {
        out << " screen_" << screen_list[i].name << " " << stats.screen_passes[i];
    }
    return out.str();
}
