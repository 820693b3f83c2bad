// A scenario's inputs given through the page's own controls, as a person would give them: a
// key or the knob shown pressed, the sliders and boxes moved, ON and OFF shown pressed. A play
// on the panel and a program driving the page from the page that embeds it both use them;
// each keeps its own instrument time (now_ms).
#pragma once

#include "scenario/scenario_panel.h"

namespace txm9 {

class web_controls : public scenario_panel {
public:
    void press(uint8_t key) override;
    void set_volts(uint32_t count) override;
    void set_amps(uint32_t count) override;
    void set_calibrate(bool ticked) override;
    void set_key_fast(bool ticked) override;
    // ON as the page's button does it; the firmware's fault shows in a message box that
    // closes by itself after a while, so that nobody has to be there to close it.
    run_end switch_on() override;
    void switch_off() override;
    bool lamp_lit() const override;
    const front_panel& engine() const override;
};

} // namespace txm9
