// The front panel a scenario plays on, as its player sees it: where its inputs go and where
// its time comes from. The headless runner sets the firmware's inputs itself and keeps a
// virtual clock; the window presses its own controls, as a person would, on its own pace.
#pragma once

#include <cstdint>

#include "engine/front_panel.h"

namespace txm9 {

class scenario_panel {
public:
    virtual ~scenario_panel() = default;

    // A key, or one turn of the knob: KEY_SELECT .. KEY_RIGHT.
    virtual void press(uint8_t key) = 0;
    // The two sliders, in converter counts 0..4096.
    virtual void set_volts(uint32_t count) = 0;
    virtual void set_amps(uint32_t count) = 0;
    // The Calibrate and KeyFast check boxes.
    virtual void set_calibrate(bool ticked) = 0;
    virtual void set_key_fast(bool ticked) = 0;
    // ON: returns once the run it starts has ended, by OFF or by the firmware's fault. While
    // it runs, the panel hands each frame to the player (frame_shown, frame_delivered).
    virtual run_end switch_on() = 0;
    // OFF: the running loop stops before its next pass.
    virtual void switch_off() = 0;
    // Whether the alarm lamp is lit now.
    virtual bool lamp_lit() const = 0;
    // The running order the panel plays, for its phase and its runs.
    virtual const front_panel& engine() const = 0;
    // Instrument time since program start, in milliseconds: 25 for every frame shown, and
    // whatever passed while the instrument was off.
    virtual uint64_t now_ms() const = 0;
};

} // namespace txm9
