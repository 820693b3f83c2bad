#include "panel/panel_session.h"

#include <exception>
#include <utility>

#include "engine/panel_colours.h"
#include "engine/program_start.h"
#include "firmware/monitor/key_input.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/tick.h"

namespace txm9 {

panel_session::panel_session(panel_frontend& frontend, std::function<double()> real_ms)
    : frontend_(frontend), real_ms_(std::move(real_ms)), start_ms_(real_ms_()) {}

panel_session::~panel_session() = default;

bool panel_session::run_goes_on() const {
    return running() && !(power_off_request != 0 && engine_.phase() == panel_phase::running);
}

uint64_t panel_session::ms_since_start() const {
    const double ms = real_ms_() - start_ms_;
    return ms > 0 ? static_cast<uint64_t>(ms) : 0;
}

void panel_session::continue_from(uint64_t ms) {
    start_ms_ = real_ms_() - static_cast<double>(ms);
}

void panel_session::program_start() {
    program_start_state();
    set_lamp(COLOUR_LAMP_LIT);
}

void panel_session::key(uint8_t code) {
    time_.input([this, code] {
        recorder_.key(code, pending_key == 0, ms_since_start(), run_goes_on(),
                      screen_index(active_screen));
        key_pressed(code);
    });
}

void panel_session::volts(uint32_t count) {
    time_.input([this, count] {
        raw_volts_adc = count;
        recorder_.volts(count, ms_since_start(), run_goes_on(), screen_index(active_screen));
    });
}

void panel_session::amps(uint32_t count) {
    time_.input([this, count] {
        raw_amps_adc = count;
        recorder_.amps(count, ms_since_start(), run_goes_on(), screen_index(active_screen));
    });
}

void panel_session::calibrate_box(bool ticked) {
    recorder_.calibrate_box(ticked, ms_since_start(), run_goes_on(), screen_index(active_screen));
}

void panel_session::key_fast_box(bool ticked) {
    recorder_.key_fast_box(ticked, ms_since_start(), run_goes_on(), screen_index(active_screen));
}

void panel_session::on_pressed() {
    // Inputs kept in a pause reach the firmware before the new run starts, and are recorded
    // so. A played scenario keeps the speed and pause it was given.
    if (!play_keeps_time()) {
        time_.reset();
    }
    recorder_.on_clicked(ms_since_start(), run_goes_on());
}

run_end panel_session::run() {
    schedule_.restart(real_ms_());
    // The firmware's fault ends the run inside the engine; anything else the frontend raised
    // ends it here, so that nothing unwinds through the frontend's event delivery.
    try {
        last_run_ = engine_.power_on();
    } catch (const std::exception& error) {
        last_run_ = {true, error.what()};
    } catch (...) {
        last_run_ = {true, "Unknown error"};
    }
    return last_run_;
}

void panel_session::power_off() {
    recorder_.off_clicked(ms_since_start(), run_goes_on());
    engine_.power_off();
}

bool panel_session::timer_runs() const {
    return !time_.paused() && !(running() && time_.frames_bring_tick()) && !play_keeps_time();
}

void panel_session::timer_tick() {
    if (timer_runs()) {
        tick();
    }
}

double panel_session::next_frame_due() {
    return next_frame_due(real_ms_());
}

double panel_session::next_frame_due(double now_ms) {
    return schedule_.next_due(now_ms, time_.frame_period_ms());
}

bool panel_session::frame_held() const {
    return time_.frame_waits();
}

void panel_session::pause_over() {
    time_.step_taken();
    schedule_.restart(real_ms_()); // the schedule starts again from the end of the pause
}

void panel_session::hand_time_to(play_frames* play) {
    play_ = play;
}

virtual_clock& panel_session::restart_play_clock() {
    play_clock_ = std::make_unique<virtual_clock>(tick);
    return *play_clock_;
}

void panel_session::show_frame(const frame_report& frame) {
    time_.frame_shown(frame.phase == panel_phase::splash);
    recorder_.frame_shown();
    frontend_.show_frame(frame);
    if (play_ != nullptr) {
        play_->shown(frame);
    }
}

void panel_session::set_lamp(uint32_t colour) {
    lamp_lit_ = colour == COLOUR_LAMP_LIT;
    frontend_.set_lamp(colour);
}

bool panel_session::calibrate_ticked() {
    return frontend_.calibrate_ticked();
}

bool panel_session::key_fast_ticked() {
    return frontend_.key_fast_ticked();
}

void panel_session::tick_calibrate() {
    frontend_.tick_calibrate();
}

void panel_session::deliver_events() {
    // What was done during a pause reaches the firmware after the pass that ended it; away
    // from life speed, and for steps, the frames bring the tick, unless a play keeps the time.
    if (time_.frame_delivery() && !play_keeps_time()) {
        tick();
    }
    frontend_.deliver_events();
    if (play_ != nullptr) {
        play_->delivered();
    }
}

} // namespace txm9
