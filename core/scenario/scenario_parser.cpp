#include "scenario/scenario_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

#include "engine/instrument_variables.h"
#include "engine/panel_inputs.h"
#include "engine/timing.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/screen_list.h"
#include "scenario/message_text.h"
#include "scenario/scenario_commands.h"
#include "scenario/slider_counts.h"
#include "scenario/written_names.h"

namespace txm9 {

namespace {

struct token {
    std::string text;
    bool quoted = false;
    int column = 0;
};

// Thrown inside the parser only; parse_scenario turns it into a parse_error.
struct mistake {
    int column;
    std::string message;
};

// Tenths as a reading: 506 is "50.6".
std::string tenths_text(int64_t v) {
    return std::to_string(v / 10) + "." + std::to_string(v % 10);
}

// A word or text of the line as a message echoes it: quoted, and cut when long.
std::string echo(const std::string& text) {
    return "'" + cut_for_message(text) + "'";
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// Splits one line into words and quoted texts; a '#' outside quotes ends the line.
std::vector<token> tokens_of(std::string_view line) {
    std::vector<token> out;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') {
            break;
        }
        token t;
        t.column = static_cast<int>(i) + 1;
        if (c == '"') {
            t.quoted = true;
            ++i;
            for (;;) {
                if (i >= line.size()) {
                    throw mistake{t.column, "missing closing quote"};
                }
                if (line[i] == '"') {
                    ++i;
                    break;
                }
                if (line[i] == '\\') {
                    if (i + 1 >= line.size() || (line[i + 1] != '"' && line[i + 1] != '\\')) {
                        throw mistake{static_cast<int>(i) + 1,
                                      "unknown escape: only \\\" and \\\\ may follow a backslash"};
                    }
                    ++i;
                }
                t.text += line[i++];
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
                   line[i] != '#') {
                t.text += line[i++];
            }
        }
        out.push_back(std::move(t));
    }
    return out;
}

// A number's text and the unit glued to it: "500ms" is "500" and "ms". A number may have
// decimals and a power of ten: "1.5e3".
struct number_and_unit {
    std::string number;
    std::string unit;         // lower case, as compared
    std::string unit_written; // as the user wrote it, as messages quote it
};

std::size_t skip_digits(const std::string& text, std::size_t i) {
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    return i;
}

std::optional<number_and_unit> split_number(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const std::size_t digits_from = i;
    i = skip_digits(text, i);
    if (i == digits_from) {
        return std::nullopt;
    }
    if (i < text.size() && text[i] == '.') {
        const std::size_t after_point = ++i;
        i = skip_digits(text, i);
        if (i == after_point) {
            return std::nullopt;
        }
    }
    // A power of ten only where digits follow the e: "2e" is 2 and a unit.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t k = i + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) {
            ++k;
        }
        const std::size_t exponent_end = skip_digits(text, k);
        if (exponent_end > k) {
            i = exponent_end;
        }
    }
    return number_and_unit{text.substr(0, i), lower(text.substr(i)), text.substr(i)};
}

enum class number_fit { fits, too_fine, too_large };

// The longest path a POSIX system takes (PATH_MAX on Linux).
constexpr std::size_t LONGEST_PATH = 4096;

// The largest magnitude any command takes, in its smallest unit: far beyond every limit, so
// that a number this large is simply out of range.
constexpr int64_t LARGEST_NUMBER = int64_t{1} << 50;

// A number as written by split_number, as a whole count of 1 / 10^decimals: too fine when it
// has more decimals than that, too large when its magnitude reaches LARGEST_NUMBER.
number_fit scaled(const std::string& number, int decimals, int64_t& out) {
    const bool negative = number[0] == '-';
    const std::size_t from = number[0] == '-' || number[0] == '+' ? 1 : 0;
    const std::size_t e_at = std::min(number.find_first_of("eE"), number.size());
    std::string digits = number.substr(from, e_at - from);
    // The value is digits x 10^power.
    int64_t power = decimals;
    if (const std::size_t point = digits.find('.'); point != std::string::npos) {
        power -= static_cast<int64_t>(digits.size() - point - 1);
        digits.erase(point, 1);
    }
    if (e_at < number.size()) {
        // The power of ten, held within bounds that any number here stays far inside.
        std::size_t k = e_at + 1;
        const bool exponent_negative = number[k] == '-';
        k += number[k] == '-' || number[k] == '+' ? 1 : 0;
        int64_t exponent = 0;
        for (; k < number.size(); ++k) {
            exponent = std::min<int64_t>(exponent * 10 + (number[k] - '0'), 1000000);
        }
        power += exponent_negative ? -exponent : exponent;
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty()) {
        out = 0;
        return number_fit::fits;
    }
    if (power < 0) {
        const std::size_t cut = static_cast<std::size_t>(std::min<int64_t>(-power, 1000000));
        if (cut >= digits.size() ||
            digits.find_first_not_of('0', digits.size() - cut) != std::string::npos) {
            return number_fit::too_fine;
        }
        digits.resize(digits.size() - cut);
    } else if (static_cast<int64_t>(digits.size()) + power > 18) {
        return number_fit::too_large;
    } else {
        digits.append(static_cast<std::size_t>(power), '0');
    }
    if (digits.size() > 18) {
        return number_fit::too_large;
    }
    int64_t magnitude = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (magnitude >= LARGEST_NUMBER) {
        return number_fit::too_large;
    }
    out = negative ? -magnitude : magnitude;
    return number_fit::fits;
}

class line_parser {
public:
    line_parser(std::vector<token> tokens, int line) : tokens_(std::move(tokens)), line_(line) {}

    command parse() {
        command c;
        c.place = {line_, tokens_[0].column};
        const std::string verb = word("a command");
        const parse_fn parse_rest = parser_of(verb);
        if (parse_rest == nullptr) {
            fail_at_last("unknown command " + as_written() + " (one of: " + command_word_list() +
                         ")");
        }
        (this->*parse_rest)(c);
        if (more()) {
            throw mistake{tokens_[at_].column,
                          "unexpected " + echo(tokens_[at_].text) + " at the end"};
        }
        return c;
    }

private:
    using parse_fn = void (line_parser::*)(command&);

    // The function that reads the rest of the line after a command's word; null for a word
    // that starts no command.
    static parse_fn parser_of(const std::string& verb) {
        static constexpr parse_fn parsers[] = {
#define TXM9_COMMAND(id, word, form, help) &line_parser::parse_##id,
#include "scenario/scenario_commands.def"
#undef TXM9_COMMAND
        };
        for (const command_word& w : command_words) {
            if (w.word == verb) {
                return parsers[static_cast<int>(w.id)];
            }
        }
        return nullptr;
    }

    void parse_on(command& c) {
        c.kind = command_kind::on;
        if (more()) {
            c.has_time = true;
            c.time = time_span();
        }
    }

    void parse_off(command& c) {
        c.kind = command_kind::off;
    }

    void parse_press(command& c) {
        c.kind = command_kind::press;
        c.key = key_name();
        then_wait(c);
    }

    void parse_turn(command& c) {
        c.kind = command_kind::turn;
        const std::string way = word("cw or ccw");
        if (way != "cw" && way != "ccw") {
            fail_at_last("expected cw or ccw, found " + as_written());
        }
        c.key = way == "cw" ? KEY_CW : KEY_CCW;
        c.count = 1;
        if (more() && !next_is("then")) {
            c.count = static_cast<uint32_t>(whole(1, MOST_TURNS, "turns"));
        }
        then_wait(c);
    }

    void parse_volts(command& c) {
        slider(c, true);
    }
    void parse_amps(command& c) {
        slider(c, false);
    }

    void parse_calibrate(command& c) {
        c.kind = command_kind::calibrate_box;
        c.flag = on_or_off();
    }

    void parse_keyfast(command& c) {
        c.kind = command_kind::key_fast_box;
        c.flag = on_or_off();
    }

    void parse_screenshot(command& c) {
        c.kind = command_kind::screenshot;
        c.path = png_path();
        c.path_column = tokens_[at_ - 1].column;
        if (const std::string why = leaves_its_folder(c.path); !why.empty()) {
            fail_at_last("a screenshot is written inside the output folder, and " + echo(c.path) +
                         " cannot be: " + why);
        }
        c.count = 2;
        if (more()) {
            keyword("scale");
            c.count = static_cast<uint32_t>(whole(1, 16, "scale"));
        }
    }

    void parse_print(command& c) {
        c.kind = command_kind::print;
    }

    bool more() const {
        return at_ < tokens_.size();
    }
    bool next_is(const char* word) const {
        return more() && !tokens_[at_].quoted && lower(tokens_[at_].text) == word;
    }

    // A key's own time: "then wait DURATION" in place of the two passes a key lets go by.
    void then_wait(command& c) {
        if (more()) {
            keyword("then");
            keyword("wait");
            c.has_time = true;
            c.time = time_span();
        }
    }

    const token& next(const char* what) {
        if (!more()) {
            const int end = tokens_.empty() ? 1
                                            : tokens_.back().column +
                                                  static_cast<int>(tokens_.back().text.size()) +
                                                  (tokens_.back().quoted ? 2 : 0);
            throw mistake{end, std::string("expected ") + what + " here"};
        }
        return tokens_[at_++];
    }

    // The word read last as the user wrote it (words are compared in lower case), quoted.
    std::string as_written() const {
        return echo(tokens_[at_ - 1].text);
    }

    [[noreturn]] void fail_at_last(const std::string& message) const {
        throw mistake{tokens_[at_ - 1].column, message};
    }

    std::string word(const char* what) {
        const token& t = next(what);
        if (t.quoted) {
            fail_at_last(std::string("expected ") + what + ", found a quoted text");
        }
        return lower(t.text);
    }

    void keyword(const std::string& expected) {
        const std::string w = word(expected.c_str());
        if (w != expected) {
            fail_at_last("expected '" + expected + "', found " + as_written());
        }
    }

    std::string quoted(const char* what) {
        const token& t = next(what);
        if (!t.quoted) {
            fail_at_last(std::string("expected ") + what + " in double quotes, found " +
                         echo(t.text));
        }
        if (t.text.empty()) {
            fail_at_last(std::string("expected ") + what + ", found an empty text");
        }
        return t.text;
    }

    int64_t whole(int64_t low, int64_t high, const char* what) {
        const token& t = next(what);
        int64_t v = 0;
        const auto n = split_number(t.text);
        const number_fit fit =
            t.quoted || !n || !n->unit.empty() ? number_fit::too_fine : scaled(n->number, 0, v);
        if (fit == number_fit::too_fine) {
            fail_at_last(std::string("expected a whole number of ") + what + ", found " +
                         echo(t.text));
        }
        if (fit == number_fit::too_large || v < low || v > high) {
            fail_at_last(std::string(what) + " " + cut_for_message(n->number) + " out of range " +
                         std::to_string(low) + ".." + std::to_string(high));
        }
        return v;
    }

    bool on_or_off() {
        const std::string w = word("on or off");
        if (w != "on" && w != "off") {
            fail_at_last("expected on or off, found " + as_written());
        }
        return w == "on";
    }

    uint8_t key_name() {
        const std::string w = word("knob, left or right");
        if (const panel_input* input = pressed_input(w)) {
            return input->key;
        }
        fail_at_last("expected knob, left or right, found " + as_written());
    }

    duration time_span() {
        const token& t = next("a duration (e.g. 2 s, 500 ms, 1 min, 10 passes)");
        const int column = t.column;
        const auto n = split_number(t.text);
        if (t.quoted || !n || n->number[0] == '-' || n->number[0] == '+') {
            throw mistake{column, "expected a duration (e.g. 2 s, 500 ms, 1 min, 10 passes), "
                                  "found " +
                                      echo(t.text)};
        }
        std::string unit = n->unit;
        std::string unit_written = n->unit_written;
        if (unit.empty()) {
            unit = word("a unit: ms, s, min or passes");
            unit_written = tokens_[at_ - 1].text;
        }
        duration d;
        int64_t v = 0;
        number_fit fit = number_fit::fits;
        if (unit == "ms") {
            fit = scaled(n->number, 0, v);
        } else if (unit == "s" || unit == "sec") {
            fit = scaled(n->number, 3, v);
        } else if (unit == "min") {
            fit = scaled(n->number, 3, v);
            v *= 60; // within range: minutes in milliseconds stay below LARGEST_NUMBER * 60
        } else if (unit == "pass" || unit == "passes") {
            d.in_passes = true;
            fit = scaled(n->number, 0, v);
        } else {
            throw mistake{column, "unknown unit " + echo(unit_written) + " (ms, s, min or passes)"};
        }
        const std::string written = cut_for_message(n->number) + " " + unit_written;
        if (fit == number_fit::too_fine) {
            throw mistake{column, "'" + written + "' is not a whole number of " +
                                      (d.in_passes ? "passes" : "milliseconds")};
        }
        const uint64_t ms =
            d.in_passes ? static_cast<uint64_t>(v) * FRAME_MS : static_cast<uint64_t>(v);
        if (fit == number_fit::too_large || ms > LONGEST_WAIT_MS) {
            throw mistake{column, "'" + written +
                                      "' is out of range: a duration may be at most 24 h of "
                                      "instrument time"};
        }
        d.amount = static_cast<uint64_t>(v);
        return d;
    }

    void slider(command& c, bool volts) {
        c.kind = volts ? command_kind::volts : command_kind::amps;
        const token& t = next(volts ? "a count 0..4096 or a voltage like 12.6 V"
                                    : "a count 0..4096 or a current like -3.9 A");
        const int column = t.column;
        const auto n = split_number(t.text);
        if (t.quoted || !n) {
            throw mistake{column, "expected a count 0..4096 or a value with its unit, found " +
                                      echo(t.text)};
        }
        std::string unit = n->unit;
        std::string unit_written = n->unit_written;
        if (unit.empty() && more()) {
            unit = word("a unit");
            unit_written = tokens_[at_ - 1].text;
        }
        const std::string expected_unit = volts ? "v" : "a";
        const std::string written = cut_for_message(n->number);
        const char* give = volts ? "volts with V" : "amps with A";
        if (unit.empty()) {
            int64_t v = 0;
            const number_fit fit = scaled(n->number, 0, v);
            if (fit == number_fit::too_fine) {
                throw mistake{column, "count " + written +
                                          " is not a whole number: counts are 0..4096 (or give " +
                                          give + ")"};
            }
            if (fit == number_fit::too_large || v < 0 || v > 4096) {
                throw mistake{column,
                              "count " + written + " out of range 0..4096 (or give " + give + ")"};
            }
            c.count = static_cast<uint32_t>(v);
            return;
        }
        if (unit != expected_unit) {
            throw mistake{column, "unknown unit " + echo(unit_written) + " (" +
                                      (volts ? "V for volts" : "A for amps") + ")"};
        }
        const number_fit fit = scaled(n->number, 1, c.value);
        if (fit == number_fit::too_fine) {
            throw mistake{column,
                          "the display shows tenths: '" + written + "' has more than one decimal"};
        }
        if (volts && (fit == number_fit::too_large ? n->number[0] == '-' : c.value < 0)) {
            throw mistake{column, "a battery voltage cannot be negative"};
        }
        // Known from the text alone: beyond what the slider gives at any calibration.
        static const int64_t most_volts = highest_volts_dv();
        const int64_t most = volts ? most_volts : highest_amps_da();
        if (fit == number_fit::too_large || c.value > most || c.value < -most) {
            throw mistake{column, "no count reads " + written + (volts ? " V" : " A") +
                                      " at any calibration: the display reads at most " +
                                      (volts ? "" : "+/-") + tenths_text(most) +
                                      (volts ? " V" : " A")};
        }
        c.has_value = true;
    }

    void parse_wait(command& c) {
        if (more() && !tokens_[at_].quoted && lower(tokens_[at_].text) == "until") {
            ++at_;
            c.kind = command_kind::wait_until_text;
            keyword("text");
            c.text = quoted("the text to wait for");
            c.has_time = true;
            c.time = {false, 10000};
            if (more()) {
                keyword("within");
                c.time = time_span();
            }
            return;
        }
        c.kind = command_kind::wait;
        c.has_time = true;
        c.time = time_span();
    }

    void parse_expect(command& c) {
        const std::string what = word("what to expect");
        if (what == "no") {
            keyword("text");
            c.kind = command_kind::expect_text;
            c.negated = true;
            c.text = quoted("the text");
        } else if (what == "text") {
            c.kind = command_kind::expect_text;
            c.text = quoted("the text");
            if (more()) {
                keyword("inverted");
                c.flag = true;
            }
        } else if (what == "screen") {
            c.kind = command_kind::expect_screen;
            c.name = word("a screen name");
            if (screen_named(c.name) == nullptr) {
                std::string names;
                for (const screen_entry& s : screen_list) {
                    names += names.empty() ? "" : ", ";
                    names += s.name;
                }
                fail_at_last("unknown screen " + as_written() + " (one of: " + names + ")");
            }
        } else if (what == "lamp") {
            c.kind = command_kind::expect_lamp;
            const std::string state = word("lit or unlit");
            if (state != "lit" && state != "unlit") {
                fail_at_last("expected lit or unlit, found " + as_written());
            }
            c.flag = state == "lit";
        } else if (what == "frame") {
            c.kind = command_kind::expect_frame;
            c.path = png_path(true);
            c.path_column = tokens_[at_ - 1].column;
        } else if (what == "fault") {
            c.kind = command_kind::expect_fault;
            c.text = quoted("the fault's message");
        } else if (find_instrument_variable(what) != nullptr) {
            c.kind = command_kind::expect_variable;
            c.name = what;
            c.op = comparison_op();
            const token& t = next("a value");
            const auto n = split_number(t.text);
            const number_fit fit = t.quoted || !n || !n->unit.empty()
                                       ? number_fit::too_fine
                                       : scaled(n->number, 0, c.value);
            if (fit == number_fit::too_fine) {
                fail_at_last("expected a whole number, found " + echo(t.text));
            }
            if (fit == number_fit::too_large) {
                fail_at_last(cut_for_message(n->number) + " is out of range: no variable of the "
                                                          "instrument holds a number that large");
            }
        } else {
            fail_at_last("cannot expect " + as_written() +
                         " (text, no text, screen, lamp, frame, fault, or a variable of the "
                         "instrument such as volts_dv)");
        }
    }

    comparison comparison_op() {
        const std::string op = word("a comparison (== != < <= > >=)");
        static const std::pair<const char*, comparison> ops[] = {
            {"==", comparison::equal},  {"!=", comparison::not_equal},
            {"<", comparison::less},    {"<=", comparison::less_equal},
            {">", comparison::greater}, {">=", comparison::greater_equal}};
        for (const auto& [name, value] : ops) {
            if (op == name) {
                return value;
            }
        }
        fail_at_last("expected a comparison (== != < <= > >=), found " + as_written());
    }

    // A picture's file name: a PNG, or for a reference frame also a plain PBM (text that
    // reads in a review's diff).
    std::string png_path(bool pbm_too = false) {
        const token& t = next(pbm_too ? "a PNG or PBM file name" : "a PNG file name");
        const std::string name = lower(t.text);
        if (!name.ends_with(".png") && !(pbm_too && name.ends_with(".pbm"))) {
            fail_at_last(std::string("expected a file name ending in .png") +
                         (pbm_too ? " or .pbm" : "") + ", found " + echo(t.text));
        }
        if (t.text.size() > LONGEST_PATH) {
            fail_at_last("a file name of " + std::to_string(t.text.size()) +
                         " bytes: longer than any system allows (" + std::to_string(LONGEST_PATH) +
                         ")");
        }
        return t.text;
    }

    std::vector<token> tokens_;
    int line_;
    std::size_t at_ = 0;
};

} // namespace

bool parse_scenario(std::string_view text, scenario& out, parse_error& error) {
    // A byte-order mark, as some editors write at the start, says nothing more; UTF-16 text
    // would read as a NUL after every letter.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    } else if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        error = {{1, 1}, "the file is UTF-16 text: save it as UTF-8 (or plain ASCII)"};
        return false;
    }
    int line_number = 0;
    std::size_t from = 0;
    while (from <= text.size()) {
        // Lines end with LF, CR LF, or CR alone (as old Mac editors save them).
        std::size_t end = text.find_first_of("\r\n", from);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(from, end - from);
        ++line_number;
        from = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
        try {
            if (line.find('\0') != std::string_view::npos) {
                throw mistake{static_cast<int>(line.find('\0')) + 1,
                              "a NUL byte: this is not a text file"};
            }
            std::vector<token> tokens = tokens_of(line);
            if (!tokens.empty()) {
                out.commands.push_back(line_parser(std::move(tokens), line_number).parse());
            }
        } catch (const mistake& m) {
            error = {{line_number, m.column}, m.message};
            return false;
        }
        if (end == text.size()) {
            break;
        }
    }
    if (out.commands.empty()) {
        error = {{1, 1}, "nothing to play: the file holds no commands"};
        return false;
    }
    return true;
}

} // namespace txm9
