#include "control/control_protocol.h"

#include "scenario/message_text.h"

namespace txm9 {

namespace {

const char* const QUERY_NAMES[] = {"screen", "texts", "frame", "variables"};

bool fail(request_problem& problem, const char* error_class, std::string desc) {
    problem.error_class = error_class;
    problem.desc = std::move(desc);
    return false;
}

bool known_member(std::string_view name) {
    return name == "id" || name == "do" || name == "query" || name == "format" || name == "scale";
}

} // namespace

bool parse_request(std::string_view line, control_request& out, request_problem& problem) {
    json_value v;
    std::string error;
    if (!parse_json(line, v, error)) {
        return fail(problem, control_error::MALFORMED, "not JSON: " + error);
    }
    if (!v.is_object()) {
        return fail(problem, control_error::BAD_REQUEST,
                    "a request is a JSON object, such as {\"id\":1,\"do\":\"press knob\"}");
    }
    if (const json_value* id = v.find("id")) {
        out.id = problem.id = *id;
        out.has_id = problem.has_id = true;
    }
    for (const auto& [name, member] : v.members()) {
        if (!known_member(name)) {
            return fail(problem, control_error::BAD_REQUEST,
                        "unknown member \"" + cut_for_message(name) +
                            "\" (a request has id, do or query, and a frame's format and scale)");
        }
    }
    const json_value* action = v.find("do");
    const json_value* query = v.find("query");
    if ((action == nullptr) == (query == nullptr)) {
        return fail(problem, control_error::BAD_REQUEST,
                    "a request has either \"do\" (a scenario line) or \"query\"");
    }
    if (action != nullptr) {
        if (!action->is_string()) {
            return fail(problem, control_error::BAD_REQUEST,
                        "\"do\" is a string: lines of the scenario language");
        }
        if (v.find("format") != nullptr || v.find("scale") != nullptr) {
            return fail(problem, control_error::BAD_REQUEST,
                        "\"format\" and \"scale\" belong to a frame query");
        }
        out.scenario_text = action->text();
        return true;
    }
    out.is_query = true;
    if (!query->is_string()) {
        return fail(problem, control_error::BAD_REQUEST,
                    "\"query\" is a string: screen, texts, frame or variables");
    }
    bool found = false;
    for (int k = 0; k < 4; ++k) {
        if (query->text() == QUERY_NAMES[k]) {
            out.query = static_cast<query_kind>(k);
            found = true;
        }
    }
    if (!found) {
        return fail(problem, control_error::UNKNOWN,
                    "unknown query \"" + cut_for_message(query->text()) +
                        "\": screen, texts, frame or variables");
    }
    const json_value* format = v.find("format");
    const json_value* scale = v.find("scale");
    if (out.query != query_kind::frame && (format != nullptr || scale != nullptr)) {
        return fail(problem, control_error::BAD_REQUEST,
                    "\"format\" and \"scale\" belong to a frame query");
    }
    if (format != nullptr) {
        if (!format->is_string() || (format->text() != "png" && format->text() != "pbm")) {
            return fail(problem, control_error::BAD_REQUEST,
                        "a frame's \"format\" is \"png\" or \"pbm\"");
        }
        out.pbm = format->text() == "pbm";
    }
    if (scale != nullptr) {
        const std::optional<int64_t> n = scale->as_integer();
        if (!n || *n < 1 || *n > 8 || out.pbm) {
            return fail(problem, control_error::BAD_REQUEST,
                        "a PNG frame's \"scale\" is a whole number from 1 to 8");
        }
        out.scale = static_cast<int>(*n);
    }
    return true;
}

std::string reply_line(const json_value* id, const json_value& value) {
    json_value reply = json_value::object();
    if (id != nullptr) {
        reply.set("id", *id);
    }
    reply.set("return", value);
    return write_json(reply);
}

std::string error_line(const json_value* id, const char* error_class, const std::string& desc,
                       const json_value* data) {
    json_value error = json_value::object();
    error.set("class", json_value::string(error_class));
    error.set("desc", json_value::string(desc));
    if (data != nullptr) {
        for (const auto& [name, member] : data->members()) {
            error.set(name, member);
        }
    }
    json_value reply = json_value::object();
    if (id != nullptr) {
        reply.set("id", *id);
    }
    reply.set("error", error);
    return write_json(reply);
}

std::string event_line(const char* name, uint64_t time_ms, const json_value& data) {
    json_value event = json_value::object();
    event.set("event", json_value::string(name));
    event.set("time_ms", json_value::number(static_cast<int64_t>(time_ms)));
    event.set("data", data);
    return write_json(event);
}

std::string greeting_line(const std::string& name, const std::string& version,
                          const std::string& frontend) {
    json_value capabilities = json_value::array();
    for (const char* c : {"do", "query-screen", "query-texts", "query-frame-png", "query-frame-pbm",
                          "query-variables", "events"}) {
        capabilities.push(json_value::string(c));
    }
    json_value greeting = json_value::object();
    greeting.set("name", json_value::string(name));
    greeting.set("version", json_value::string(version));
    greeting.set("frontend", json_value::string(frontend));
    greeting.set("capabilities", capabilities);
    json_value line = json_value::object();
    line.set("greeting", greeting);
    return write_json(line);
}

bool asks_to_do(const request_line& line) {
    control_request request;
    request_problem problem;
    return !line.too_long && parse_request(line.text, request, problem) && !request.is_query;
}

std::optional<std::string> refusal_during_play(const request_line& line) {
    control_request request;
    request_problem problem;
    if (line.too_long || !parse_request(line.text, request, problem) || request.is_query) {
        return std::nullopt;
    }
    return error_line(request.has_id ? &request.id : nullptr, control_error::BUSY,
                      "a scenario is playing on the panel; a click on the panel stops it");
}

std::string base64(std::string_view bytes) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const uint32_t n = static_cast<uint8_t>(bytes[i]) << 16 |
                           static_cast<uint8_t>(bytes[i + 1]) << 8 |
                           static_cast<uint8_t>(bytes[i + 2]);
        out += alphabet[n >> 18];
        out += alphabet[(n >> 12) & 63];
        out += alphabet[(n >> 6) & 63];
        out += alphabet[n & 63];
    }
    if (i < bytes.size()) {
        uint32_t n = static_cast<uint8_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) {
            n |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        }
        out += alphabet[n >> 18];
        out += alphabet[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? alphabet[(n >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

} // namespace txm9
