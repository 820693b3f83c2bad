// The window as the panel session's frontend: frames painted into the display picture, the
// lamp into Shape1, the two check boxes read and ticked, and events delivered by the toolkit on
// the window's real 25 ms schedule, with Timer1 ticking every real 100 ms. The display picture
// is never hidden around a pass: each frame is composed in the frame buffer, and only the part
// that differs from the one on the screen is painted and redrawn (hiding and showing the
// picture would redraw it every pass).
#pragma once

#include "engine/front_panel.h"

class TForm1;

class WindowFrontend : public txm9::panel_frontend {
public:
    explicit WindowFrontend(TForm1& form) : form_(form) {}

    void show_frame(const txm9::frame_report& frame) override;
    void set_lamp(uint32_t colour) override;
    bool calibrate_ticked() override;
    bool key_fast_ticked() override;
    void tick_calibrate() override;
    void deliver_events() override;

    // Paced (the default) or not: unpaced, frames follow each other as fast as they run.
    void set_paced(bool paced) { paced_ = paced; }
    // While a session is replayed through a rebuilt firmware, frames are neither painted nor
    // followed by the toolkit's events: the replay takes milliseconds and the window shows its
    // end.
    void set_replaying(bool replaying) { replaying_ = replaying; }

private:
    TForm1& form_;
    bool paced_ = true;
    bool replaying_ = false;
};
