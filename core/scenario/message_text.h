// Texts that go into messages and reports: a scenario's words and texts are the user's bytes,
// which may be anything, but what the runner prints and a JUnit report holds is readable UTF-8
// of a sensible length.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace txm9 {

// `text` as valid UTF-8 without control characters: a byte that starts no valid UTF-8
// character (or a control character other than a line break or tab) is shown as \xNN.
std::string valid_utf8(std::string_view text);

// A word or text of the scenario as a message echoes it: at most `most` bytes, cut between
// two characters and marked "...(N bytes)" when longer.
std::string cut_for_message(std::string_view text, std::size_t most = 40);

} // namespace txm9
