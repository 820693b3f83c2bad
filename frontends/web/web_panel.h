// The page's one front panel: its frontend and the engine that runs it, shared by the calls
// the page makes (the panel's controls, the inspector).
#pragma once

#include "engine/front_panel.h"
#include "web_frontend.h"

namespace txm9::web_panel {

inline web_frontend frontend;
inline front_panel engine{frontend};

} // namespace txm9::web_panel
