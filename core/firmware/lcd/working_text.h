// Texts are drawn from a 32-byte working copy, the way the instrument copies its constant
// texts out of program memory before drawing them; a text holds at most 31 characters.
#pragma once

#include <cstdint>

inline constexpr uint8_t TEXT_MAX_LENGTH = 31;

struct WorkingText {
    char chars[TEXT_MAX_LENGTH + 1];
    uint8_t length; // counted in 8 bits, 0..31
};

inline WorkingText working_copy(const char* text) {
    WorkingText copy{};
    while (copy.length < TEXT_MAX_LENGTH && text[copy.length] != '\0') {
        copy.chars[copy.length] = text[copy.length];
        ++copy.length;
    }
    copy.chars[copy.length] = '\0';
    return copy;
}
