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
#include "scenario/play_journal.h"
#include "scenario/scenario_player.h"

namespace txm9 {

namespace {

// Ends a play that failed from wherever it is, nested runs included.
struct play_over {};

class headless_panel : public scenario_panel, public panel_frontend {
public:
    explicit headless_panel(play_journal* journal) : journal_(journal) {}

    void press(uint8_t key) override {
        if (journal_ != nullptr) {
            journal_->key(key);
        }
        key_pressed(key);
    }
    void set_volts(uint32_t count) override {
        if (journal_ != nullptr) {
            journal_->volts(count);
        }
        raw_volts_adc = count;
    }
    void set_amps(uint32_t count) override {
        if (journal_ != nullptr) {
            journal_->amps(count);
        }
        raw_amps_adc = count;
    }
    void set_calibrate(bool ticked) override {
        if (journal_ != nullptr) {
            journal_->calibrate(ticked);
        }
        calibrate_box_ = ticked;
    }
    void set_key_fast(bool ticked) override {
        if (journal_ != nullptr) {
            journal_->key_fast(ticked);
        }
        key_fast_box_ = ticked;
    }
    run_end switch_on() override {
        if (journal_ != nullptr) {
            journal_->on();
        }
        run_end end = engine_.power_on();
        if (journal_ != nullptr) {
            journal_->run_ended(end);
        }
        return end;
    }
    void switch_off() override {
        if (journal_ != nullptr) {
            journal_->off();
        }
        engine_.power_off();
    }
    bool lamp_lit() const override { return lamp_lit_; }
    const front_panel& engine() const override { return engine_; }
    uint64_t now_ms() const override { return clock_.now_ms(); }

    void show_frame(const frame_report& frame) override {
        if (journal_ != nullptr) {
            journal_->frame(player_->line(), lamp_lit_);
        }
        player_->frame_shown(frame);
    }
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
        if (journal_ != nullptr) {
            journal_->delivered();
        }
    }

    scenario_outcome play(const scenario& script, const player_options& options) {
        scenario_player player(script, options, *this);
        player_ = &player;
        if (journal_ != nullptr) {
            journal_->scenario(script.file);
        }
        try {
            player.start();
            // Time the play waits for while the instrument is off passes at once.
            while (const std::optional<uint64_t> at = player.resume_at()) {
                if (journal_ != nullptr) {
                    journal_->off_time(*at);
                }
                clock_.advance_to(*at);
                player.resume();
            }
        } catch (const play_over&) {
        }
        return player.conclude();
    }

private:
    play_journal* journal_;
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
    return headless_panel(options.journal).play(script, options);
}

} // namespace txm9
