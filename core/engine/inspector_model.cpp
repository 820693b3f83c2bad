#include "engine/inspector_model.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string_view>

#include "engine/instrument_snapshot.h"
#include "engine/instrument_variables.h"
#include "engine/panel_inputs.h"
#include "engine/timing.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"

namespace txm9 {
namespace {

enum section_index { RUN, MEASUREMENT, ALARM, SCREEN, SETTINGS, TICK, SECTION_COUNT };

std::string tenths(int64_t v, const char* unit) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%lld %s", v < 0 ? "-" : "",
                  static_cast<long long>(std::llabs(v) / 10),
                  static_cast<long long>(std::llabs(v) % 10), unit);
    return text;
}

std::string yes_no(bool on) {
    return on ? "yes" : "no";
}

std::string number(int64_t v) {
    return std::to_string(v);
}

std::string key_name(uint8_t code) {
    if (code == 0) {
        return "empty";
    }
    const int input = input_index(code);
    return input >= 0 ? number(code) + " " + panel_inputs[input].inspector : number(code);
}

// Seconds until `steps` more 2-second steps have gone by, counted from the tick phase now.
std::string seconds_after_steps(int steps) {
    const int ticks = (TICKS_PER_STEP - step_ticks) + (steps - 1) * TICKS_PER_STEP;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", ticks * static_cast<double>(TICK_MS) / 1000.0);
    return text;
}

section_index section_of(variable_group group) {
    switch (group) {
    case variable_group::settings:
    case variable_group::calibration:
        return SETTINGS;
    case variable_group::measurement:
        return MEASUREMENT;
    case variable_group::alarm:
        return ALARM;
    case variable_group::screens:
        return SCREEN;
    case variable_group::tick:
        break;
    }
    return TICK;
}

class builder {
public:
    std::vector<inspector_section> sections{{"Run", {}},
                                            {"Measurement", {}},
                                            {"Voltage alarm", {}},
                                            {"Screen", {}},
                                            {"Settings and calibration", {}},
                                            {"Tick", {}}};

    // A row of its own; `shows` names the variables it stands for.
    void add(section_index at, std::string label, std::function<std::string()> text,
             std::initializer_list<std::string_view> shows = {}) {
        covered_.insert(shows.begin(), shows.end());
        sections[at].rows.push_back({std::move(label), [text = std::move(text)] {
                                         return inspector_value{text(), false, false, {}};
                                     }});
    }

    // A setting or calibration value against the value ON loads.
    void add_setting(const char* name, std::function<std::string(int64_t)> format) {
        const instrument_variable* v = find_instrument_variable(name);
        if (v == nullptr) {
            return;
        }
        covered_.insert(name);
        int64_t factory = 0;
        const bool has_factory = factory_value(name, factory);
        sections[SETTINGS].rows.push_back({name, [v, factory, has_factory, format] {
                                               const int64_t now = v->read();
                                               return inspector_value{format(now), has_factory,
                                                                      has_factory && now != factory,
                                                                      format(factory)};
                                           }});
    }

    // Every variable of the list without a row of its own, as a number.
    void add_the_rest() {
        for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
            const instrument_variable& v = instrument_variables[i];
            if (covered_.count(v.name) == 0) {
                if (v.group == variable_group::settings || v.group == variable_group::calibration) {
                    add_setting(v.name, number);
                } else {
                    add(section_of(v.group), v.name, [&v] { return number(v.read()); });
                }
            }
        }
    }

private:
    std::set<std::string_view, std::less<>> covered_;
};

} // namespace

std::string speed_name(double speed) {
    if (speed == 0.25) {
        return "×¼";
    }
    char text[16];
    std::snprintf(text, sizeof text, "×%g", speed);
    return text;
}

std::vector<inspector_section> inspector_sections(const inspector_sources& sources) {
    builder b;
    const front_panel* panel = sources.panel;
    const time_control* time = sources.time;

    b.add(RUN, "state", [panel] {
        const panel_phase phase = panel != nullptr ? panel->phase() : panel_phase::off;
        return phase == panel_phase::off      ? "off"
               : phase == panel_phase::splash ? "splash"
                                              : "running";
    });
    b.add(RUN, "nested runs", [panel] { return number(panel != nullptr ? panel->depth() : 0); });
    b.add(RUN, "passes since ON", [panel] {
        return number(panel != nullptr ? static_cast<int64_t>(panel->passes_since_on()) : 0);
    });
    b.add(RUN, "instrument time", [panel] {
        const double seconds =
            panel != nullptr ? static_cast<double>(panel->frames_since_on() * FRAME_MS) / 1000.0
                             : 0.0;
        char text[32];
        std::snprintf(text, sizeof text, "%.1f s", seconds);
        return std::string(text);
    });
    b.add(RUN, "speed", [time] {
        const std::string speed = speed_name(time != nullptr ? time->speed() : 1.0);
        return time != nullptr && time->paused() ? "paused (" + speed + ")" : speed;
    });

    b.add(MEASUREMENT, "volts count", [] { return number(raw_volts_adc); }, {"raw_volts_adc"});
    b.add(MEASUREMENT, "amps count", [] { return number(raw_amps_adc); }, {"raw_amps_adc"});
    b.add(MEASUREMENT, "volts filtered", [] { return number(volts_adc); }, {"volts_adc"});
    b.add(MEASUREMENT, "amps filtered", [] { return number(amps_adc); }, {"amps_adc"});
    b.add(MEASUREMENT, "voltage", [] { return tenths(volts_dv, "V"); }, {"volts_dv"});
    b.add(MEASUREMENT, "current", [] { return tenths(current_da, "A"); }, {"current_da"});
    b.add(MEASUREMENT, "peak voltage", [] { return tenths(peak_volts_dv, "V"); },
          {"peak_volts_dv"});
    b.add(MEASUREMENT, "peak charge", [] { return tenths(peak_charge_da, "A"); },
          {"peak_charge_da"});
    b.add(MEASUREMENT, "peak discharge", [] { return tenths(peak_discharge_da, "A"); },
          {"peak_discharge_da"});

    b.add(ALARM, "armed", [] { return yes_no(volt_alarm_enabled == 1); });
    b.add(ALARM, "raised", [] { return yes_no((volt_alarm & 1u) != 0); }, {"volt_alarm"});
    b.add(ALARM, "acknowledged", [] { return yes_no((alarm_ack & 1u) != 0); }, {"alarm_ack"});
    b.add(ALARM, "lamp",
          [lamp = sources.lamp_lit] { return std::string(lamp && lamp() ? "lit" : "unlit"); });
    b.add(ALARM, "window",
          [] { return tenths(low_alarm_dv, "V") + " to " + tenths(high_alarm_dv, "V"); });

    for (int i = 0; i < SCREEN_VARIABLE_COUNT; ++i) {
        const screen_routine* screen = screen_variables[i].variable;
        b.add(SCREEN, screen_variables[i].name, [screen] { return screen_name(*screen); });
    }
    b.add(SCREEN, "menu_cursor", [] { return number(menu_cursor); }, {"menu_cursor"});
    b.add(SCREEN, "edit_mode", [] { return yes_no(edit_mode == 1); }, {"edit_mode"});
    b.add(SCREEN, "pending_key", [] { return key_name(pending_key); }, {"pending_key"});
    b.add(SCREEN, "idle_countdown",
          [] {
              const std::string left = active_screen == screen_main ? "home already"
                                       : idle_countdown == 0
                                           ? "home next pass"
                                           : "home in " + seconds_after_steps(idle_countdown);
              return number(idle_countdown) + " (" + left + ")";
          },
          {"idle_countdown"});
    b.add(SCREEN, "calibration unlocked", [] { return yes_no(calibrate_enabled == 1); },
          {"calibrate_enabled"});
    b.add(SCREEN, "threshold step", [] { return tenths(key_step, "V"); }, {"key_step"});

    b.add_setting("contrast", number);
    b.add_setting("backlight_on", [](int64_t v) { return yes_no(v == 1); });
    b.add_setting("language", [](int64_t v) { return std::string(v == 0 ? "English" : "French"); });
    b.add_setting("display_mode", [](int64_t v) {
        static const char* const modes[] = {"volts and amps", "volts", "amps"};
        return v >= 0 && v <= 2 ? std::string(modes[v]) : number(v);
    });
    b.add_setting("auto_cycle", [](int64_t v) { return yes_no(v == 1); });
    b.add_setting("cycle_time_index", [](int64_t v) {
        return v >= 0 && v < 7 ? number(v) + " (" + number(2 * cycle_times[v]) + " s a page)"
                               : number(v);
    });
    b.add_setting("shunt_amps", [](int64_t v) { return number(v) + " A"; });
    b.add_setting("bar_scale_amps", [](int64_t v) { return number(v) + " A"; });
    b.add_setting("volt_alarm_enabled", [](int64_t v) { return yes_no(v == 1); });
    b.add_setting("low_alarm_dv", [](int64_t v) { return tenths(v, "V"); });
    b.add_setting("high_alarm_dv", [](int64_t v) { return tenths(v, "V"); });
    b.add_setting("volt_cal_percent", [](int64_t v) { return number(v) + " %"; });
    b.add_setting("cal_zero_adc", number);
    b.add_setting("cal_charge_adc", number);
    b.add_setting("cal_discharge_adc", number);

    b.add(TICK, "blink_phase", [] { return number(blink_phase); }, {"blink_phase"});
    b.add(TICK, "blink_ticks", [] { return number(blink_ticks); }, {"blink_ticks"});
    b.add(TICK, "step_ticks", [] { return number(step_ticks); }, {"step_ticks"});
    b.add(TICK, "cycle_steps", [] { return number(cycle_steps); }, {"cycle_steps"});
    b.add(TICK, "amps_page", [] { return std::string(amps_page == 0 ? "volts" : "amps"); },
          {"amps_page"});
    b.add(TICK, "next page change", [] {
        if (display_mode == 0 || auto_cycle != 1 || cycle_time_index > 6) {
            return std::string("none (not alternating)");
        }
        const int left = std::max(1, cycle_times[cycle_time_index] - cycle_steps);
        return "in " + seconds_after_steps(left);
    });

    b.add_the_rest();
    return std::move(b.sections);
}

} // namespace txm9
