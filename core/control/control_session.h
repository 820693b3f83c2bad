// A program driving the instrument through the control protocol, on any frontend: requests
// are taken in order, one at a time; a `do` is played by the scenario player on the
// frontend's panel, so a request line means what the same line means in a scenario file, and
// its reply goes out once it is done (a wait once its instrument time has passed); a query is
// answered at once from the instrument as it is. Events go out as they happen: the screen
// changed, the lamp, a run started or ended, the firmware's fault.
//
// The frontend owns the panel and its clock, as for a play: it hands every frame to
// frame_shown and frame_delivered, lets the time pass that resume_at asks for while the
// instrument is off, and passes the client's lines to receive. A `do` that switches on does
// not return from receive until that run has ended; requests meanwhile arrive through the
// frame deliveries.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "control/control_protocol.h"
#include "control/line_reader.h"
#include "scenario/scenario_player.h"

namespace txm9 {

struct control_identity {
    std::string name;     // the program serving, e.g. "txm9-scenario"
    std::string version;  // its version
    std::string frontend; // "headless" or "window"
};

class control_session {
public:
    using send_line = std::function<void(const std::string&)>;

    // `panel` must outlive the session; every line the session sends goes to `send`, without
    // its end of line. `options` as for a play (out_dir and folder for files); the session
    // sets what a session needs.
    control_session(scenario_panel& panel, send_line send, const control_identity& who,
                    const player_options& options, std::string folder);
    ~control_session();
    control_session(const control_session&) = delete;
    control_session& operator=(const control_session&) = delete;

    // Sends the greeting; the panel is at program start.
    void start();
    // A line from the client: a request, answered at once or in its turn.
    void receive(const request_line& line);
    void receive(std::string_view line) { receive(request_line{std::string(line), false}); }

    // The panel's frames, as for a play.
    void frame_shown(const frame_report& frame);
    void frame_delivered();
    // While the instrument is off and a request waits for time to pass: the instrument time
    // at which to resume.
    std::optional<uint64_t> resume_at() const;
    void resume();

    // A request is in progress or waiting for its turn.
    bool busy() const;
    // The client has gone: nothing more is played or sent; the instrument stays as it is.
    void close();
    // A run the session did not start has ended (a closed session's, or one a person
    // switched on and off): what waited for it may now be done, and a wait for frames goes on
    // as time while off.
    void poll();

private:
    class events;
    void pump();
    void finish_if_done();
    void answer(const control_request& request);
    void start_do(control_request request);

    scenario_panel& panel_;
    send_line send_;
    control_identity who_;
    player_options options_;
    scenario script_;
    std::unique_ptr<events> events_;
    std::unique_ptr<scenario_player> player_;
    std::deque<control_request> waiting_;
    std::optional<control_request> current_;
};

} // namespace txm9
