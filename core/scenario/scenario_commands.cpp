#include "scenario/scenario_commands.h"

namespace txm9 {

std::string command_word_list() {
    std::string list;
    for (const command_word& w : command_words) {
        list += list.empty() ? "" : ", ";
        list += w.word;
    }
    return list;
}

command_word_id word_of(command_kind kind) {
    switch (kind) {
    case command_kind::on:
        return command_word_id::on;
    case command_kind::off:
        return command_word_id::off;
    case command_kind::press:
        return command_word_id::press;
    case command_kind::turn:
        return command_word_id::turn;
    case command_kind::volts:
        return command_word_id::volts;
    case command_kind::amps:
        return command_word_id::amps;
    case command_kind::calibrate_box:
        return command_word_id::calibrate;
    case command_kind::key_fast_box:
        return command_word_id::keyfast;
    case command_kind::wait:
    case command_kind::wait_until_text:
        return command_word_id::wait;
    case command_kind::expect_text:
    case command_kind::expect_screen:
    case command_kind::expect_lamp:
    case command_kind::expect_variable:
    case command_kind::expect_frame:
    case command_kind::expect_fault:
        return command_word_id::expect;
    case command_kind::screenshot:
        return command_word_id::screenshot;
    case command_kind::print:
        return command_word_id::print;
    }
    return command_word_id::print;
}

} // namespace txm9
