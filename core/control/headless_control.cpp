#include "control/headless_control.h"

#include <filesystem>

#include "engine/front_panel.h"
#include "engine/panel_colours.h"
#include "engine/program_start.h"
#include "engine/virtual_clock.h"
#include "firmware/monitor/key_input.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/tick.h"

namespace txm9 {

namespace {

// The client has gone: ends the session from wherever it is, nested runs included.
struct client_gone {};

class headless_control_panel : public scenario_panel, public panel_frontend {
public:
    headless_control_panel(const next_request_line& next, const control_session::send_line& send,
                           const control_identity& who, const player_options& options)
        : next_(next),
          session_(*this, send, who, options, std::filesystem::current_path().string()) {}

    void press(uint8_t key) override { key_pressed(key); }
    void set_volts(uint32_t count) override { raw_volts_adc = count; }
    void set_amps(uint32_t count) override { raw_amps_adc = count; }
    void set_calibrate(bool ticked) override { calibrate_box_ = ticked; }
    void set_key_fast(bool ticked) override { key_fast_box_ = ticked; }
    run_end switch_on() override { return engine_.power_on(); }
    void switch_off() override { engine_.power_off(); }
    bool lamp_lit() const override { return lamp_lit_; }
    const front_panel& engine() const override { return engine_; }
    uint64_t now_ms() const override { return clock_.now_ms(); }

    void show_frame(const frame_report& frame) override { session_.frame_shown(frame); }
    void set_lamp(uint32_t colour) override { lamp_lit_ = colour == COLOUR_LAMP_LIT; }
    bool calibrate_ticked() override { return calibrate_box_; }
    bool key_fast_ticked() override { return key_fast_box_; }
    void tick_calibrate() override { calibrate_box_ = true; }

    void deliver_events() override {
        clock_.deliver();
        session_.frame_delivered();
        // The instrument stands still while the client decides what to ask next.
        while (!session_.busy()) {
            take_request();
        }
    }

    void serve() {
        session_.start();
        try {
            for (;;) {
                if (const std::optional<uint64_t> at = session_.resume_at()) {
                    clock_.advance_to(*at);
                    session_.resume();
                } else {
                    take_request();
                }
            }
        } catch (const client_gone&) {
        }
    }

private:
    void take_request() {
        std::optional<request_line> line = next_();
        if (!line) {
            throw client_gone{};
        }
        session_.receive(*line);
    }

    const next_request_line& next_;
    front_panel engine_{*this};
    virtual_clock clock_{tick};
    control_session session_;
    bool calibrate_box_ = false;
    bool key_fast_box_ = false;
    bool lamp_lit_ = true; // pure red until the first pass sets it
};

} // namespace

void serve_headless(const next_request_line& next, const control_session::send_line& send,
                    const control_identity& who, const player_options& options) {
    program_start_state();
    headless_control_panel(next, send, who, options).serve();
}

} // namespace txm9
