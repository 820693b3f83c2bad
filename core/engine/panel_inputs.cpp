#include "engine/panel_inputs.h"

namespace txm9 {

const panel_input* pressed_input(std::string_view name) {
    constexpr std::string_view PRESS = "press ";
    for (const panel_input& input : panel_inputs) {
        const std::string_view word = input.word;
        if (word.substr(0, PRESS.size()) == PRESS &&
            (word.substr(PRESS.size()) == name || input.id == name)) {
            return &input;
        }
    }
    return nullptr;
}

} // namespace txm9
