// The control protocol's messages, one JSON object a line, on the conventions of a machine
// emulator's monitor: the server greets with its name, version and capabilities; every request
// may carry an `id` (any JSON value) that its reply echoes; a reply is {"id":…,"return":…} or
// {"id":…,"error":{"class":…,"desc":…}}; events come unasked with the instrument time.
//
//   {"id":1,"do":"press knob"}            any lines of the scenario language
//   {"id":2,"query":"screen"}             the active screen, the run's phase, the lamp, the time
//   {"id":3,"query":"texts"}              the texts the LCD reader finds, with place and face
//   {"id":4,"query":"frame","format":"png","scale":2}   or "format":"pbm" (P1 text)
//   {"id":5,"query":"variables"}          the inspector's sections and every variable's value
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "control/json.h"
#include "control/line_reader.h"

namespace txm9 {

// The classes of error a reply can carry.
namespace control_error {
inline constexpr const char* MALFORMED = "malformed";       // not JSON
inline constexpr const char* TOO_LONG = "too_long";         // a line over 64 KB
inline constexpr const char* BAD_REQUEST = "bad_request";   // JSON, but not a request
inline constexpr const char* UNKNOWN = "unknown_request";   // no such query
inline constexpr const char* SCENARIO = "scenario_mistake"; // the scenario line is wrong
inline constexpr const char* FAILED = "expectation_failed"; // an expectation did not hold
inline constexpr const char* CANNOT_RUN = "cannot_run";     // a command cannot be done now
inline constexpr const char* BUSY = "busy"; // someone else drives the panel: another client, a play
} // namespace control_error

enum class query_kind : uint8_t { screen, texts, frame, variables };

struct control_request {
    json_value id; // echoed in the reply
    bool has_id = false;
    bool is_query = false;
    std::string scenario_text; // a `do`
    query_kind query = query_kind::screen;
    bool pbm = false; // a frame as P1 text rather than a PNG
    int scale = 1;    // a PNG frame at this many times the display's size, 1..8
};

struct request_problem {
    const char* error_class = nullptr; // null: no problem
    std::string desc;
    json_value id; // the request's id, if it could be read
    bool has_id = false;
};

// Reads one request line; a problem says why it is none.
bool parse_request(std::string_view line, control_request& out, request_problem& problem);

// A well-formed request that does something (a `do`), not a question or a mistake.
bool asks_to_do(const request_line& line);
// While a scenario plays on a frontend's panel it keeps the time and gives the inputs, so a
// request that does something is refused: the `busy` error line for it; nothing for a
// question or a mistake, which go their usual way.
std::optional<std::string> refusal_during_play(const request_line& line);

// The replies and events as lines (without the end of line).
std::string reply_line(const json_value* id, const json_value& value);
std::string error_line(const json_value* id, const char* error_class, const std::string& desc,
                       const json_value* data = nullptr);
std::string event_line(const char* name, uint64_t time_ms, const json_value& data);
std::string greeting_line(const std::string& name, const std::string& version,
                          const std::string& frontend);

// Standard base64, for a PNG frame.
std::string base64(std::string_view bytes);

} // namespace txm9
