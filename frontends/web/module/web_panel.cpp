#include "web_panel.h"

#include <emscripten.h>

namespace txm9 {

web_panel::web_panel() : session_(frontend_, emscripten_get_now) {
    frontend_.attach(session_);
}

web_panel& page_panel() {
    static web_panel panel;
    return panel;
}

} // namespace txm9
