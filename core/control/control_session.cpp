#include "control/control_session.h"

#include "engine/inspector_model.h"
#include "engine/instrument_variables.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "lcd_reader/lcd_text_reader.h"
#include "picture_files/pbm_text.h"
#include "scenario/frame_files.h"
#include "scenario/play_observer.h"
#include "scenario/scenario_parser.h"

namespace txm9 {

namespace {

const char* phase_name(panel_phase phase) {
    switch (phase) {
    case panel_phase::off:
        return "off";
    case panel_phase::splash:
        return "splash";
    case panel_phase::running:
        return "running";
    }
    return "off";
}

json_value screen_answer(const scenario_panel& panel) {
    json_value v = json_value::object();
    v.set("screen", json_value::string(screen_name(active_screen)));
    v.set("phase", json_value::string(phase_name(panel.engine().phase())));
    v.set("runs", json_value::number(static_cast<int64_t>(panel.engine().depth())));
    v.set("lamp", json_value::boolean(panel.lamp_lit()));
    v.set("time_ms", json_value::number(static_cast<int64_t>(panel.now_ms())));
    return v;
}

json_value texts_answer() {
    json_value texts = json_value::array();
    for (const found_text& found : find_all_texts()) {
        json_value t = json_value::object();
        t.set("text", json_value::string(found.text));
        t.set("face", json_value::string(face_name(found.face)));
        t.set("x", json_value::number(static_cast<int64_t>(found.x)));
        t.set("y", json_value::number(static_cast<int64_t>(found.y)));
        t.set("inverted", json_value::boolean(found.inverted));
        texts.push(std::move(t));
    }
    json_value v = json_value::object();
    v.set("texts", std::move(texts));
    return v;
}

json_value variables_answer(const scenario_panel& panel) {
    inspector_sources sources;
    sources.panel = &panel.engine();
    sources.lamp_lit = [&panel] { return panel.lamp_lit(); };
    json_value sections = json_value::array();
    for (const inspector_section& section : inspector_sections(sources)) {
        json_value rows = json_value::array();
        for (const inspector_row& row : section.rows) {
            const inspector_value value = row.value();
            json_value r = json_value::object();
            r.set("label", json_value::string(row.label));
            r.set("value", json_value::string(value.text));
            if (value.setting) {
                r.set("factory", json_value::string(value.factory));
                r.set("changed", json_value::boolean(value.changed));
            }
            rows.push(std::move(r));
        }
        json_value s = json_value::object();
        s.set("title", json_value::string(section.title));
        s.set("rows", std::move(rows));
        sections.push(std::move(s));
    }
    json_value values = json_value::object();
    for (int k = 0; k < INSTRUMENT_VARIABLE_COUNT; ++k) {
        values.set(instrument_variables[k].name,
                   json_value::number(instrument_variables[k].read()));
    }
    for (int k = 0; k < SCREEN_VARIABLE_COUNT; ++k) {
        values.set(screen_variables[k].name,
                   json_value::string(screen_name(*screen_variables[k].variable)));
    }
    json_value v = json_value::object();
    v.set("sections", std::move(sections));
    v.set("values", std::move(values));
    return v;
}

} // namespace

// Watches the play for what a client is told unasked.
class control_session::events : public play_observer {
public:
    events(const scenario_panel& panel, const send_line& send) : panel_(panel), send_(send) {}

    void frame_shown(const frame_report& frame, const front_panel& engine) override {
        if (frame.phase == panel_phase::splash && engine.frames_since_on() == 1) {
            json_value data = json_value::object();
            data.set("runs", json_value::number(static_cast<int64_t>(engine.depth())));
            send("run_started", data);
            screen_ = nullptr;
        }
        if (frame.phase != panel_phase::running) {
            return;
        }
        if (frame.screen != screen_ && frame.screen != nullptr) {
            screen_ = frame.screen;
            json_value data = json_value::object();
            data.set("screen", json_value::string(screen_name(frame.screen)));
            send("screen_changed", data);
        }
        if (const bool lit = panel_.lamp_lit(); !lamp_ || *lamp_ != lit) {
            lamp_ = lit;
            json_value data = json_value::object();
            data.set("lit", json_value::boolean(lit));
            send("lamp", data);
        }
    }

    void run_ended(const run_end& end) override {
        if (end.faulted) {
            json_value data = json_value::object();
            data.set("message", json_value::string(end.fault));
            send("fault", data);
        }
        json_value data = json_value::object();
        data.set("runs", json_value::number(static_cast<int64_t>(panel_.engine().depth())));
        data.set("fault", end.faulted ? json_value::string(end.fault) : json_value());
        send("run_ended", data);
        screen_ = nullptr;
    }

private:
    void send(const char* name, const json_value& data) {
        send_(event_line(name, panel_.now_ms(), data));
    }

    const scenario_panel& panel_;
    const send_line& send_;
    screen_routine screen_ = nullptr;
    std::optional<bool> lamp_;
};

control_session::control_session(scenario_panel& panel, send_line send, const control_identity& who,
                                 const player_options& options, std::string folder)
    : panel_(panel), send_(std::move(send)), who_(who), options_(options) {
    script_.folder = std::move(folder);
    events_ = std::make_unique<events>(panel_, send_);
    options_.session = true;
    options_.keep_going = false;
    options_.observer = events_.get();
    options_.print_to = nullptr;
    player_ = std::make_unique<scenario_player>(script_, options_, panel_);
}

control_session::~control_session() = default;

void control_session::start() {
    send_(greeting_line(who_.name, who_.version, who_.frontend));
    player_->start();
}

void control_session::receive(const request_line& line) {
    if (line.too_long) {
        send_(error_line(nullptr, control_error::TOO_LONG,
                         "a request line is at most " + std::to_string(MOST_LINE_BYTES) +
                             " bytes; this one was not read"));
        return;
    }
    if (line.text.find_first_not_of(" \t\r") == std::string::npos) {
        return; // an empty line asks nothing
    }
    control_request request;
    request_problem problem;
    if (!parse_request(line.text, request, problem)) {
        send_(
            error_line(problem.has_id ? &problem.id : nullptr, problem.error_class, problem.desc));
        return;
    }
    waiting_.push_back(std::move(request));
    pump();
}

void control_session::poll() {
    player_->went_off();
    finish_if_done();
    pump();
}

void control_session::close() {
    player_->stop();
    waiting_.clear();
    current_.reset();
    send_ = [](const std::string&) {};
}

bool control_session::busy() const {
    return current_.has_value() || !waiting_.empty();
}

void control_session::pump() {
    while (!current_ && !waiting_.empty()) {
        control_request request = std::move(waiting_.front());
        waiting_.pop_front();
        if (request.is_query) {
            answer(request);
        } else {
            start_do(std::move(request));
        }
    }
}

void control_session::start_do(control_request request) {
    const json_value* id = request.has_id ? &request.id : nullptr;
    scenario added;
    parse_error mistake;
    if (!parse_scenario(request.scenario_text, added, mistake)) {
        send_(error_line(id, control_error::SCENARIO,
                         "line " + std::to_string(mistake.place.line) + ", column " +
                             std::to_string(mistake.place.column) + ": " + mistake.message));
        return;
    }
    if (added.commands.empty()) {
        send_(error_line(id, control_error::SCENARIO, "no command in \"do\""));
        return;
    }
    script_.commands.insert(script_.commands.end(), added.commands.begin(), added.commands.end());
    current_ = std::move(request);
    player_->play_added();
    finish_if_done();
}

void control_session::finish_if_done() {
    if (!current_ || !player_->idle()) {
        return;
    }
    const control_request request = std::move(*current_);
    current_.reset();
    const json_value* id = request.has_id ? &request.id : nullptr;
    session_step step = player_->take_session_step();
    json_value notices = json_value::array();
    for (const std::string& notice : step.notices) {
        notices.push(json_value::string(notice));
    }
    if (step.status == outcome_status::passed) {
        json_value value = json_value::object();
        if (!step.notices.empty()) {
            value.set("notices", std::move(notices));
        }
        if (!step.printed.empty()) {
            value.set("printed", json_value::string(step.printed));
        }
        send_(reply_line(id, value));
    } else {
        // What the display read when it failed goes with the error, in the reader's words.
        json_value data = texts_answer();
        const json_value reads = *data.find("texts");
        json_value extra = json_value::object();
        extra.set("reads", reads);
        if (!step.notices.empty()) {
            extra.set("notices", std::move(notices));
        }
        std::string desc = step.message;
        if (step.status == outcome_status::failed) {
            desc += "; the display reads: ";
            bool first = true;
            for (const json_value& t : reads.items()) {
                desc += (first ? "\"" : ", \"") + t.find("text")->text() + "\"";
                first = false;
            }
            if (first) {
                desc += "no readable text";
            }
        }
        send_(error_line(id,
                         step.status == outcome_status::failed ? control_error::FAILED
                                                               : control_error::CANNOT_RUN,
                         desc, &extra));
    }
}

void control_session::answer(const control_request& request) {
    const json_value* id = request.has_id ? &request.id : nullptr;
    switch (request.query) {
    case query_kind::screen:
        send_(reply_line(id, screen_answer(panel_)));
        return;
    case query_kind::texts:
        send_(reply_line(id, texts_answer()));
        return;
    case query_kind::variables:
        send_(reply_line(id, variables_answer(panel_)));
        return;
    case query_kind::frame: {
        const argb_picture picture = display_picture();
        json_value v = json_value::object();
        v.set("format", json_value::string(request.pbm ? "pbm" : "png"));
        v.set("width", json_value::number(static_cast<int64_t>(picture.width * request.scale)));
        v.set("height", json_value::number(static_cast<int64_t>(picture.height * request.scale)));
        if (request.pbm) {
            v.set("data", json_value::string(pbm_text(picture)));
        } else {
            std::string bytes;
            std::string problem;
            if (!encode_png(enlarged(picture, request.scale), bytes, problem)) {
                send_(error_line(id, control_error::CANNOT_RUN,
                                 "cannot make the PNG picture: " + problem));
                return;
            }
            v.set("data", json_value::string(base64(bytes)));
        }
        send_(reply_line(id, v));
        return;
    }
    }
}

void control_session::frame_shown(const frame_report& frame) {
    player_->frame_shown(frame);
}

void control_session::frame_delivered() {
    player_->frame_delivered();
    finish_if_done();
    pump();
}

std::optional<uint64_t> control_session::resume_at() const {
    return player_->resume_at();
}

void control_session::resume() {
    player_->resume();
    finish_if_done();
    pump();
}

} // namespace txm9
