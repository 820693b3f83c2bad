#include "web_panel.h"

#include <emscripten.h>

namespace txm9 {

web_panel::web_panel() : session_(*this, emscripten_get_now) {
    frontend_.attach(session_);
}

void web_panel::show_frame(const frame_report& frame) {
    frontend_.show_frame(frame);
    if (watcher_ != nullptr) {
        watcher_->shown(frame);
    }
}

void web_panel::deliver_events() {
    frontend_.deliver_events();
    if (watcher_ != nullptr) {
        watcher_->delivered();
    }
}

web_panel& page_panel() {
    static web_panel panel;
    return panel;
}

} // namespace txm9
