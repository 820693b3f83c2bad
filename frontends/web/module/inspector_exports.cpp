// The inspector beside the page's panel: the core's inspector model (the run, then every
// variable of the instrument in its section, settings and calibration marked as their factory
// value or changed from it), as JSON for the page. The page takes the sections and labels once
// and then, several times a second while the inspector is shown, only the values that changed:
// a look costs the browser tens of microseconds, not the half millisecond of the whole model
// in JSON.
#include <emscripten.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/inspector_model.h"
#include "engine/time_control.h"
#include "json_text.h"
#include "web_panel.h"

using namespace txm9;

namespace {

std::string answer;

// What txm9_inspector_changes last told, row after row.
struct told_row {
    bool told = false;
    std::string value;
    std::string note;
};
std::vector<told_row> told;

const std::vector<inspector_section>& sections() {
    static const std::vector<inspector_section> made = inspector_sections({
        &page_panel().session().engine(),
        &page_panel().session().time(),
        [] { return page_panel().session().lamp_lit(); },
    });
    return made;
}

// A row's note: empty, "factory" for a setting at its factory value, "factory VALUE" for one
// changed.
std::string note(const inspector_value& value) {
    return !value.setting ? "" : value.changed ? "factory " + value.factory : "factory";
}

// Appends `text` as a JSON string. Nearly every value is plain ASCII and goes in whole;
// anything else is quoted by the control protocol's rules.
void append_quoted(std::string& out, std::string_view text) {
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\';
    });
    if (plain) {
        out += '"';
        out += text;
        out += '"';
    } else {
        out += json_quote(text);
    }
}

} // namespace

extern "C" {

// The inspector's sections: [{name, rows: [[label, value, note]]}], the note "factory" for a
// setting at its factory value, "factory VALUE" for one changed, empty for anything else.
EMSCRIPTEN_KEEPALIVE const char* txm9_inspector() {
    std::ostringstream out;
    out << '[';
    bool first_section = true;
    for (const inspector_section& section : sections()) {
        out << (first_section ? "" : ",") << "{\"name\":";
        out << json_quote(section.title);
        out << ",\"rows\":[";
        bool first_row = true;
        for (const inspector_row& row : section.rows) {
            const inspector_value value = row.value();
            out << (first_row ? "" : ",") << '[';
            out << json_quote(row.label);
            out << ',';
            out << json_quote(value.text);
            out << ',';
            out << json_quote(note(value));
            out << ']';
            first_row = false;
        }
        out << "]}";
        first_section = false;
    }
    out << ']';
    answer = out.str();
    return answer.c_str();
}

// The rows whose value or note changed since the last call (every row at the first):
// [[row, value, note], ...], `row` counting the rows of txm9_inspector's sections in order.
EMSCRIPTEN_KEEPALIVE const char* txm9_inspector_changes() {
    answer.clear();
    answer += '[';
    std::size_t index = 0;
    for (const inspector_section& section : sections()) {
        for (const inspector_row& row : section.rows) {
            if (index == told.size()) {
                told.emplace_back();
            }
            told_row& last = told[index];
            const inspector_value value = row.value();
            const std::string row_note = note(value);
            if (!last.told || last.value != value.text || last.note != row_note) {
                answer += answer.size() == 1 ? "[" : ",[";
                answer += std::to_string(index);
                answer += ',';
                append_quoted(answer, value.text);
                answer += ',';
                append_quoted(answer, row_note);
                answer += ']';
                last = {true, value.text, row_note};
            }
            ++index;
        }
    }
    answer += ']';
    return answer.c_str();
}

// The speeds time control offers, slowest first, with their names: [[0.25, "×¼"], ...].
EMSCRIPTEN_KEEPALIVE const char* txm9_speeds() {
    std::ostringstream out;
    out << '[';
    for (std::size_t i = 0; i < std::size(time_control::SPEEDS); ++i) {
        out << (i ? "," : "") << '[' << time_control::SPEEDS[i] << ',';
        out << json_quote(speed_name(time_control::SPEEDS[i]));
        out << ']';
    }
    out << ']';
    answer = out.str();
    return answer.c_str();
}

} // extern "C"
