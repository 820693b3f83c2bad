// The runner's panel: the firmware's inputs set directly, the engine run with a virtual
// clock (a frame every 25 ms of instrument time, Timer1's tick every 100 ms of it, time while
// off passing at once), as fast as the processor allows.
#include "engine/front_panel.h"
#include "engine/panel_colours.h"
#include "engine/program_start.h"
#include "engine/virtual_clock.h"
#include "firmware/monitor/key_input.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/tick.h"
#include "scenario/scenario_player.h"

namespace txm9 {

namespace {

// Ends a play that failed from wherever it is, nested runs included.
struct play_over {};

class headless_panel : public scenario_panel, public panel_frontend {
public:
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

    void show_frame(const frame_report& frame) override { player_->frame_shown(frame); }
    void set_lamp(uint32_t colour) override { lamp_lit_ = colour == COLOUR_LAMP_LIT; }
    bool calibrate_ticked() override { return calibrate_box_; }
    bool key_fast_ticked() override { return key_fast_box_; }
    void tick_calibrate() override { calibrate_box_ = true; }

    void deliver_events() override {
        clock_.deliver();
        player_->frame_delivered();
        if (player_->finished() && player_->outcome().status != outcome_status::passed) {
            throw play_over{};
        }
    }

    scenario_outcome play(const scenario& script, const player_options& options) {
        scenario_player player(script, options, *this);
        player_ = &player;
        try {
            player.start();
            // Time the play waits for while the instrument is off passes at once.
            while (const std::optional<uint64_t> at = player.resume_at()) {
                clock_.advance_to(*at);
                player.resume();
            }
        } catch (const play_over&) {
        }
        return player.conclude();
    }

private:
    scenario_player* player_ = nullptr;
    front_panel engine_{*this};
    virtual_clock clock_{tick};
    bool calibrate_box_ = false;
    bool key_fast_box_ = false;
    bool lamp_lit_ = true; // pure red until the first pass sets it
};

} // namespace

scenario_outcome play_scenario(const scenario& script, const player_options& options) {
    program_start_state();
    return headless_panel().play(script, options);
}

} // namespace txm9
