#include "control/mcp_bridge.h"

#include <cmath>
#include <cstdio>

#include "scenario/message_text.h"

namespace txm9 {

namespace {

// JSON-RPC's own error codes.
constexpr int64_t PARSE_ERROR = -32700;
constexpr int64_t INVALID_REQUEST = -32600;
constexpr int64_t METHOD_NOT_FOUND = -32601;
constexpr int64_t INVALID_PARAMS = -32602;

// Offered when the assistant asks for a version that is not a date: the assistant then
// decides whether it can talk this one.
constexpr const char* PROTOCOL_VERSION = "2025-06-18";

const char TOOLS[] = R"([
{"name":"switch_on","description":"Press ON: the instrument resets, shows its 2-second start-up splash and starts measuring. Returns once the splash is over.","inputSchema":{"type":"object","properties":{},"additionalProperties":false}},
{"name":"switch_off","description":"Press OFF: the powered-on run ends.","inputSchema":{"type":"object","properties":{},"additionalProperties":false}},
{"name":"press","description":"Press a key: the knob (select), the left key or the right key. Returns two passes (50 ms) later, when the display shows the result.","inputSchema":{"type":"object","properties":{"key":{"type":"string","enum":["knob","left","right"]}},"required":["key"],"additionalProperties":false}},
{"name":"turn","description":"Turn the knob clockwise (cw) or anticlockwise (ccw), one step per pass.","inputSchema":{"type":"object","properties":{"direction":{"type":"string","enum":["cw","ccw"]},"steps":{"type":"integer","minimum":1,"maximum":1000}},"required":["direction"],"additionalProperties":false}},
{"name":"set_inputs","description":"Set the instrument's inputs: the battery voltage in volts and the current in amps (as the instrument will read them), or the raw converter counts 0..4096, and the Calibrate and KeyFast switches.","inputSchema":{"type":"object","properties":{"volts":{"type":"number"},"amps":{"type":"number"},"volts_count":{"type":"integer","minimum":0,"maximum":4096},"amps_count":{"type":"integer","minimum":0,"maximum":4096},"calibrate":{"type":"boolean"},"keyfast":{"type":"boolean"}},"additionalProperties":false}},
{"name":"wait","description":"Let instrument time pass: a number of seconds, or until a text shows on the display (at most within_seconds, default 5).","inputSchema":{"type":"object","properties":{"seconds":{"type":"number","minimum":0},"until_text":{"type":"string"},"within_seconds":{"type":"number","minimum":0}},"additionalProperties":false}},
{"name":"expect","description":"Check the instrument with one expectation of the scenario language, e.g. text \"MENU\", no text \"ALARM\", screen main, lamp lit, volts_dv == 126, fault \"DIVIDE BY ZERO\". Fails with what the display reads.","inputSchema":{"type":"object","properties":{"check":{"type":"string"}},"required":["check"],"additionalProperties":false}},
{"name":"read_display","description":"The texts on the display as the instrument's own glyphs read them, with place and face, and the active screen.","inputSchema":{"type":"object","properties":{},"additionalProperties":false}},
{"name":"variables","description":"The firmware's variables: the inspector's sections and every variable's value.","inputSchema":{"type":"object","properties":{},"additionalProperties":false}},
{"name":"screenshot","description":"The display as a PNG picture (114 x 64 pixels times the scale, default 4).","inputSchema":{"type":"object","properties":{"scale":{"type":"integer","minimum":1,"maximum":8}},"additionalProperties":false}},
{"name":"scenario","description":"Play lines of the scenario language (on, off, press knob, turn cw 3, volts 12.6 V, wait 2 s, wait until text \"MENU\" within 5 s, expect ...), one command a line.","inputSchema":{"type":"object","properties":{"lines":{"type":"string"}},"required":["lines"],"additionalProperties":false}}
])";

json_value rpc_error(const json_value& id, int64_t code, const std::string& message) {
    json_value error = json_value::object();
    error.set("code", json_value::number(code));
    error.set("message", json_value::string(message));
    json_value v = json_value::object();
    v.set("jsonrpc", json_value::string("2.0"));
    v.set("id", id);
    v.set("error", error);
    return v;
}

json_value rpc_result(const json_value& id, json_value result) {
    json_value v = json_value::object();
    v.set("jsonrpc", json_value::string("2.0"));
    v.set("id", id);
    v.set("result", std::move(result));
    return v;
}

json_value text_content(const std::string& text) {
    json_value c = json_value::object();
    c.set("type", json_value::string("text"));
    c.set("text", json_value::string(text));
    return c;
}

json_value tool_result(json_value content, bool is_error) {
    json_value result = json_value::object();
    result.set("content", std::move(content));
    result.set("isError", json_value::boolean(is_error));
    return result;
}

// A number of volts or amps as the scenario language writes it: tenths at most.
std::string reading(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", std::round(value * 10) / 10);
    return text;
}

std::string milliseconds(double seconds) {
    return std::to_string(static_cast<int64_t>(std::llround(seconds * 1000))) + " ms";
}

// A text of the assistant's in double quotes; false if it cannot be one (a line break).
bool quoted(const std::string& text, std::string& out) {
    if (text.find_first_of("\r\n") != std::string::npos) {
        return false;
    }
    out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
    return true;
}

json_value do_request(std::string lines) {
    json_value r = json_value::object();
    r.set("do", json_value::string(std::move(lines)));
    return r;
}

json_value query_request(const char* query) {
    json_value r = json_value::object();
    r.set("query", json_value::string(query));
    return r;
}

// A value of the right type is also one of the property's choices and within its bounds.
bool within_schema(const json_value& property, const json_value& value) {
    if (const json_value* choices = property.find("enum")) {
        bool listed = false;
        for (const json_value& choice : choices->items()) {
            listed = listed ||
                     (choice.is_string() && value.is_string() && choice.text() == value.text());
        }
        if (!listed) {
            return false;
        }
    }
    const std::optional<double> number = value.as_double();
    const json_value* least = property.find("minimum");
    const json_value* most = property.find("maximum");
    return !number || ((least == nullptr || *number >= least->as_double().value_or(*number)) &&
                       (most == nullptr || *number <= most->as_double().value_or(*number)));
}

} // namespace

mcp_bridge::mcp_bridge(std::string name, std::string version)
    : name_(std::move(name)), version_(std::move(version)) {}

const json_value& mcp_bridge::tools() {
    static const json_value tools = [] {
        json_value v;
        std::string error;
        parse_json(TOOLS, v, error);
        return v;
    }();
    return tools;
}

mcp_bridge::step mcp_bridge::from_client(const request_line& line) {
    step out;
    if (line.too_long) {
        out.to_client.push_back(write_json(
            rpc_error(json_value(), INVALID_REQUEST,
                      "a message is at most " + std::to_string(MOST_LINE_BYTES) + " bytes")));
        return out;
    }
    if (line.text.find_first_not_of(" \t\r") == std::string::npos) {
        return out;
    }
    json_value message;
    std::string error;
    if (!parse_json(line.text, message, error)) {
        out.to_client.push_back(
            write_json(rpc_error(json_value(), PARSE_ERROR, "not JSON: " + error)));
        return out;
    }
    const json_value* id = message.is_object() ? message.find("id") : nullptr;
    const json_value* method = message.is_object() ? message.find("method") : nullptr;
    const json_value* version = message.is_object() ? message.find("jsonrpc") : nullptr;
    const json_value no_id;
    if (method == nullptr || !method->is_string() || version == nullptr || !version->is_string() ||
        version->text() != "2.0" ||
        (id != nullptr && !id->is_string() && !id->is_number() && !id->is_null())) {
        if (message.is_object() && id != nullptr && method == nullptr) {
            return out; // a response to something this server never asks: nothing to say
        }
        out.to_client.push_back(write_json(
            rpc_error(id != nullptr ? *id : no_id, INVALID_REQUEST, "not a JSON-RPC 2.0 request")));
        return out;
    }
    if (id == nullptr) {
        return out; // a notification (initialized, cancelled): nothing to answer
    }
    const std::string& name = method->text();
    const json_value* params = message.find("params");
    if (name == "initialize") {
        const json_value* asked = params != nullptr ? params->find("protocolVersion") : nullptr;
        json_value result = json_value::object();
        result.set("protocolVersion",
                   json_value::string(asked != nullptr && asked->is_string() &&
                                              asked->text().size() == 10 && asked->text()[4] == '-'
                                          ? asked->text()
                                          : PROTOCOL_VERSION));
        json_value capabilities = json_value::object();
        json_value tools = json_value::object();
        tools.set("listChanged", json_value::boolean(false));
        capabilities.set("tools", tools);
        result.set("capabilities", capabilities);
        json_value info = json_value::object();
        info.set("name", json_value::string(name_));
        info.set("version", json_value::string(version_));
        result.set("serverInfo", info);
        result.set("instructions",
                   json_value::string("A TXM-9 battery monitor, simulated on instrument time: "
                                      "switch it on, set its inputs, press and turn, then read "
                                      "its display. Time passes only within a tool call."));
        out.to_client.push_back(write_json(rpc_result(*id, result)));
    } else if (name == "ping") {
        out.to_client.push_back(write_json(rpc_result(*id, json_value::object())));
    } else if (name == "tools/list") {
        json_value result = json_value::object();
        result.set("tools", tools());
        out.to_client.push_back(write_json(rpc_result(*id, result)));
    } else if (name == "tools/call") {
        const json_value* tool = params != nullptr ? params->find("name") : nullptr;
        const json_value* args = params != nullptr ? params->find("arguments") : nullptr;
        const json_value empty = json_value::object();
        if (tool == nullptr || !tool->is_string() || (args != nullptr && !args->is_object())) {
            out.to_client.push_back(write_json(
                rpc_error(*id, INVALID_PARAMS, "tools/call needs a tool's name and arguments")));
            return out;
        }
        std::string problem;
        std::optional<json_value> request =
            control_request_for(tool->text(), args != nullptr ? *args : empty, problem);
        if (!request) {
            out.to_client.push_back(write_json(rpc_error(*id, INVALID_PARAMS, problem)));
            return out;
        }
        const int64_t number = next_id_++;
        request->set("id", json_value::number(number));
        calls_[number] = {*id, tool->text()};
        out.control_line = write_json(*request);
    } else {
        out.to_client.push_back(write_json(
            rpc_error(*id, METHOD_NOT_FOUND, "unknown method \"" + cut_for_message(name) + "\"")));
    }
    return out;
}

std::optional<json_value> mcp_bridge::control_request_for(const std::string& tool,
                                                          const json_value& args,
                                                          std::string& problem) const {
    // Every argument must be one the tool's schema names, of its type.
    const json_value* input_schema = nullptr;
    for (const json_value& t : tools().items()) {
        if (t.find("name")->text() == tool) {
            input_schema = t.find("inputSchema");
        }
    }
    const json_value* schema = input_schema != nullptr ? input_schema->find("properties") : nullptr;
    if (schema == nullptr) {
        problem = "unknown tool \"" + cut_for_message(tool) + "\"";
        return std::nullopt;
    }
    for (const auto& [name, value] : args.members()) {
        const json_value* property = schema->find(name);
        if (property == nullptr) {
            problem = "the tool " + tool + " has no argument \"" + cut_for_message(name) + "\"";
            return std::nullopt;
        }
        const std::string& type = property->find("type")->text();
        const bool fits = type == "string"    ? value.is_string()
                          : type == "boolean" ? value.is_bool()
                          : type == "integer" ? value.as_integer().has_value()
                                              : value.as_double().has_value();
        if (!fits) {
            problem = "the argument \"" + name + "\" of " + tool + " is " +
                      (type == "integer" ? "a whole number" : "a " + type);
            return std::nullopt;
        }
        // The schema's choices and bounds hold too: an argument becomes part of a scenario
        // line, so a key named "knob\nscreenshot x.png" must not become two commands.
        if (!within_schema(*property, value)) {
            problem = "the argument \"" + name + "\" of " + tool +
                      " is out of its range: " + write_json(*property);
            return std::nullopt;
        }
    }
    if (const json_value* required = input_schema->find("required")) {
        for (const json_value& name : required->items()) {
            if (args.find(name.text()) == nullptr) {
                problem = "the tool " + tool + " needs the argument \"" + name.text() + "\"";
                return std::nullopt;
            }
        }
    }
    auto text = [&](const char* name) {
        const json_value* v = args.find(name);
        return v != nullptr ? v->text() : std::string();
    };
    auto number = [&](const char* name) -> std::optional<double> {
        const json_value* v = args.find(name);
        return v != nullptr ? v->as_double() : std::nullopt;
    };
    auto flag = [&](const char* name) -> std::optional<bool> {
        const json_value* v = args.find(name);
        return v != nullptr ? std::optional<bool>(v->as_bool()) : std::nullopt;
    };
    if (tool == "switch_on") {
        return do_request("on");
    }
    if (tool == "switch_off") {
        return do_request("off");
    }
    if (tool == "press") {
        return do_request("press " + text("key"));
    }
    if (tool == "turn") {
        const std::optional<double> steps = number("steps");
        return do_request("turn " + text("direction") +
                          (steps ? " " + std::to_string(static_cast<int64_t>(*steps)) : ""));
    }
    if (tool == "set_inputs") {
        std::string lines;
        if (const auto v = number("volts")) {
            lines += "volts " + reading(*v) + " V\n";
        }
        if (const auto v = number("volts_count")) {
            lines += "volts " + std::to_string(static_cast<int64_t>(*v)) + "\n";
        }
        if (const auto v = number("amps")) {
            lines += "amps " + reading(*v) + " A\n";
        }
        if (const auto v = number("amps_count")) {
            lines += "amps " + std::to_string(static_cast<int64_t>(*v)) + "\n";
        }
        if (const auto v = flag("calibrate")) {
            lines += std::string("calibrate ") + (*v ? "on" : "off") + "\n";
        }
        if (const auto v = flag("keyfast")) {
            lines += std::string("keyfast ") + (*v ? "on" : "off") + "\n";
        }
        if (lines.empty()) {
            problem = "set_inputs needs at least one input";
            return std::nullopt;
        }
        return do_request(lines);
    }
    if (tool == "wait") {
        const std::optional<double> seconds = number("seconds");
        const json_value* until = args.find("until_text");
        if ((seconds.has_value()) == (until != nullptr)) {
            problem = "wait needs either seconds or until_text";
            return std::nullopt;
        }
        if (seconds) {
            return do_request("wait " + milliseconds(*seconds));
        }
        std::string q;
        if (!quoted(until->text(), q)) {
            problem = "until_text is one line";
            return std::nullopt;
        }
        return do_request("wait until text " + q + " within " +
                          milliseconds(number("within_seconds").value_or(5.0)));
    }
    if (tool == "expect") {
        const std::string check = text("check");
        if (check.find_first_of("\r\n") != std::string::npos) {
            problem = "check is one expectation, on one line";
            return std::nullopt;
        }
        return do_request("expect " + check);
    }
    if (tool == "read_display") {
        return query_request("texts");
    }
    if (tool == "variables") {
        return query_request("variables");
    }
    if (tool == "screenshot") {
        json_value r = query_request("frame");
        r.set("format", json_value::string("png"));
        r.set("scale", json_value::number(static_cast<int64_t>(number("scale").value_or(4))));
        return r;
    }
    return do_request(text("lines"));
}

std::optional<std::string> mcp_bridge::from_session(const std::string& line) {
    json_value reply;
    std::string error;
    if (!parse_json(line, reply, error) || reply.find("id") == nullptr) {
        return std::nullopt; // the greeting, an event
    }
    const std::optional<int64_t> number = reply.find("id")->as_integer();
    const auto found = number ? calls_.find(*number) : calls_.end();
    if (found == calls_.end()) {
        return std::nullopt;
    }
    const call c = found->second;
    calls_.erase(found);
    return write_json(rpc_result(c.rpc_id, result_for(c, reply)));
}

json_value mcp_bridge::result_for(const call& c, const json_value& reply) {
    json_value content = json_value::array();
    if (const json_value* error = reply.find("error")) {
        content.push(text_content(error->find("desc")->text()));
        return tool_result(content, true);
    }
    const json_value& value = *reply.find("return");
    if (c.tool == "screenshot") {
        json_value image = json_value::object();
        image.set("type", json_value::string("image"));
        image.set("data", *value.find("data"));
        image.set("mimeType", json_value::string("image/png"));
        content.push(image);
    } else if (c.tool == "read_display") {
        std::string text;
        for (const json_value& t : value.find("texts")->items()) {
            text += "\"" + t.find("text")->text() + "\" " + t.find("face")->text() +
                    " x=" + t.find("x")->text() + " y=" + t.find("y")->text() +
                    (t.find("inverted")->as_bool() ? " inverted" : "") + "\n";
        }
        content.push(text_content(text.empty() ? "no readable text" : text));
    } else if (c.tool == "variables") {
        std::string text;
        for (const json_value& section : value.find("sections")->items()) {
            text += section.find("title")->text() + "\n";
            for (const json_value& row : section.find("rows")->items()) {
                text += "  " + row.find("label")->text() + ": " + row.find("value")->text() + "\n";
            }
        }
        content.push(text_content(text));
    } else {
        std::string text = "done";
        if (const json_value* notices = value.find("notices")) {
            for (const json_value& n : notices->items()) {
                text += "\n" + n.text();
            }
        }
        if (const json_value* printed = value.find("printed")) {
            text += "\n" + printed->text();
        }
        content.push(text_content(text));
    }
    json_value result = tool_result(content, false);
    if (c.tool == "read_display" || c.tool == "variables") {
        result.set("structuredContent", value);
    }
    return result;
}

} // namespace txm9
