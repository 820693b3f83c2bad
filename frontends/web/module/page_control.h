// The page driven through the control protocol by the page that embeds it: a request's
// inputs go through the page's own controls, as a play's do (the knob shown pressed, the
// sliders and boxes moving, ON and OFF pressed), so that a person watching sees them, and its
// waits pass on the page's own time, at the speed chosen beside the panel, as on the window.
//
// The module runs a whole run inside ON and gives the browser control between frames
// (Asyncify), so the page hands requests over at any moment but they are taken in their
// turn: a question at once when nothing is under way; anything to do after the next frame's
// delivery while the instrument runs, or, while it is off, when the page calls take(), which
// may switch the instrument on and return only once it is off again.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "control/control_session.h"
#include "panel/panel_session.h"
#include "web_controls.h"

namespace txm9 {

class page_control final : public web_controls, public play_frames {
public:
    // Starts watching the page's frames and greets with the page's name and `version`.
    explicit page_control(const std::string& version);
    ~page_control() override;
    page_control(const page_control&) = delete;
    page_control& operator=(const page_control&) = delete;

    // A request from the embedding page: one line of the protocol, or one too long to read.
    void receive(std::string text, bool too_long);
    // While the instrument is off: requests that may switch it on wait for take().
    bool pending() const;
    void take();
    // While the instrument is off and a request waits for time to pass: the instrument
    // milliseconds left to wait.
    std::optional<uint64_t> wait_ms() const;
    // The page's clock says the wait is over: the request goes on, now if the instrument is
    // off, after the next frame's delivery if someone has switched it on meanwhile.
    void wait_over();
    // A run the page did not start for a request (a person's) has ended while a request waits
    // for its frames: a wait goes on as time while off, a wait for a text fails.
    void went_off();
    // A request is in progress or waiting for its turn.
    bool busy() const;

    // play_frames: every frame of the page's panel.
    void shown(const frame_report& frame) override;
    void delivered() override;

    // scenario_panel: instrument time, 25 ms a frame and the time waited while off.
    uint64_t now_ms() const override { return ms_; }

private:
    void take_lines(bool may_do);
    void resume();

    std::unique_ptr<control_session> session_;
    std::deque<request_line> pending_; // received, not yet handed to the session
    uint64_t ms_ = 0;
    bool wait_over_ = false;
};

} // namespace txm9
