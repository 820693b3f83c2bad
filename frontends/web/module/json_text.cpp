#include "json_text.h"

#include <cstdio>

namespace txm9 {

std::string json_string(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

const char* status_name(outcome_status status) {
    switch (status) {
    case outcome_status::passed:
        return "passed";
    case outcome_status::failed:
        return "failed";
    case outcome_status::cannot_run:
        return "cannot_run";
    }
    return "?";
}

} // namespace txm9
