#include "coverage/coverage_catalogue.h"

#include <algorithm>
#include <cstring>

#include "firmware/monitor/keys.h"
#include "firmware/monitor/splash.h"
#include "firmware/monitor/texts.h"

namespace txm9 {

const panel_input panel_inputs[INPUT_COUNT] = {
    {KEY_SELECT, "knob", "knob"},      {KEY_LEFT, "f1", "F1"},
    {KEY_RIGHT, "f2", "F2"},           {KEY_CW, "cw", "clockwise"},
    {KEY_CCW, "ccw", "anticlockwise"},
};

const char* const language_ids[LANGUAGE_COUNT] = {"en", "fr"};

int input_index(uint8_t key) {
    for (int i = 0; i < INPUT_COUNT; ++i) {
        if (panel_inputs[i].key == key) {
            return i;
        }
    }
    return -1;
}

namespace {

template <std::size_t S> const char* english(const StringPair<S>& pair) {
    return pair.bytes;
}
template <std::size_t S> const char* french(const StringPair<S>& pair) {
    return pair.bytes + S;
}

std::string trimmed(const char* text) {
    std::string s(text);
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

uint16_t on(std::initializer_list<screen_routine> screens) {
    uint16_t places = 0;
    for (screen_routine s : screens) {
        places = static_cast<uint16_t>(places | 1u << screen_index(s));
    }
    return places;
}

uint8_t faces(std::initializer_list<TextFace> list) {
    uint8_t bits = 0;
    for (TextFace f : list) {
        bits = static_cast<uint8_t>(bits | 1u << static_cast<int>(f));
    }
    return bits;
}

// The splash runs just after ON has loaded the factory settings, English among them.
constexpr const char* SPLASH_IN_ENGLISH =
    "the splash always speaks English: ON loads the factory language just before it";

struct text_builder {
    std::vector<catalogue_text> list;

    template <std::size_t S>
    catalogue_text& pair(int number, const StringPair<S>& p, uint16_t places, const char* where) {
        catalogue_text t{};
        t.id = "pair" + std::to_string(number);
        t.shown_by = where;
        t.text[0] = english(p);
        t.text[1] = french(p);
        t.places = places;
        list.push_back(t);
        return list.back();
    }
    catalogue_text& same(const char* id, const char* text, uint16_t places, const char* where) {
        catalogue_text t{};
        t.id = id;
        t.shown_by = where;
        t.text[0] = t.text[1] = text;
        t.places = places;
        list.push_back(t);
        return list.back();
    }
    catalogue_text& format(const char* id, const char* fmt, const char* anchor_en,
                           const char* anchor_fr, uint16_t places, const char* where) {
        catalogue_text& t = same(id, fmt, places, where);
        t.format = true;
        t.anchor[0] = anchor_en;
        t.anchor[1] = anchor_fr;
        return t;
    }
};

std::vector<catalogue_text> build_texts() {
    const uint16_t main = on({screen_main}), max_values = on({screen_max_values}),
                   menu = on({screen_menu}), display = on({screen_display_setup}),
                   contrast = on({screen_contrast}), battery = on({screen_battery_setup}),
                   adc = on({screen_adc_values}), calibrate = on({screen_calibrate}),
                   message = on({screen_message}), splash = 1u << SPLASH_PLACE;
    const uint16_t lists = display | battery | adc | calibrate;
    const uint8_t normal = faces({TextFace::normal}), twice = faces({TextFace::double_height}),
                  numerals = faces({TextFace::medium_numerals, TextFace::large_numerals});
    text_builder b;
    auto item = [](catalogue_text& t, int8_t n) {
        t.menu_item = n;
        t.faces = faces({TextFace::double_height});
    };

    b.pair(1, texts.contrast_title, contrast, "contrast screen, title");
    b.pair(2, texts.contrast_help_keys, contrast, "contrast screen, help line 1");
    b.pair(3, texts.contrast_help_adjust, contrast, "contrast screen, help line 2");
    b.pair(4, texts.contrast_help_what, contrast, "contrast screen, help line 3");
    b.pair(5, texts.switch_off, display | battery, "a switch that is off");
    b.pair(6, texts.switch_on, display | battery, "a switch that is on");
    b.pair(7, texts.language_name, display, "display setup, the language");
    b.pair(8, texts.leave_row, lists, "row 0 of the setup lists");
    b.pair(9, texts.display_setup_title, display, "display setup, title");
    b.pair(10, texts.adjust_contrast, display, "display setup, row 1");
    b.pair(11, texts.backlight_label, display, "display setup, row 2");
    b.pair(12, texts.display_label, display, "display setup, row 4");
    b.pair(13, texts.display_time_label, display, "display setup, row 6");
    b.pair(14, texts.manual, display, "display setup, row 5, cycling off");
    b.pair(15, texts.battery_setup_title, battery, "battery setup, title");
    b.pair(16, texts.bar_scale_label, battery, "battery setup, row 2");
    b.pair(17, texts.volt_alarm_label, battery, "battery setup, row 3");
    b.pair(18, texts.low_alarm_label, battery, "battery setup, row 4");
    b.pair(19, texts.high_alarm_label, battery, "battery setup, row 5");
    b.pair(20, texts.adc_values_title, adc, "ADC values, title");
    b.pair(21, texts.message_done, message, "message screen");
    b.pair(22, texts.calibrate_title, calibrate, "calibration, title");
    b.pair(23, texts.main_menu_title, menu, "main menu, title");
    item(b.pair(24, texts.menu_display_upper, menu, "main menu, item 1"), 1);
    item(b.pair(25, texts.menu_display_lower, menu, "main menu, item 1"), 1);
    item(b.pair(26, texts.menu_battery_upper, menu, "main menu, item 2"), 2);
    item(b.pair(27, texts.menu_battery_lower, menu, "main menu, item 2"), 2);
    item(b.pair(28, texts.menu_adc_upper, menu, "main menu, item 3"), 3);
    item(b.pair(29, texts.menu_adc_lower, menu, "main menu, item 3"), 3);
    item(b.pair(30, texts.menu_calibrate, menu, "main menu, item 4"), 4);
    b.pair(31, texts.max_values_title, max_values, "peak values, title");
    b.pair(32, texts.peak_discharge_label, max_values, "peak values, discharge");
    b.pair(33, texts.peak_reset, max_values, "peak values, bottom line");
    catalogue_text& overrange = b.pair(34, texts.overrange, main, "main display, over range");
    overrange.faces = twice;
    overrange.layouts = LAYOUT_VOLTS_AND_AMPS;
    b.pair(35, texts.charging, main, "main display, charging").faces =
        faces({TextFace::normal, TextFace::small});
    b.pair(36, texts.discharging, main, "main display, discharging");
    auto paged = [&](catalogue_text& t) {
        t.faces = twice;
        t.layouts = LAYOUT_VOLTS | LAYOUT_AMPS;
    };
    paged(b.pair(37, texts.over, main, "main display, over range, upper line"));
    paged(b.pair(38, texts.range, main, "main display, over range, lower line"));
    catalogue_text& unlocked = b.pair(39, texts.splash_calibrate, splash, "splash, unlocked");
    unlocked.never[1] = SPLASH_IN_ENGLISH;

    // Item 0 is "EXIT" over "MENU" in English and the one line "SORTIE" in French.
    auto item_zero = [&](const char* id, const char* text, int language) {
        catalogue_text& t = b.same(id, text, menu, "main menu, item 0");
        item(t, 0);
        t.text[1 - language] = nullptr;
    };
    item_zero("exit", text_exit, 0);
    item_zero("menu", text_menu, 0);
    item_zero("sortie", text_sortie, 1);
    b.same("lang", text_language_label, display, "display setup, row 3");
    b.same("volt-amp", text_mode_volts_and_amps, display, "display setup, row 4");
    b.same("volts", text_mode_volts, display, "display setup, row 4");
    b.same("amps", text_mode_amps, display, "display setup, row 4");
    b.same("mode", text_cycle_label, display, "display setup, row 5");
    b.same("auto", text_auto, display, "display setup, row 5, cycling on");
    b.format("fmt-display-time", FORMAT_DISPLAY_TIME, english(texts.display_time_label),
             french(texts.display_time_label), display, "display setup, row 6");
    b.same("shunt", text_shunt_label, battery, "battery setup, row 1");
    b.format("fmt-shunt", FORMAT_SHUNT_AMPS, text_shunt_label, text_shunt_label, battery,
             "battery setup, row 1");
    b.format("fmt-bar-scale", FORMAT_BAR_SCALE_AMPS, english(texts.bar_scale_label),
             french(texts.bar_scale_label), battery, "battery setup, row 2");
    b.format("fmt-low-alarm", FORMAT_LOW_ALARM, english(texts.low_alarm_label),
             french(texts.low_alarm_label), battery, "battery setup, row 4");
    b.format("fmt-high-alarm", FORMAT_HIGH_ALARM, english(texts.high_alarm_label),
             french(texts.high_alarm_label), battery, "battery setup, row 5");
    b.format("fmt-adc-volts", FORMAT_ADC_VOLTS, nullptr, nullptr, adc, "ADC values");
    b.same("adc-amps", text_adc_amps_label, adc, "ADC values");
    b.format("fmt-adc-amps", FORMAT_ADC_AMPS, text_adc_amps_label, text_adc_amps_label, adc,
             "ADC values");
    b.same("message", text_message_title, message, "message screen, title");
    b.same("volt-cal", text_volt_cal_label, calibrate, "calibration, row 1");
    b.format("fmt-volt-cal", FORMAT_VOLT_CAL, text_volt_cal_label, text_volt_cal_label, calibrate,
             "calibration, row 1");
    b.same("cal-zero", text_cal_zero, calibrate, "calibration, row 2");
    b.same("cal-charge", text_cal_charge, calibrate, "calibration, row 3");
    b.same("cal-discharge", text_cal_discharge, calibrate, "calibration, row 4");
    b.same("peak-volts", text_peak_volts_label, max_values, "peak values");
    b.same("peak-charge", text_peak_charge_label, max_values, "peak values");
    // The peaks stand at column 75 in double height: four places and the unit reach column
    // 114, one past the display's edge, so the unit's last column is never seen.
    auto at_edge = [&](catalogue_text& t, std::vector<uint8_t> tops) {
        t.faces = twice;
        t.tops = std::move(tops);
        t.clipped = 1;
    };
    at_edge(b.format("fmt-peak-volts", FORMAT_PEAK_VOLTS, nullptr, nullptr, max_values,
                     "peak values, the voltage"),
            {9});
    at_edge(b.format("fmt-peak-whole-amps", FORMAT_PEAK_AMPS_INTEGER, nullptr, nullptr, max_values,
                     "peak values, a current in whole amps"),
            {25, 41});
    at_edge(b.format("fmt-peak-amps", FORMAT_PEAK_AMPS, nullptr, nullptr, max_values,
                     "peak values, a current"),
            {25, 41});
    catalogue_text& zero = b.same("zero", text_zero, main, "main display, current bar");
    zero.faces = normal;
    zero.layouts = LAYOUT_AMPS;
    catalogue_text& v = b.same("volts-unit", text_volts_unit, main, "main display");
    v.faces = twice;
    v.layouts = LAYOUT_VOLTS_AND_AMPS | LAYOUT_VOLTS;
    catalogue_text& a = b.same("amps-unit", text_amps_unit, main, "main display");
    a.faces = twice;
    a.layouts = LAYOUT_VOLTS_AND_AMPS | LAYOUT_AMPS;
    catalogue_text& whole = b.format("fmt-whole-amps", FORMAT_INTEGER_READING, nullptr, nullptr,
                                     main, "main display, whole amps");
    whole.faces = numerals;
    whole.layouts = LAYOUT_VOLTS_AND_AMPS | LAYOUT_AMPS;
    catalogue_text& peak =
        b.format("fmt-max", FORMAT_MAX_VOLTS, nullptr, nullptr, main, "main display, volts page");
    peak.faces = normal;
    peak.layouts = LAYOUT_VOLTS;
    catalogue_text& reading =
        b.format("fmt-reading", FORMAT_READING, nullptr, nullptr, main, "main display");
    reading.faces = numerals;
    reading.layouts = LAYOUT_VOLTS_AND_AMPS | LAYOUT_VOLTS;
    catalogue_text& short_reading = b.format("fmt-short-reading", FORMAT_SHORT_READING, nullptr,
                                             nullptr, main, "main display, amps page");
    short_reading.faces = numerals;
    short_reading.layouts = LAYOUT_AMPS;
    for (const char* s :
         {splash_maker_name, splash_model_name, splash_web_address, firmware_version}) {
        catalogue_text& t = b.same(s, s, splash, "splash");
        t.never[1] = SPLASH_IN_ENGLISH;
    }
    return b.list;
}

std::vector<list_row> build_rows() {
    const int menu = screen_index(screen_menu), display = screen_index(screen_display_setup),
              battery = screen_index(screen_battery_setup), adc = screen_index(screen_adc_values),
              calibrate = screen_index(screen_calibrate);
    const std::string leave = trimmed(english(texts.leave_row));
    auto two_lines = [](const char* upper, const char* lower) {
        return std::string(upper) + " " + lower;
    };
    return {
        {menu, 0, row_kind::menu_item, two_lines(text_exit, text_menu)},
        {menu, 1, row_kind::menu_item,
         two_lines(english(texts.menu_display_upper), english(texts.menu_display_lower))},
        {menu, 2, row_kind::menu_item,
         two_lines(english(texts.menu_battery_upper), english(texts.menu_battery_lower))},
        {menu, 3, row_kind::menu_item,
         two_lines(english(texts.menu_adc_upper), english(texts.menu_adc_lower))},
        {menu, 4, row_kind::menu_item, english(texts.menu_calibrate)},
        {display, 0, row_kind::leave, leave},
        {display, 1, row_kind::action, english(texts.adjust_contrast)},
        {display, 2, row_kind::setting, trimmed(english(texts.backlight_label))},
        {display, 3, row_kind::setting, trimmed(text_language_label)},
        {display, 4, row_kind::setting, trimmed(english(texts.display_label))},
        {display, 5, row_kind::setting, trimmed(text_cycle_label)},
        {display, 6, row_kind::setting, trimmed(english(texts.display_time_label))},
        {battery, 0, row_kind::leave, leave},
        {battery, 1, row_kind::setting, trimmed(text_shunt_label)},
        {battery, 2, row_kind::setting, trimmed(english(texts.bar_scale_label))},
        {battery, 3, row_kind::setting, trimmed(english(texts.volt_alarm_label))},
        {battery, 4, row_kind::setting, trimmed(english(texts.low_alarm_label))},
        {battery, 5, row_kind::setting, trimmed(english(texts.high_alarm_label))},
        {adc, 0, row_kind::leave, leave},
        {calibrate, 0, row_kind::leave, leave},
        {calibrate, 1, row_kind::setting, trimmed(text_volt_cal_label)},
        {calibrate, 2, row_kind::action, text_cal_zero},
        {calibrate, 3, row_kind::action, text_cal_charge},
        {calibrate, 4, row_kind::action, text_cal_discharge},
    };
}

// A printf format as the reader sees it printed: literal characters, runs of blanks of any
// length, and numbers.
struct format_token {
    enum kind_t : uint8_t { literal, blanks, number } kind;
    char c = 0;
    int decimals = 0; // a number's digits after the point
};

std::vector<format_token> tokens_of(const std::string& pattern) {
    std::vector<format_token> out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == ' ') {
            if (out.empty() || out.back().kind != format_token::blanks) {
                out.push_back({format_token::blanks});
            }
        } else if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out.push_back({format_token::literal, '%'});
            ++i;
        } else if (c == '%') {
            // Flags and width only pad with blanks, which the number allows anyway.
            std::size_t j = i + 1;
            int decimals = 0;
            while (j < pattern.size() &&
                   std::string_view("-+ #0123456789").find(pattern[j]) != std::string_view::npos) {
                ++j;
            }
            if (j < pattern.size() && pattern[j] == '.') {
                decimals = 0;
                for (++j; j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9'; ++j) {
                    decimals = decimals * 10 + (pattern[j] - '0');
                }
            }
            out.push_back({format_token::number, 0, decimals});
            i = j; // the conversion letter
        } else {
            out.push_back({format_token::literal, c});
        }
    }
    return out;
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Every end at which tokens[k..] match `run` from `at`.
void match_ends(const std::vector<format_token>& tokens, std::size_t k, const std::string& run,
                std::size_t at, std::vector<std::size_t>& ends) {
    if (k == tokens.size()) {
        ends.push_back(at);
        return;
    }
    const format_token& t = tokens[k];
    switch (t.kind) {
    case format_token::literal:
        if (at < run.size() && run[at] == t.c) {
            match_ends(tokens, k + 1, run, at + 1, ends);
        }
        return;
    case format_token::blanks:
        for (std::size_t i = at;; ++i) {
            match_ends(tokens, k + 1, run, i, ends);
            if (i >= run.size() || run[i] != ' ') {
                return;
            }
        }
    case format_token::number: {
        std::size_t i = at;
        while (i < run.size() && run[i] == ' ') {
            ++i;
        }
        if (i < run.size() && run[i] == '-') {
            ++i;
        }
        const std::size_t digits = i;
        while (i < run.size() && is_digit(run[i])) {
            ++i;
        }
        if (i == digits) {
            return;
        }
        if (t.decimals > 0) {
            if (i >= run.size() || run[i] != '.') {
                return;
            }
            for (int d = 0; d < t.decimals; ++d, ++i) {
                if (i + 1 >= run.size() || !is_digit(run[i + 1])) {
                    return;
                }
            }
            ++i; // past the last decimal
        }
        match_ends(tokens, k + 1, run, i, ends);
        return;
    }
    }
}

} // namespace

const std::vector<list_row>& list_rows() {
    static const std::vector<list_row> rows = build_rows();
    return rows;
}

const char* row_action_name(row_kind kind) {
    switch (kind) {
    case row_kind::leave:
        return "left";
    case row_kind::action:
        return "performed";
    case row_kind::setting:
        return "edited";
    case row_kind::menu_item:
        break;
    }
    return "opened";
}

bool row_action_taken(row_kind kind, uint8_t key, bool editing) {
    if (kind == row_kind::setting) {
        return editing && key >= KEY_CW && key <= KEY_RIGHT;
    }
    return key == KEY_SELECT;
}

const std::vector<catalogue_text>& catalogue_texts() {
    static const std::vector<catalogue_text> list = build_texts();
    return list;
}

bool format_in(const std::string& run, const char* anchor, const char* format) {
    const std::vector<format_token> tokens =
        tokens_of(trimmed((std::string(anchor != nullptr ? anchor : "") + format).c_str()));
    std::vector<std::size_t> ends;
    for (std::size_t start = 0; start < run.size(); ++start) {
        if (run[start] == ' ') {
            continue;
        }
        ends.clear();
        match_ends(tokens, 0, run, start, ends);
        for (std::size_t end : ends) {
            // What matched is a text of its own; it counts where it cuts no word or number.
            if (end > start && text_contains(run, run.substr(start, end - start))) {
                return true;
            }
        }
    }
    return false;
}

bool text_shown(const catalogue_text& entry, const drawn_context& context,
                const std::vector<FoundText>& texts) {
    const char* text = entry.text[context.language];
    if (text == nullptr || (entry.places & 1u << context.place) == 0 ||
        (entry.menu_item >= 0 && entry.menu_item != context.menu_item) ||
        (entry.layouts != 0 && (entry.layouts & context.layout) == 0)) {
        return false;
    }
    auto face_fits = [&](const FoundText& t) {
        return (entry.faces == 0 || (entry.faces & 1u << static_cast<int>(t.face)) != 0) &&
               (entry.tops.empty() ||
                std::find(entry.tops.begin(), entry.tops.end(), t.y) != entry.tops.end());
    };
    if (!entry.format) {
        const std::string wanted = trimmed(text);
        return std::any_of(texts.begin(), texts.end(), [&](const FoundText& t) {
            return face_fits(t) && text_contains(t.text, wanted);
        });
    }
    // A label and its value may stand in different shades (only the value inverted while it
    // is edited), and so be read as two texts: a format is looked for along the whole band.
    for (const FoundText& first : texts) {
        if (!face_fits(first)) {
            continue;
        }
        std::string line;
        for (const FoundText& t : texts) {
            if (t.y == first.y && t.face == first.face && t.x >= first.x) {
                line += (line.empty() ? "" : " ") + t.text;
            }
        }
        const std::string seen(text, std::strlen(text) - entry.clipped);
        if (format_in(line, entry.anchor[context.language], seen.c_str())) {
            return true;
        }
    }
    return false;
}

const state_entry state_entries[STATE_COUNT] = {
    {"splash-unlock", "the knob pressed during the splash unlocks calibration"},
    {"off-in-splash", "OFF during the splash, forgotten when the splash ends"},
    {"alarm-raised", "the voltage alarm raised"},
    {"alarm-acknowledged", "the alarm acknowledged by a key on the main display"},
    {"alarm-cleared", "the alarm cleared, the voltage back inside its window"},
    {"inactivity-return", "a minute without keys returns to the main display"},
    {"page-alternation", "the main display changes page by itself"},
    {"zero-point", "the zero calibration point (0 mV) stored"},
    {"charge-point", "the charge calibration point (+50 mV) stored"},
    {"discharge-point", "the discharge calibration point (-50 mV) stored"},
    {"fault", "a run ended by the zero-width calibration fault"},
    {"nested-on", "ON while running: a second run inside the first"},
};

} // namespace txm9
