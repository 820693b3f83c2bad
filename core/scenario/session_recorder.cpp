#include "scenario/session_recorder.h"

#include <optional>
#include <sstream>

#include "engine/timing.h"
#include "firmware/monitor/keys.h"
#include "scenario/scenario_writer.h"

namespace txm9 {

namespace {

// The runner's `on` lets the splash's frames and the first pass go by.
constexpr uint64_t FRAMES_OF_ON = SPLASH_FRAMES + 1;
// A key command lets two frames go by: the pass that takes the key, the one that shows it.
constexpr uint64_t FRAMES_OF_KEY = 2;

command of_kind(command_kind kind) {
    command c;
    c.kind = kind;
    return c;
}

// A wait of `amount` passes, or milliseconds while the instrument is off.
command wait_of(bool in_passes, uint64_t amount) {
    command c = of_kind(command_kind::wait);
    c.has_time = true;
    c.time = {in_passes, amount};
    return c;
}

bool is_turn(uint32_t code) {
    return code == KEY_CW || code == KEY_CCW;
}

} // namespace

void session_recorder::add(kind what, uint32_t value, bool stored, uint64_t ms, bool running,
                           int screen) {
    // A slider dragged across many counts within one pass (or one frame period while off)
    // reaches the firmware as its last count only.
    if ((what == kind::volts || what == kind::amps) && !inputs_.empty()) {
        input& last = inputs_.back();
        const bool same_moment = running ? last.running && last.frame == frames_
                                         : !last.running && ms - last.ms < FRAME_MS;
        if (last.what == what && same_moment) {
            last.value = value;
            return;
        }
    }
    inputs_.push_back({what, value, stored, running, frames_, ms, screen});
}

void session_recorder::on_clicked(uint64_t ms, bool running) {
    add(kind::on, 0, true, ms, running);
}
void session_recorder::off_clicked(uint64_t ms, bool running) {
    add(kind::off, 0, true, ms, running);
}
void session_recorder::key(uint8_t code, bool stored, uint64_t ms, bool running, int screen) {
    add(kind::key, code, stored, ms, running, screen);
}
void session_recorder::volts(uint32_t count, uint64_t ms, bool running, int screen) {
    add(kind::volts, count, true, ms, running, screen);
}
void session_recorder::amps(uint32_t count, uint64_t ms, bool running, int screen) {
    add(kind::amps, count, true, ms, running, screen);
}
void session_recorder::calibrate_box(bool ticked, uint64_t ms, bool running, int screen) {
    add(kind::calibrate, ticked ? 1 : 0, true, ms, running, screen);
}
void session_recorder::key_fast_box(bool ticked, uint64_t ms, bool running, int screen) {
    add(kind::key_fast, ticked ? 1 : 0, true, ms, running, screen);
}

std::string session_recorder::scenario_text(uint64_t ms, bool running, const std::string& screen,
                                            const std::string& text) const {
    std::ostringstream out;
    out << "# A session at the front panel, saved as a scenario. While the instrument runs the\n"
        << "# waits count passes (and splash frames), so each input reaches the frame it reached\n"
        << "# at the window.\n\n";
    // Where the replay stands after the last command: a frame while running, a time while off.
    uint64_t at_frame = 0;
    uint64_t at_ms = 0;
    bool was_running = false;
    auto catch_up = [&](bool now_running, uint64_t frame, uint64_t now_ms) {
        if (now_running && was_running) {
            if (frame > at_frame) {
                out << command_text(wait_of(true, frame - at_frame)) << "\n";
            }
        } else if (!now_running && now_ms > at_ms) {
            out << command_text(wait_of(false, now_ms - at_ms)) << "\n";
        }
        at_frame = frame;
        at_ms = now_ms;
        was_running = now_running;
    };
    // Frames from input i until the next input of the same run, or until the session was
    // saved while that run goes on; none when the run ends first (by a fault).
    auto frames_after = [&](std::size_t i) -> std::optional<uint64_t> {
        if (i + 1 < inputs_.size()) {
            const input& next = inputs_[i + 1];
            return next.running ? std::optional(next.frame - inputs_[i].frame) : std::nullopt;
        }
        return running ? std::optional(frames_ - inputs_[i].frame) : std::nullopt;
    };

    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        const input& in = inputs_[i];
        catch_up(in.running, in.frame, in.ms);
        switch (in.what) {
        case kind::on: {
            // The replay's `on` lets the splash and the first pass go by; an input before
            // then stops it there.
            const std::optional<uint64_t> until = frames_after(i);
            command on = of_kind(command_kind::on);
            if (until && *until < FRAMES_OF_ON) {
                on.has_time = true;
                on.time = {false, *until * FRAME_MS};
                at_frame += *until;
            } else {
                at_frame += FRAMES_OF_ON;
            }
            out << command_text(on) << "\n";
            was_running = true;
            break;
        }
        case kind::off:
            out << command_text(of_kind(command_kind::off)) << "\n";
            break;
        case kind::key: {
            // Turns one pass after another are one command.
            uint32_t turns = 1;
            while (is_turn(in.value) && in.stored && i + turns < inputs_.size()) {
                const input& more = inputs_[i + turns];
                if (more.what != kind::key || more.value != in.value || !more.running ||
                    !more.stored || more.frame != in.frame + turns) {
                    break;
                }
                ++turns;
            }
            i += turns - 1;
            command key = of_kind(is_turn(in.value) ? command_kind::turn : command_kind::press);
            // A code no key has (0) is written as such: "press ?".
            key.key = in.value <= UINT8_MAX ? static_cast<uint8_t>(in.value) : 0;
            key.count = turns;
            if (in.running) {
                // A key lets two frames go by, unless the next input comes sooner.
                at_frame += turns - 1;
                const std::optional<uint64_t> until = frames_after(i);
                if (until && *until < FRAMES_OF_KEY) {
                    key.has_time = true;
                    key.time = {true, *until};
                    at_frame += *until;
                } else {
                    at_frame += FRAMES_OF_KEY;
                }
            }
            out << command_text(key);
            if (!in.stored) {
                out << "   # lost: the key slot was full";
            }
            out << "\n";
            break;
        }
        case kind::volts:
        case kind::amps: {
            command slider =
                of_kind(in.what == kind::volts ? command_kind::volts : command_kind::amps);
            slider.count = in.value;
            out << command_text(slider) << "\n";
            break;
        }
        case kind::calibrate:
        case kind::key_fast: {
            command box = of_kind(in.what == kind::calibrate ? command_kind::calibrate_box
                                                             : command_kind::key_fast_box);
            box.flag = in.value != 0;
            out << command_text(box) << "\n";
            break;
        }
        }
    }
    catch_up(running, frames_, ms);
    out << "\n# What the display showed when the session was saved.\n";
    command screen_shown = of_kind(command_kind::expect_screen);
    screen_shown.name = screen;
    out << command_text(screen_shown) << "\n";
    if (!text.empty()) {
        command text_shown = of_kind(command_kind::expect_text);
        text_shown.text = text;
        out << command_text(text_shown) << "\n";
    }
    return out.str();
}

} // namespace txm9
