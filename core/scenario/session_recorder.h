// Writes what a person did at the window as a scenario that txm9-scenario replays: every ON,
// OFF, key (a lost one too), turn, slider move and check box since the program started, with
// the waits between them, and a first expectation of the final display. Time is counted in
// frames while the instrument runs (the splash frames and passes between two inputs) and in
// milliseconds while it is off, so that the replay gives each input to the frame it reached
// at the window, across pauses, steps, speeds, keys in the splash and nested runs. Only the
// tick may fall elsewhere: the window's follows the desktop's clock (at life speed), the
// replay's instrument time, so the blink phase, the automatic pages and the inactivity return
// can come a few frames apart.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace txm9 {

class session_recorder {
public:
    // A splash frame or a pass was shown.
    void frame_shown() { ++frames_; }
    // `ms` of real time since program start while the instrument is off; `running` whether a
    // run is in progress when the input comes and goes on (not one that an OFF just ended).
    void on_clicked(uint64_t ms, bool running);
    void off_clicked(uint64_t ms, bool running);
    // A key; `stored` whether it found the slot empty (a second key in the same pass is lost);
    // `screen`, here and for a slider or box, the place in screen_list of the screen it came
    // to (-1: none), so that a replay through other firmware can tell where it parts from the
    // session.
    void key(uint8_t code, bool stored, uint64_t ms, bool running, int screen = -1);
    void volts(uint32_t count, uint64_t ms, bool running, int screen = -1);
    void amps(uint32_t count, uint64_t ms, bool running, int screen = -1);
    void calibrate_box(bool ticked, uint64_t ms, bool running, int screen = -1);
    void key_fast_box(bool ticked, uint64_t ms, bool running, int screen = -1);

    // The session until now (`ms`, `running` as for an input) as scenario text, ending with
    // `expect screen SCREEN` and, if not empty, `expect text "TEXT"`.
    std::string scenario_text(uint64_t ms, bool running, const std::string& screen,
                              const std::string& text) const;

    enum class kind : uint8_t { on, off, key, volts, amps, calibrate, key_fast };
    struct input {
        kind what;
        uint32_t value; // key code, count, or box state
        bool stored;
        bool running;    // a run was in progress
        uint64_t frame;  // frames shown before it
        uint64_t ms;     // real time, for inputs while off
        int screen = -1; // for a key, slider or box, the screen it came to; -1 unknown
    };
    // The inputs in the order given, and the frames shown until now: what a program that
    // takes the session over replays and goes on recording from.
    const std::vector<input>& inputs() const { return inputs_; }
    uint64_t frames() const { return frames_; }
    void restore(std::vector<input> inputs, uint64_t frames) {
        inputs_ = std::move(inputs);
        frames_ = frames;
    }

private:
    void add(kind what, uint32_t value, bool stored, uint64_t ms, bool running, int screen = -1);

    std::vector<input> inputs_;
    uint64_t frames_ = 0;
};

} // namespace txm9
