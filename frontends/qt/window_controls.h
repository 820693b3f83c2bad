// A scenario's inputs played through the window's own controls, as a person would give them:
// the keys through their click areas, the sliders and boxes moved, ON and OFF shown pressed.
// A play on the panel and a program driving it over the control socket both use them; each
// keeps its own instrument time (now_ms).
#pragma once

#include "scenario/scenario_panel.h"

class TForm1;

class WindowControls : public txm9::scenario_panel {
public:
    explicit WindowControls(TForm1& form) : form_(form) {}

    void press(uint8_t key) override;
    void set_volts(uint32_t count) override;
    void set_amps(uint32_t count) override;
    void set_calibrate(bool ticked) override;
    void set_key_fast(bool ticked) override;
    txm9::run_end switch_on() override;
    void switch_off() override;
    bool lamp_lit() const override;
    const txm9::front_panel& engine() const override;

protected:
    TForm1& form_;
};
