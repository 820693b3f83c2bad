#include "scenario/scenario_writer.h"

#include <cstdint>

#include "engine/panel_inputs.h"
#include "scenario/scenario_commands.h"

namespace txm9 {

namespace {

// "press knob", "turn cw": the words of the key's input.
std::string key_words(uint32_t code) {
    const int input = code <= UINT8_MAX ? input_index(static_cast<uint8_t>(code)) : -1;
    return input >= 0 ? panel_inputs[input].word : "press ?";
}

std::string duration_text(const duration& d) {
    if (d.in_passes) {
        return std::to_string(d.amount) + (d.amount == 1 ? " pass" : " passes");
    }
    return std::to_string(d.amount) + " ms";
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

// Tenths as a reading: -39 is "-3.9".
std::string tenths_text(int64_t v) {
    const int64_t m = v < 0 ? -v : v;
    return (v < 0 ? "-" : "") + std::to_string(m / 10) + "." + std::to_string(m % 10);
}

// A path as a word, or quoted when it holds what would end a word.
std::string path_text(const std::string& path) {
    return path.empty() || path.find_first_of(" \t#\"") != std::string::npos ? quoted(path) : path;
}

std::string word(command_word_id id) {
    return std::string(command_words[static_cast<int>(id)].word);
}

std::string then_wait(const command& c) {
    return c.has_time ? " then wait " + duration_text(c.time) : std::string();
}

std::string write_on(const command& c) {
    return word(command_word_id::on) + (c.has_time ? " " + duration_text(c.time) : "");
}
std::string write_off(const command&) {
    return word(command_word_id::off);
}
std::string write_press(const command& c) {
    return key_words(c.key) + then_wait(c);
}
std::string write_turn(const command& c) {
    return key_words(c.key) + (c.count > 1 ? " " + std::to_string(c.count) : "") + then_wait(c);
}
std::string slider(command_word_id id, const char* unit, const command& c) {
    return word(id) + " " +
           (c.has_value ? tenths_text(c.value) + " " + unit : std::to_string(c.count));
}
std::string write_volts(const command& c) {
    return slider(command_word_id::volts, "V", c);
}
std::string write_amps(const command& c) {
    return slider(command_word_id::amps, "A", c);
}
std::string write_calibrate(const command& c) {
    return word(command_word_id::calibrate) + (c.flag ? " on" : " off");
}
std::string write_keyfast(const command& c) {
    return word(command_word_id::keyfast) + (c.flag ? " on" : " off");
}
std::string write_wait(const command& c) {
    if (c.kind == command_kind::wait_until_text) {
        return "wait until text " + quoted(c.text) + " within " + duration_text(c.time);
    }
    return "wait " + duration_text(c.time);
}
std::string write_expect(const command& c) {
    static const char* const ops[] = {"==", "!=", "<", "<=", ">", ">="};
    switch (c.kind) {
    case command_kind::expect_text:
        return std::string(c.negated ? "expect no text " : "expect text ") + quoted(c.text) +
               (c.flag ? " inverted" : "");
    case command_kind::expect_screen:
        return "expect screen " + c.name;
    case command_kind::expect_lamp:
        return std::string("expect lamp ") + (c.flag ? "lit" : "unlit");
    case command_kind::expect_variable:
        return "expect " + c.name + " " + ops[static_cast<int>(c.op)] + " " +
               std::to_string(c.value);
    case command_kind::expect_frame:
        return "expect frame " + path_text(c.path);
    default:
        return "expect fault " + quoted(c.text);
    }
}
std::string write_screenshot(const command& c) {
    return word(command_word_id::screenshot) + " " + path_text(c.path) +
           (c.count != 2 ? " scale " + std::to_string(c.count) : "");
}
std::string write_print(const command&) {
    return word(command_word_id::print);
}

using writer = std::string (*)(const command&);
constexpr writer writers[] = {
#define TXM9_COMMAND(id, word, form, help) &write_##id,
#include "scenario/scenario_commands.def"
#undef TXM9_COMMAND
};

} // namespace

std::string command_text(const command& c) {
    return writers[static_cast<int>(word_of(c.kind))](c);
}

} // namespace txm9
