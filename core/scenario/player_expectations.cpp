// The expectations, and the wording of what failed: where, what the display read and showed.
#include <string>

#include "engine/instrument_variables.h"
#include "engine/lcd_dump.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "lcd_reader/lcd_text_reader.h"
#include "scenario/message_text.h"
#include "scenario/play_observer.h"
#include "scenario/scenario_player_impl.h"

namespace txm9 {

namespace {

bool compare(int64_t a, comparison op, int64_t b) {
    switch (op) {
    case comparison::equal:
        return a == b;
    case comparison::not_equal:
        return a != b;
    case comparison::less:
        return a < b;
    case comparison::less_equal:
        return a <= b;
    case comparison::greater:
        return a > b;
    case comparison::greater_equal:
        return a >= b;
    }
    return false;
}

const char* op_text(comparison op) {
    static const char* const texts[] = {"==", "!=", "<", "<=", ">", ">="};
    return texts[static_cast<int>(op)];
}

} // namespace

void scenario_player::impl::check(const command& c) {
    switch (c.kind) {
    case command_kind::expect_text: {
        const std::optional<bool> shade = c.flag ? std::optional<bool>(true) : std::nullopt;
        if (screen_shows(c.text, shade) == c.negated) {
            fail(c, std::string(c.negated ? "expected no text \"" : "expected text \"") +
                        cut_for_message(c.text, 60) + "\"" + (c.flag ? " inverted" : "") +
                        " on the display");
        }
        break;
    }
    case command_kind::expect_screen:
        if (active_screen != screen_named(c.name)) {
            fail(c, "expected screen " + c.name + ", the active screen is " +
                        screen_name(active_screen));
        }
        break;
    case command_kind::expect_lamp:
        if (panel_.lamp_lit() != c.flag) {
            fail(c, std::string("expected the lamp ") + (c.flag ? "lit" : "unlit") + ", it is " +
                        (panel_.lamp_lit() ? "lit" : "unlit"));
        }
        break;
    case command_kind::expect_variable: {
        const int64_t value = find_instrument_variable(c.name)->read();
        if (!compare(value, c.op, c.value)) {
            fail(c, "expected " + c.name + " " + op_text(c.op) + " " + std::to_string(c.value) +
                        ", it is " + std::to_string(value));
        }
        break;
    }
    case command_kind::expect_fault:
        if (running() || last_fault_ != c.text) {
            fail(c, "expected the run to have ended with the fault \"" +
                        cut_for_message(c.text, 60) + "\"; " +
                        (running()             ? std::string("the instrument is running")
                         : last_fault_.empty() ? std::string("no run ended with a fault")
                                               : "the last fault was \"" + last_fault_ + "\""));
        }
        break;
    case command_kind::expect_frame:
        if (options_.files) {
            check_frame(c);
        }
        break;
    case command_kind::screenshot:
        if (options_.files) {
            plan_picture(c, in_folder(out_dir_, c.path), static_cast<int>(c.count));
        }
        break;
    case command_kind::print:
        if (options_.print_to != nullptr || options_.session) {
            printed_ << where(c) << "the display:\n" << lcd_dump();
        }
        break;
    default:
        break;
    }
}

void scenario_player::impl::check_frame(const command& c) {
    const std::string reference = in_folder(script_.folder, c.path);
    if (options_.update) {
        plan_picture(c, reference, 1, where(c) + "wrote " + reference);
        return;
    }
    const argb_picture expected = reference_for(c, reference);
    const frame_check result = compare_display_with(expected);
    if (result.differing == 0) {
        return;
    }
    const std::string prefix = failure_prefix(c);
    std::array<argb_picture, 3> pictures = mismatch_pictures(expected);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        files_.push_back({&c, prefix + MISMATCH_SUFFIXES[i], std::move(pictures[i]), 1, true, {}});
    }
    fail(c, "the display differs from " + reference + " in " + std::to_string(result.differing) +
                " pixels, the first at (" + std::to_string(result.first_x) + ", " +
                std::to_string(result.first_y) + "); " + "see " + prefix +
                ".actual.png, .expected.png and .diff.png");
}

std::string scenario_player::impl::where(const command& c) const {
    if (options_.session && script_.file.empty()) {
        return "line " + std::to_string(c.place.line) + ": ";
    }
    return script_.file + ":" + std::to_string(c.place.line) + ": ";
}

void scenario_player::impl::passed(const command& c) {
    ++outcome_.expectations;
    if (options_.observer != nullptr) {
        options_.observer->expectation_checked(c, true, std::string());
    }
}

// A failed expectation ends the play, or with keep_going is counted, the first one kept
// as the outcome's message, and the play goes on.
void scenario_player::impl::fail(const command& c, const std::string& what) {
    std::string texts = describe_screen_texts();
    const std::string message = where(c) + what + "\nthe display reads:\n" +
                                (texts.empty() ? "  (no readable text)\n" : texts) + "at " +
                                format_ms(panel_.now_ms()) + " of instrument time (" +
                                (running() ? "on" : "off") + "), the display:\n" + lcd_dump();
    ++outcome_.expectations;
    ++outcome_.failed;
    if (options_.observer != nullptr) {
        options_.observer->expectation_checked(c, false, where(c) + what);
    }
    if (options_.session) {
        // The client reads the display for itself; the message says what failed.
        throw scenario_stop{outcome_status::failed, where(c) + what};
    }
    if (!options_.keep_going) {
        throw scenario_stop{outcome_status::failed, message};
    }
    if (outcome_.status == outcome_status::passed) {
        outcome_.status = outcome_status::failed;
        outcome_.message = message;
    }
}

void scenario_player::impl::cannot_run(const command& c, const std::string& what) const {
    if (options_.session && script_.file.empty()) {
        throw scenario_stop{outcome_status::cannot_run, where(c) + what};
    }
    throw scenario_stop{outcome_status::cannot_run,
                        script_.file + ":" + std::to_string(c.place.line) + ":" +
                            std::to_string(c.place.column) + ": " + what};
}
} // namespace txm9
