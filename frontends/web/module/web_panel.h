// The page's one front panel: its frontend and the panel session that runs it, shared by the
// calls the page makes (the panel's controls, a play on the panel, the inspector, a program
// driving the page from the page that embeds it). It is made when the program starts
// (txm9_start), before any other call.
#pragma once

#include "panel/panel_session.h"
#include "web_frontend.h"

namespace txm9 {

class web_panel final : private panel_frontend {
public:
    web_panel();

    web_frontend& frontend() { return frontend_; }
    panel_session& session() { return session_; }
    // Also sees every frame, on the page's own time (a program driving the page), after the
    // page has shown it and delivered its events; null: nobody.
    void watch_frames(play_frames* watcher) { watcher_ = watcher; }

private:
    // panel_frontend: the page's frontend, then the watcher.
    void show_frame(const frame_report& frame) override;
    void set_lamp(uint32_t colour) override { frontend_.set_lamp(colour); }
    bool calibrate_ticked() override { return frontend_.calibrate_ticked(); }
    bool key_fast_ticked() override { return frontend_.key_fast_ticked(); }
    void tick_calibrate() override { frontend_.tick_calibrate(); }
    void deliver_events() override;

    web_frontend frontend_;
    panel_session session_;
    play_frames* watcher_ = nullptr;
};

// The page's panel.
web_panel& page_panel();

} // namespace txm9
