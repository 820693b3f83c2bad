// The page's one front panel: its frontend and the panel session that runs it, shared by the
// calls the page makes (the panel's controls, a play on the panel, the inspector). It is made
// when the program starts (txm9_start), before any other call.
#pragma once

#include "panel/panel_session.h"
#include "web_frontend.h"

namespace txm9 {

class web_panel {
public:
    web_panel();

    web_frontend& frontend() { return frontend_; }
    panel_session& session() { return session_; }

private:
    web_frontend frontend_;
    panel_session session_;
};

// The page's panel.
web_panel& page_panel();

} // namespace txm9
