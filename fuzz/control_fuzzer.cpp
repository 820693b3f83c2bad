// The control protocol on arbitrary bytes: every line is read as JSON (what is read must
// write and read back to the same text), as a request and as an assistant's message, and the
// whole input is then served to a headless session as a client's lines, with a limit on
// instrument time and without touching files. Any reply is fine; a crash, a sanitizer report,
// a hang, an escaping exception or a reply that is not one line of valid JSON is not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "control/control_protocol.h"
#include "control/headless_control.h"
#include "control/json.h"
#include "control/line_reader.h"
#include "control/mcp_bridge.h"

using namespace txm9;

namespace {

void check_json_line(const std::string& line) {
    json_value v;
    std::string error;
    if (line.find('\n') != std::string::npos || !parse_json(line, v, error)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    line_reader lines;
    lines.feed(bytes);
    lines.finish();
    mcp_bridge bridge("fuzz", "0");
    std::vector<request_line> all;
    while (std::optional<request_line> line = lines.next()) {
        json_value v;
        std::string error;
        if (parse_json(line->text, v, error)) {
            const std::string once = write_json(v);
            json_value again;
            if (!parse_json(once, again, error) || write_json(again) != once) {
                std::abort();
            }
        }
        control_request request;
        request_problem problem;
        (void)parse_request(line->text, request, problem);
        for (const std::string& response : bridge.from_client(*line).to_client) {
            check_json_line(response);
        }
        all.push_back(std::move(*line));
    }
    player_options options;
    options.files = false;
    options.time_limit_ms = 5 * 60 * 1000;
    std::size_t at = 0;
    serve_headless(
        [&]() -> std::optional<request_line> {
            return at < all.size() ? std::optional<request_line>(all[at++]) : std::nullopt;
        },
        check_json_line, {"fuzz", "0", "headless"}, options);
    return 0;
}
