// The scenario language's commands as one list (scenario_commands.def): what the parser, the
// writer, the messages that name the commands and the manual page's check all read.
#pragma once

#include <string>
#include <string_view>

#include "scenario/scenario.h"

namespace txm9 {

enum class command_word_id : uint8_t {
#define TXM9_COMMAND(id, word, form, help) id,
#include "scenario/scenario_commands.def"
#undef TXM9_COMMAND
};

struct command_word {
    command_word_id id;
    std::string_view word; // starts the line, in lower case (words are case-insensitive)
    std::string_view form; // how the command is written
    std::string_view help; // what it does, in one line
};

inline constexpr command_word command_words[] = {
#define TXM9_COMMAND(id, word, form, help) {command_word_id::id, word, form, help},
#include "scenario/scenario_commands.def"
#undef TXM9_COMMAND
};

// The commands' words for a message: "on, off, press, ...".
std::string command_word_list();

// The word that a command of this kind starts with.
command_word_id word_of(command_kind kind);

} // namespace txm9
