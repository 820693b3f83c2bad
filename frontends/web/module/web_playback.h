// A scenario played on the page's front panel, for a demonstration or to watch a test happen:
// the page's own controls take every input (a key or the knob shows pressed, the sliders and
// boxes move, ON and OFF press), time passes at the speed chosen beside the panel, and each
// expectation's result shows in the panel's status bar without stopping the play. Any input
// from a person stops it and hands the panel over as the scenario left it.
//
// While it plays, the panel keeps instrument time as the runner does, so that a scenario ends
// with the same frame as txm9-scenario gives: 25 ms a frame, the tick every fourth frame and
// every 100 ms of the time waited while off, rather than from the page's Timer1.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "panel/panel_session.h"
#include "scenario/play_observer.h"
#include "scenario/scenario_player.h"
#include "web_controls.h"

namespace txm9 {

class web_playback final : public web_controls, public play_observer, public play_frames {
public:
    web_playback();

    // Reads `text`; a mistake is "playground.scenario:LINE:COLUMN: message" and nothing plays.
    std::optional<std::string> load(std::string_view text);
    // From program start (the instrument must be off), plays until the instrument is off and
    // the play waits for time to pass, or is over.
    void start();
    // Once the wait is over on the page's clock: the play goes on.
    void resume();
    // Someone took the panel over: no command runs any more, the run goes on.
    void stop();

    // Instrument milliseconds until the play goes on, while it waits with the instrument off.
    std::optional<uint64_t> wait_ms() const;
    // The play is over: its last line is done, it cannot go on, or it was stopped.
    bool finished() const;
    // Once finished: writes its screenshots and gives the outcome.
    scenario_outcome conclude();
    // The line of the command carried out last; 0 before the first.
    int line() const;

    // play_frames: the page's frames while it plays.
    void shown(const frame_report& frame) override;
    void delivered() override;

    // The play's own instrument time.
    uint64_t now_ms() const override;

    // play_observer: results into the status bar.
    void expectation_checked(const command& c, bool passed, const std::string& failure) override;

private:
    void hand_over();

    std::unique_ptr<scenario> script_;
    player_options options_;
    std::unique_ptr<scenario_player> player_;
    bool watching_ = false;
    int passed_ = 0;
    int failed_ = 0;
};

} // namespace txm9
