// A scenario's play seen from outside, for a collector that watches the instrument without
// touching it (the coverage of a suite): the command being carried out, every frame shown,
// the state between two frames once their events have been delivered, and how each run ended.
#pragma once

#include <string>

#include "engine/front_panel.h"
#include "scenario/scenario.h"

namespace txm9 {

class play_observer {
public:
    virtual ~play_observer() = default;
    // A scenario starts from program start.
    virtual void scenario_started(const scenario&) {}
    // A command is about to be carried out; what follows until the next one is its doing.
    virtual void command_started(const command&) {}
    // A splash frame or a pass has been drawn; lcd_buffer holds it.
    virtual void frame_shown(const frame_report&, const front_panel&) {}
    // The events after a frame have been delivered: what the next pass will find.
    virtual void events_delivered(const front_panel&) {}
    // A powered-on run has ended, by OFF or by the firmware's fault.
    virtual void run_ended(const run_end&) {}
    // An expectation (or a text waited for) has been checked; `failure` says what failed.
    virtual void expectation_checked(const command&, bool /*passed*/,
                                     const std::string& /*failure*/) {}
};

} // namespace txm9
