#include "panel/session_handover.h"

#include <sstream>

namespace txm9 {

namespace {

constexpr std::string_view FIRST_LINE = "txm9-session-handover 1";

} // namespace

std::string session_handover::frontend_value(std::string_view name) const {
    for (const auto& [key, value] : frontend) {
        if (key == name) {
            return value;
        }
    }
    return {};
}

std::string handover_text(const session_handover& h) {
    std::ostringstream out;
    out.precision(17);
    out << FIRST_LINE << "\n"
        << "frames " << h.frames << "\nms " << h.ms << "\nrunning " << h.running << "\nscreen "
        << h.screen << "\nspeed " << h.speed << "\npaused " << h.paused << "\nbuild_s " << h.build_s
        << "\n";
    for (const session_recorder::input& in : h.inputs) {
        out << "input " << static_cast<int>(in.what) << " " << in.value << " " << in.stored << " "
            << in.running << " " << in.frame << " " << in.ms << " " << in.screen << "\n";
    }
    for (const auto& [name, value] : h.frontend) {
        out << "frontend " << name << " " << value << "\n";
    }
    return out.str();
}

bool read_handover(std::string_view text, session_handover& h, std::string& problem) {
    std::istringstream in{std::string(text)};
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& what) {
        problem = "line " + std::to_string(number) + ": " + what;
        return false;
    };
    if (!std::getline(in, line) || line != FIRST_LINE) {
        number = 1;
        return fail("not a session handed over by the simulator");
    }
    number = 1;
    h = {};
    while (std::getline(in, line)) {
        ++number;
        std::istringstream words(line);
        std::string name;
        words >> name;
        bool ok = true;
        if (name.empty()) {
            continue;
        } else if (name == "input") {
            int what = 0;
            session_recorder::input i{};
            ok = static_cast<bool>(words >> what >> i.value >> i.stored >> i.running >> i.frame >>
                                   i.ms >> i.screen) &&
                 what >= 0 && what <= static_cast<int>(session_recorder::kind::key_fast);
            i.what = static_cast<session_recorder::kind>(what);
            h.inputs.push_back(i);
        } else if (name == "frontend") {
            std::string key;
            ok = static_cast<bool>(words >> key);
            std::string value;
            std::getline(words >> std::ws, value);
            h.frontend.emplace_back(key, value);
        } else if (name == "frames") {
            ok = static_cast<bool>(words >> h.frames);
        } else if (name == "ms") {
            ok = static_cast<bool>(words >> h.ms);
        } else if (name == "running") {
            ok = static_cast<bool>(words >> h.running);
        } else if (name == "screen") {
            ok = static_cast<bool>(words >> h.screen);
        } else if (name == "speed") {
            ok = static_cast<bool>(words >> h.speed) && h.speed > 0;
        } else if (name == "paused") {
            ok = static_cast<bool>(words >> h.paused);
        } else if (name == "build_s") {
            ok = static_cast<bool>(words >> h.build_s);
        } else {
            return fail("unknown entry \"" + name + "\"");
        }
        if (!ok) {
            return fail("cannot read \"" + line + "\"");
        }
    }
    return true;
}

} // namespace txm9
