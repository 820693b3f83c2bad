// Carrying out the commands that work the panel, and the waits that let instrument time pass
// after them.
#include <string>

#include "lcd_reader/lcd_text_reader.h"
#include "scenario/message_text.h"
#include "scenario/play_observer.h"
#include "scenario/scenario_player_impl.h"
#include "scenario/slider_counts.h"

namespace txm9 {

namespace {

// An ON inside a run nests the whole run; deeper than this a scenario is surely a mistake.
constexpr int MOST_NESTED_RUNS = 8;

std::string tenths(int64_t v, const char* unit) {
    const int64_t m = v < 0 ? -v : v;
    return (v < 0 ? "-" : "") + std::to_string(m / 10) + "." + std::to_string(m % 10) + " " + unit;
}

} // namespace

void scenario_player::impl::execute(const command& c) {
    if (options_.observer != nullptr) {
        options_.observer->command_started(c);
    }
    switch (c.kind) {
    case command_kind::on:
        switch_on(c);
        break;
    case command_kind::off:
        if (panel_.engine().phase() == panel_phase::splash) {
            outcome_.notices.push_back(where(c) + "OFF during the splash is forgotten, as on the "
                                                  "instrument");
        }
        panel_.switch_off();
        break;
    case command_kind::press:
        panel_.press(c.key);
        if (running()) {
            after_key(c);
        }
        break;
    case command_kind::turn:
        panel_.press(c.key);
        if (!running()) {
            for (uint32_t n = 1; n < c.count; ++n) {
                panel_.press(c.key);
            }
        } else if (c.count > 1) {
            wait_ = waiting::turning;
            turning_ = &c;
            turns_left_ = c.count - 1;
        } else {
            after_key(c);
        }
        break;
    case command_kind::volts:
    case command_kind::amps:
        move_slider(c);
        break;
    case command_kind::calibrate_box:
        panel_.set_calibrate(c.flag);
        break;
    case command_kind::key_fast_box:
        panel_.set_key_fast(c.flag);
        break;
    case command_kind::wait:
        wait_ = running() ? waiting::until_ms : waiting::off_time;
        until_ms_ = panel_.now_ms() + ms_of(c.time);
        break;
    case command_kind::wait_until_text:
        if (screen_shows(c.text)) {
            passed(c);
            break;
        }
        if (!running()) {
            fail(c, "\"" + cut_for_message(c.text, 60) +
                        "\" is not on the display, and the instrument is off");
            break;
        }
        wait_ = waiting::text;
        waiting_for_ = &c;
        until_ms_ = panel_.now_ms() + ms_of(c.time);
        break;
    case command_kind::screenshot:
    case command_kind::print:
        check(c);
        break;
    default: {
        const int failed_before = outcome_.failed;
        check(c);
        if (outcome_.failed == failed_before) {
            passed(c);
        }
        break;
    }
    }
}

void scenario_player::impl::switch_on(const command& c) {
    if (panel_.engine().depth() >= MOST_NESTED_RUNS) {
        cannot_run(c, "more than " + std::to_string(MOST_NESTED_RUNS) + " nested runs");
    }
    if (c.has_time) {
        wait_ = waiting::until_ms;
        until_ms_ = panel_.now_ms() + ms_of(c.time);
    } else {
        wait_ = waiting::splash_over;
    }
    const run_end end = panel_.switch_on();
    if (options_.observer != nullptr) {
        options_.observer->run_ended(end);
    }
    if (stopped_) {
        return; // the play ended during the run
    }
    if (end.faulted) {
        last_fault_ = end.fault;
        // Named at the command last carried out, the one whose time saw the fault.
        outcome_.notices.push_back(where(script_.commands[at_ - 1]) +
                                   "the run ended with the instrument's fault \"" + end.fault +
                                   "\"");
    }
    if (!running()) {
        finish_wait_while_off();
    }
}

void scenario_player::impl::move_slider(const command& c) {
    const bool volts = c.kind == command_kind::volts;
    uint32_t count = c.count;
    if (c.has_value) {
        const count_for_value found =
            volts ? volts_count(c.value, running()) : amps_count(c.value, running());
        if (!found.reachable) {
            const char* unit = volts ? "V" : "A";
            cannot_run(c, "no count reads " + tenths(c.value, unit) + "; the nearest is " +
                              tenths(found.nearest, unit) + " at count " +
                              std::to_string(found.count));
        }
        count = found.count;
    }
    if (volts) {
        panel_.set_volts(count);
    } else {
        panel_.set_amps(count);
    }
}

// On each delivery while a command waits: whether it is done.
bool scenario_player::impl::wait_over() {
    switch (wait_) {
    case waiting::none:
        return true;
    case waiting::until_ms:
        if (panel_.now_ms() < until_ms_) {
            return false;
        }
        break;
    case waiting::frames:
        if (--frames_left_ > 0) {
            return false;
        }
        break;
    case waiting::splash_over:
        if (panel_.engine().phase() != panel_phase::running ||
            panel_.engine().passes_since_on() == 0) {
            return false;
        }
        break;
    case waiting::text:
        if (!screen_shows(waiting_for_->text)) {
            if (panel_.now_ms() < until_ms_) {
                return false;
            }
            fail(*waiting_for_, "\"" + cut_for_message(waiting_for_->text, 60) +
                                    "\" did not show within " +
                                    format_ms(ms_of(waiting_for_->time)));
        } else {
            passed(*waiting_for_);
        }
        break;
    case waiting::turning:
        panel_.press(turning_->key);
        if (--turns_left_ > 0) {
            return false;
        }
        after_key(*turning_);
        return wait_ == waiting::none;
    case waiting::off_time:
        return false;
    }
    wait_ = waiting::none;
    return true;
}

// After a key while the instrument runs: two frames (the pass that takes it, the one that
// shows it), or the time the command gives, none at all for another key at once.
void scenario_player::impl::after_key(const command& c) {
    wait_ = waiting::none;
    if (!c.has_time) {
        wait_for_frames(2);
    } else if (const uint64_t ms = ms_of(c.time); ms > 0) {
        wait_ = waiting::until_ms;
        until_ms_ = panel_.now_ms() + ms;
    }
}

void scenario_player::impl::wait_for_frames(uint64_t frames) {
    wait_ = waiting::frames;
    frames_left_ = frames;
}

// A wait that a run's end cut short goes on with the instrument off.
void scenario_player::impl::finish_wait_while_off() {
    switch (wait_) {
    case waiting::until_ms:
        wait_ = waiting::off_time;
        return;
    case waiting::frames:
        wait_ = waiting::off_time;
        until_ms_ = panel_.now_ms() + frames_left_ * FRAME_MS;
        return;
    case waiting::text:
        wait_ = waiting::none;
        fail(*waiting_for_, "the instrument went off before \"" +
                                cut_for_message(waiting_for_->text, 60) + "\" showed");
        return;
    default:
        wait_ = waiting::none;
        return;
    }
}
} // namespace txm9
