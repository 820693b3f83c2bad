// One bilingual text: the English text zero-padded to the pair's stride, then the French
// text zero-padded to the same stride. The stride is the longer text plus its terminator,
// so it differs from pair to pair.
#pragma once

#include <cstddef>
#include <cstdint>

#include "firmware/monitor/state.h"

template <std::size_t Stride> struct StringPair {
    static constexpr std::size_t stride = Stride;
    char bytes[2 * Stride];
};

// Builds a pair from its English and French texts; the stride follows from the longer one.
template <std::size_t En, std::size_t Fr>
consteval auto make_string_pair(const char (&english)[En], const char (&french)[Fr]) {
    constexpr std::size_t stride = En > Fr ? En : Fr;
    StringPair<stride> pair{};
    for (std::size_t i = 0; i < En; ++i) {
        pair.bytes[i] = english[i];
    }
    for (std::size_t i = 0; i < Fr; ++i) {
        pair.bytes[stride + i] = french[i];
    }
    return pair;
}

// The text of the language in force: the pair's start plus `language` x stride. Screens
// select anew at every draw, so a language change shows on the very next pass.
template <std::size_t Stride> const char* select_text(const StringPair<Stride>& pair) {
    return pair.bytes + static_cast<std::size_t>(language) * Stride;
}
