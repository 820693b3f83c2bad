// An assistant's tool server (the Model Context Protocol: JSON-RPC 2.0, one message a line)
// in front of a control session: initialize, tools/list and ping are answered here; each
// tools/call becomes one control request, and its reply becomes the call's result. The tools
// are the panel's controls and the display read back: switch on and off, press, turn, set the
// inputs, wait, expect, the display's texts, the variables, a screenshot (an image), and any
// scenario lines.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "control/json.h"
#include "control/line_reader.h"

namespace txm9 {

class mcp_bridge {
public:
    mcp_bridge(std::string name, std::string version);

    // A message from the assistant: the responses to send it at once, and the control request
    // line to hand to the session, if it makes one.
    struct step {
        std::vector<std::string> to_client;
        std::optional<std::string> control_line;
    };
    step from_client(const request_line& line);

    // A line the session sent: the response to the tools/call it answers, if it is a reply;
    // the greeting and events are not the assistant's business.
    std::optional<std::string> from_session(const std::string& line);

    // The tools offered, as tools/list gives them.
    static const json_value& tools();

private:
    struct call {
        json_value rpc_id;
        std::string tool;
    };
    // A tools/call as a control request (its `id` set later), or an error message.
    std::optional<json_value> control_request_for(const std::string& tool, const json_value& args,
                                                  std::string& problem) const;
    static json_value result_for(const call& c, const json_value& reply);

    std::string name_;
    std::string version_;
    int64_t next_id_ = 1;
    std::map<int64_t, call> calls_;
};

} // namespace txm9
