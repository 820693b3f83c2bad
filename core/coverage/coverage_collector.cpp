#include "coverage/coverage_collector.h"

#include <algorithm>
#include <cstring>

#include "firmware/monitor/keys.h"
#include "firmware/monitor/state.h"

namespace txm9 {

namespace {

// FNV-1a over the frame and what it was drawn with.
uint64_t frame_key(const drawn_context& c) {
    uint64_t h = 14695981039346656037ull;
    auto add = [&h](uint8_t byte) {
        h ^= byte;
        h *= 1099511628211ull;
    };
    for (uint8_t byte : lcd_buffer) {
        add(byte);
    }
    for (int v : {c.place, int{c.language}, int{c.menu_item}, int{c.layout}}) {
        add(static_cast<uint8_t>(v));
    }
    return h;
}

} // namespace

coverage_collector::coverage_collector() {
    data_.rows.resize(list_rows().size());
    data_.texts.resize(catalogue_texts().size());
}

void coverage_collector::add_file(const std::string& name, const std::string& text) {
    data_.files.push_back({name, text, {}});
}

void coverage_collector::not_played(const std::string& name, const std::string& why) {
    if (data_.files.empty() || data_.files.back().name != name) {
        data_.files.push_back({name, {}, {}});
    }
    data_.files.back().not_played = why;
}

void coverage_collector::go_back_to(const coverage_data& earlier) {
    data_ = earlier;
    frames_read_.clear();
}

void coverage_collector::scenario_started(const scenario&) {
    here_ = {static_cast<int>(data_.files.size()) - 1, 0};
    between_ = {};
    amps_page_after_pass_ = 0;
    engine_ = nullptr;
}

void coverage_collector::command_started(const command& c) {
    here_.line = c.place.line;
    if (c.kind == command_kind::off && engine_ != nullptr &&
        engine_->phase() == panel_phase::splash) {
        reach(instrument_state::off_in_splash);
    }
}

void coverage_collector::reach(first_place& place) {
    if (!place.reached()) {
        place = here_;
    }
}

void coverage_collector::events_delivered(const front_panel& engine) {
    between_ = {engine.phase() == panel_phase::running,
                pending_key,
                menu_cursor,
                edit_mode,
                language,
                (volt_alarm & 1u) != 0,
                (alarm_ack & 1u) != 0};
    if (engine.phase() == panel_phase::splash && pending_key == KEY_SELECT) {
        reach(instrument_state::splash_unlock);
    }
    // Only the tick turns the page between two passes.
    if (amps_page != amps_page_after_pass_ && display_mode != 0 && auto_cycle == 1) {
        reach(instrument_state::page_alternation);
    }
    amps_page_after_pass_ = amps_page;
}

void coverage_collector::run_ended(const run_end& end) {
    if (end.faulted) {
        reach(instrument_state::fault);
    }
}

void coverage_collector::frame_shown(const frame_report& frame, const front_panel& engine) {
    engine_ = &engine;
    if (engine.depth() >= 2) {
        reach(instrument_state::nested_on);
    }
    if (frame.phase == panel_phase::splash) {
        read_texts({SPLASH_PLACE, language, 0, 0});
    } else {
        pass_shown(frame);
    }
}

void coverage_collector::pass_shown(const frame_report& frame) {
    const int screen = screen_index(frame.screen);
    if (screen < 0) {
        return;
    }
    // The first pass of a run follows the splash, which used up every key; ON cleared the
    // alarm and put the cursor on 0.
    const between_passes before =
        between_.after_pass ? between_ : between_passes{false, 0, 0, 0, language, false, false};

    screen_coverage& seen = data_.screens[screen];
    if (!seen.first.reached()) {
        std::memcpy(seen.picture.data(), lcd_buffer, LCD_BUFFER_SIZE);
    }
    reach(seen.first);
    ++seen.frames;

    const bool alarm = (volt_alarm & 1u) != 0;
    const bool acknowledged_now = (alarm_ack & 1u) != 0 && !before.acknowledged;
    if (alarm && !before.alarm) {
        reach(instrument_state::alarm_raised);
    }
    if (!alarm && before.alarm && volt_alarm_enabled == 1) {
        reach(instrument_state::alarm_cleared);
    }
    if (acknowledged_now) {
        reach(instrument_state::alarm_acknowledged);
    }
    if (frame.inactivity_return) {
        reach(instrument_state::inactivity_return);
    }

    const int input = before.key != 0 ? input_index(before.key) : -1;
    if (input >= 0) {
        cell_coverage& cell = data_.cells[screen][input];
        reach(cell.first);
        ++cell.taken;
        const std::string led_to = acknowledged_now ? "acknowledged" : screen_name(active_screen);
        if (std::none_of(cell.led_to.begin(), cell.led_to.end(),
                         [&](const destination& d) { return d.name == led_to; })) {
            cell.led_to.push_back({led_to, here_});
        }
    }

    const std::vector<list_row>& rows = list_rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].screen == screen && rows[i].row == before.cursor) {
            reach(data_.rows[i].cursor[before.language]);
            if (input >= 0 && row_action_taken(rows[i].kind, before.key, before.editing == 1)) {
                reach(data_.rows[i].action[before.language]);
            }
        }
    }
    if (frame.screen == screen_calibrate && before.key == KEY_SELECT) {
        static constexpr instrument_state points[] = {instrument_state::zero_point_stored,
                                                      instrument_state::charge_point_stored,
                                                      instrument_state::discharge_point_stored};
        if (before.cursor >= 2 && before.cursor <= 4) {
            reach(points[before.cursor - 2]);
        }
    }

    // The page the main display drew: a knob turn taken there has turned it since.
    uint8_t layout = 0;
    if (frame.screen == screen_main) {
        const bool turned = (before.key == KEY_CW || before.key == KEY_CCW) && !acknowledged_now &&
                            display_mode != 0;
        layout = display_mode == 0            ? LAYOUT_VOLTS_AND_AMPS
                 : (amps_page != 0) != turned ? LAYOUT_AMPS
                                              : LAYOUT_VOLTS;
    }
    read_texts({screen, before.language, before.cursor, layout});
    amps_page_after_pass_ = amps_page;
}

void coverage_collector::read_texts(const drawn_context& context) {
    // Reading the display costs far more than a pass: each frame is read once per context,
    // and not at all once every text it could show has been seen.
    const std::vector<catalogue_text>& entries = catalogue_texts();
    bool wanted = false;
    for (std::size_t i = 0; i < entries.size() && !wanted; ++i) {
        wanted = (entries[i].places & 1u << context.place) != 0 &&
                 entries[i].text[context.language] != nullptr &&
                 !data_.texts[i][context.language].reached();
    }
    if (!wanted || !frames_read_.insert(frame_key(context)).second) {
        return;
    }
    const std::vector<found_text> texts = find_all_texts();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        first_place& shown = data_.texts[i][context.language];
        if (!shown.reached() && text_shown(entries[i], context, texts)) {
            shown = here_;
        }
    }
}

} // namespace txm9
