// A session handed over by the program before a rebuild, replayed through this program's
// firmware at full speed on the panel session, which records it again: every input reaches
// the frame (or, while off, the instrument time) it reached in the session, exactly as a saved
// session replays. Each input is checked on its way: the new firmware may have moved a key,
// slider or box to another screen, or lose a key the old one stored, and from there the
// instrument no longer follows the session. The replay then stops before that input and says which
// it was; the instrument goes on live from where it stands. A fault of the firmware ends its run as
// it does for a person.
//
// The replay ends inside the run that was going on at the handover, if any: `caught_up` is
// called from there, the frontend shows the frame and goes live, and start() returns only when
// that run ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "panel/panel_session.h"
#include "panel/session_handover.h"
#include "scenario/play_observer.h"
#include "scenario/scenario.h"
#include "scenario/scenario_panel.h"
#include "scenario/scenario_player.h"

namespace txm9 {

struct replay_report {
    uint64_t passes = 0;       // main-loop passes replayed
    std::size_t inputs = 0;    // inputs replayed
    std::size_t of_inputs = 0; // inputs in the session
    // Where the replay parted from the session: the input it stopped before (numbered from 1;
    // 0 when it followed the session to its end) and why, in words.
    std::size_t parted_at = 0;
    std::string parting;
};

// "3 min 12 s", "45 s", "1 h 2 min": a session's length.
std::string session_length_words(uint64_t ms);
// 7680 as "7,680".
std::string grouped(uint64_t n);

class session_replay final : public scenario_panel, public play_frames, public play_observer {
public:
    // How the frontend's controls take an input so that they show it afterwards; each
    // defaults to the session's own call (no widgets).
    struct controls {
        std::function<run_end()> switch_on;
        std::function<void(uint32_t)> set_volts;
        std::function<void(uint32_t)> set_amps;
        std::function<void(bool)> set_calibrate;
        std::function<void(bool)> set_key_fast;
    };

    session_replay(panel_session& session, controls panel,
                   std::function<void(const replay_report&)> caught_up);
    ~session_replay() override;

    // From program start, the handed-over session's inputs through this firmware. The
    // recorder holds the session as handed over (old inputs, frames and time) once caught up.
    void start(const session_handover& handover);
    bool caught_up() const { return caught_up_; }

    // scenario_panel
    void press(uint8_t key) override;
    void set_volts(uint32_t count) override;
    void set_amps(uint32_t count) override;
    void set_calibrate(bool ticked) override;
    void set_key_fast(bool ticked) override;
    run_end switch_on() override;
    void switch_off() override;
    bool lamp_lit() const override { return session_.lamp_lit(); }
    const front_panel& engine() const override { return session_.engine(); }
    uint64_t now_ms() const override { return session_.play_clock().now_ms(); }

    // play_frames
    void shown(const frame_report& frame) override;
    void delivered() override;

    // play_observer: the display at the end of the session.
    void expectation_checked(const command& c, bool passed, const std::string& failure) override;

private:
    // Whether input number next_ is what the player is about to give; false (and the replay
    // stops) when the firmware no longer follows the session there.
    bool follows(session_recorder::kind what, const char* words);
    void part(const std::string& why);
    void catch_up();

    panel_session& session_;
    controls panel_;
    std::function<void(const replay_report&)> on_caught_up_;
    session_handover handover_;
    scenario script_;
    player_options options_;
    std::unique_ptr<scenario_player> player_;
    std::size_t next_ = 0;
    replay_report report_;
    bool caught_up_ = false;
};

} // namespace txm9
