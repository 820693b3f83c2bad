#include "engine/front_panel.h"

#include "engine/panel_colours.h"
#include "firmware/monitor/main_loop.h"
#include "firmware/monitor/power_on.h"
#include "firmware/monitor/splash.h"

#if __cpp_exceptions
#include "firmware/board/floating_point_error.h"
#endif

namespace txm9 {

namespace {

// A run in progress for as long as it exists: the depth and the phase of the run it
// interrupted come back however the run ends, a fault or an exception of the frontend's.
class run_scope {
public:
    run_scope(int& depth, panel_phase& phase) : depth_(depth), phase_(phase), outer_(phase) {
        ++depth_;
    }
    ~run_scope() {
        --depth_;
        phase_ = depth_ == 0 ? panel_phase::off : outer_;
    }
    run_scope(const run_scope&) = delete;
    run_scope& operator=(const run_scope&) = delete;

private:
    int& depth_;
    panel_phase& phase_;
    panel_phase outer_;
};

} // namespace

run_end front_panel::power_on() {
    run_scope run(depth_, phase_);
    passes_since_on_ = 0;
    frames_since_on_ = 0;
#if __cpp_exceptions
    try {
        run_until_off();
    } catch (const floating_point_error& fault) {
        // The one fault the firmware raises ends this run where it was; the display and the
        // lamp keep what they last showed.
        return {true, fault.what()};
    }
#else
    // A microcontroller's board halts on the fault itself: fpu_fault does not come back.
    run_until_off();
#endif
    return {};
}

void front_panel::run_until_off() {
    power_on_reset();
    phase_ = panel_phase::splash;
    play_splash();
    power_on_finish();
    phase_ = panel_phase::running;
    while (power_off_request == 0) {
        main_loop_pass();
    }
}

void front_panel::power_off() {
    power_off_request = 1;
}

void front_panel::play_splash() {
    uint8_t frames_left = SPLASH_FRAMES;
    splash_motion motion;
    // OFF is not looked at here: the power-on finish forgets an OFF clicked during the splash.
    do {
        splash_draw_frame(motion);
        ++frames_since_on_;
        frontend_.show_frame({panel_phase::splash, nullptr, false});
        frontend_.deliver_events();
        --frames_left;
        if (splash_take_keys() != 0) {
            frontend_.tick_calibrate();
        }
    } while (frames_left != 0);
}

void front_panel::main_loop_pass() {
    measure_inputs();
    sample_calibrate_switch(frontend_.calibrate_ticked() ? 1 : 0);
    const screen_routine before = active_screen;
    inactivity_return();
    const bool went_home = active_screen != before;
    drive_backlight();
    frontend_.set_lamp(drive_alarm_output() != 0 ? COLOUR_LAMP_LIT : COLOUR_LAMP_UNLIT);
    sample_key_fast_switch(frontend_.key_fast_ticked() ? 1 : 0);
    const screen_routine drawn = active_screen;
    draw_active_screen();
    ++passes_since_on_;
    ++frames_since_on_;
    frontend_.show_frame({panel_phase::running, drawn, went_home});
    frontend_.deliver_events();
}

} // namespace txm9
