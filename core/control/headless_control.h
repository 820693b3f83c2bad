// The control protocol on a headless instrument: the engine on a virtual clock, as the
// scenario runner plays, so a request's instrument time passes as fast as the processor
// allows and a wait returns as soon as it is played. Requests are read only when the one
// before is done; while the client thinks, no instrument time passes.
#pragma once

#include <functional>
#include <optional>

#include "control/control_session.h"

namespace txm9 {

// The client's next line; nothing once it has gone (then the session ends, every run
// switched off where it was).
using next_request_line = std::function<std::optional<request_line>()>;

// Serves one client from program start until it goes.
void serve_headless(const next_request_line& next, const control_session::send_line& send,
                    const control_identity& who, const player_options& options);

} // namespace txm9
