// The control protocol as a client meets it: a headless session fed request lines, its
// replies and events read back as JSON.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/control_protocol.h"
#include "control/headless_control.h"
#include "control/json.h"
#include "control/line_reader.h"
#include "control/mcp_bridge.h"

using namespace txm9;

namespace {

// Every line the session sends for `requests`, parsed.
std::vector<json_value> session(const std::vector<std::string>& requests) {
    std::size_t at = 0;
    std::vector<json_value> out;
    serve_headless(
        [&]() -> std::optional<request_line> {
            if (at == requests.size()) {
                return std::nullopt;
            }
            return request_line{requests[at++], false};
        },
        [&](const std::string& line) {
            json_value v;
            std::string error;
            EXPECT_TRUE(parse_json(line, v, error)) << line << ": " << error;
            out.push_back(v);
        },
        {"test", "0", "headless"}, {});
    return out;
}

// The reply carrying `id` (a number), or null.
const json_value* reply(const std::vector<json_value>& lines, int64_t id) {
    for (const json_value& line : lines) {
        const json_value* i = line.find("id");
        if (i != nullptr && i->as_integer() == id) {
            return &line;
        }
    }
    return nullptr;
}

std::string error_class(const std::vector<json_value>& lines, int64_t id) {
    const json_value* r = reply(lines, id);
    const json_value* e = r != nullptr ? r->find("error") : nullptr;
    return e != nullptr ? e->find("class")->text() : "";
}

} // namespace

TEST(Json, ReadsStrictlyAndWritesOneLine) {
    const struct {
        std::string text;
        bool valid;
    } cases[] = {
        {R"({"a":[1,-2.5e3,true,null,"x\u00e9\ud83d\ude00"]})", true},
        {"  7  ", true},
        {R"({"a":1,})", false},
        {R"({"a":1,"a":2})", false},
        {"[1,]", false},
        {"01", false},
        {"NaN", false},
        {"\"\x01\"", false},
        {"\"\xC0\x80\"", false},
        {R"("\ud800")", false},
        {"[1] x", false},
        {std::string(100, '['), false},
    };
    for (const auto& c : cases) {
        json_value v;
        std::string error;
        EXPECT_EQ(parse_json(c.text, v, error), c.valid) << c.text << ": " << error;
    }
    json_value v;
    std::string error;
    ASSERT_TRUE(parse_json(R"({"id":12345678901234567890,"s":"a\nb\"\u0001"})", v, error));
    EXPECT_EQ(write_json(v), R"({"id":12345678901234567890,"s":"a\nb\"\u0001"})");
    EXPECT_EQ(json_quote("\xFF"), "\"\xEF\xBF\xBD\"");
    EXPECT_EQ(base64("TXM-9"), "VFhNLTk=");
}

TEST(LineReader, SkipsALineOverTheLimitAndReadsOn) {
    line_reader r;
    r.feed("{\"id\":1}\r\n" + std::string(MOST_LINE_BYTES, 'x'));
    r.feed(std::string(10, 'x') + "\nlast");
    EXPECT_EQ(r.next()->text, "{\"id\":1}");
    EXPECT_TRUE(r.next()->too_long);
    EXPECT_FALSE(r.next());
    r.finish();
    EXPECT_EQ(r.next()->text, "last");
}

TEST(ControlSession, GreetsAndEchoesIdsAndPlaysScenarioLines) {
    const std::vector<json_value> out = session({
        R"({"id":1,"do":"volts 12.6 V"})",
        R"({"id":2,"do":"on"})",
        R"({"id":3,"do":"press knob"})",
        R"({"id":4,"query":"screen"})",
        R"({"id":5,"do":"expect text \"NO SUCH\""})",
        R"({"id":6,"do":"wait until text \"EXIT\" within 1 s\nexpect screen menu"})",
        R"({"id":7,"do":"off"})",
        R"({"id":8,"do":"expect screen main"})",
    });
    const json_value* greeting = out.at(0).find("greeting");
    ASSERT_NE(greeting, nullptr);
    EXPECT_EQ(greeting->find("name")->text(), "test");
    for (int id : {1, 2, 3, 4, 6, 7}) {
        ASSERT_NE(reply(out, id), nullptr) << id;
        EXPECT_NE(reply(out, id)->find("return"), nullptr) << write_json(*reply(out, id));
    }
    EXPECT_EQ(reply(out, 4)->find("return")->find("screen")->text(), "menu");
    EXPECT_EQ(error_class(out, 5), control_error::FAILED);
    const std::string desc = reply(out, 5)->find("error")->find("desc")->text();
    EXPECT_NE(desc.find("\"MAIN MENU\""), std::string::npos) << desc;
    EXPECT_EQ(error_class(out, 8), control_error::FAILED);
    // Events come before the reply of the request whose time they happened in, with that time.
    std::vector<std::string> events;
    for (const json_value& line : out) {
        if (const json_value* e = line.find("event")) {
            events.push_back(e->text() + "@" + line.find("time_ms")->text());
        }
    }
    EXPECT_EQ(events, (std::vector<std::string>{"run_started@0", "screen_changed@2000", "lamp@2000",
                                                "screen_changed@2050", "run_ended@2075"}));
}

TEST(ControlSession, BadRequestsGetClearErrorsAndTheSessionGoesOn) {
    const std::vector<json_value> out = session({
        "not json",
        "[1,2]",
        R"({"id":1,"query":"weather"})",
        R"({"id":2,"do":"press nose"})",
        R"({"id":3,"do":"press knob","query":"screen"})",
        R"({"id":4,"dance":1})",
        R"({"id":5,"query":"frame","scale":9})",
        R"({"id":6,"do":"volts 99 V"})",
        R"({"id":7,"do":"on"})",
        R"({"id":8,"query":"texts"})",
        R"({"id":9,"query":"frame","format":"pbm"})",
        R"({"id":10,"query":"frame","scale":2})",
        R"({"id":11,"query":"variables"})",
    });
    EXPECT_EQ(out.at(1).find("error")->find("class")->text(), control_error::MALFORMED);
    EXPECT_EQ(out.at(2).find("error")->find("class")->text(), control_error::BAD_REQUEST);
    EXPECT_EQ(error_class(out, 1), control_error::UNKNOWN);
    EXPECT_EQ(error_class(out, 2), control_error::SCENARIO);
    EXPECT_EQ(error_class(out, 3), control_error::BAD_REQUEST);
    EXPECT_EQ(error_class(out, 4), control_error::BAD_REQUEST);
    EXPECT_EQ(error_class(out, 5), control_error::BAD_REQUEST);
    EXPECT_EQ(error_class(out, 6), control_error::SCENARIO);
    // ... and the instrument still answers every query.
    const json_value* texts = reply(out, 8)->find("return")->find("texts");
    ASSERT_FALSE(texts->items().empty());
    EXPECT_EQ(texts->items()[0].find("face")->text(), "medium numerals");
    const std::string pbm = reply(out, 9)->find("return")->find("data")->text();
    EXPECT_EQ(pbm.rfind("P1\n114 64\n", 0), 0u);
    EXPECT_EQ(pbm.size(), 10u + 64 * 115);
    EXPECT_EQ(reply(out, 10)->find("return")->find("width")->as_integer(), 228);
    EXPECT_EQ(reply(out, 10)->find("return")->find("data")->text().rfind("iVBORw0KGgo", 0), 0u);
    const json_value* values = reply(out, 11)->find("return")->find("values");
    EXPECT_EQ(values->find("active_screen")->text(), "main");
    EXPECT_FALSE(reply(out, 11)->find("return")->find("sections")->items().empty());
}

// A tools/call's arguments become a scenario line: only what the tool's schema allows gets
// through, so an argument can never smuggle in a second command.
TEST(McpBridge, TakesOnlyArgumentsItsSchemaAllows) {
    const struct {
        const char* call;
        bool becomes_request;
    } cases[] = {
        {R"("press","arguments":{"key":"knob"})", true},
        {R"("press","arguments":{"key":"knob\nscreenshot x.png"})", false},
        {R"("press","arguments":{})", false},
        {R"("turn","arguments":{"direction":"cw","steps":1000})", true},
        {R"("turn","arguments":{"direction":"cw","steps":1001})", false},
        {R"("turn","arguments":{"direction":"up"})", false},
        {R"("screenshot","arguments":{"scale":0})", false},
        {R"("set_inputs","arguments":{"volts_count":4097})", false},
    };
    for (const auto& c : cases) {
        mcp_bridge bridge("test", "0");
        const std::string message =
            std::string(R"({"jsonrpc":"2.0","id":7,"method":"tools/call","params":{"name":)") +
            c.call + "}}";
        const mcp_bridge::step step = bridge.from_client(request_line{message, false});
        EXPECT_EQ(step.control_line.has_value(), c.becomes_request) << c.call;
        if (!c.becomes_request) {
            ASSERT_EQ(step.to_client.size(), 1u) << c.call;
            EXPECT_NE(step.to_client[0].find("\"code\":-32602"), std::string::npos)
                << step.to_client[0];
        }
    }
}
