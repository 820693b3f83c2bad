// What embed_control.js calls to let the page that embeds this one drive it through the
// control protocol. Start greets; receive hands a request over and returns at once; take and
// wait_over may switch the instrument on, so the page calls them through Asyncify while the
// instrument is off, and they return once it is off again (while it runs they return at once
// and the run's next frame does the rest).
#include <emscripten.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "page_control.h"

#ifndef TXM9_VERSION
#define TXM9_VERSION "unknown"
#endif

using namespace txm9;

namespace {

std::unique_ptr<page_control> control;
// Where the page writes a request's UTF-8 bytes before it hands it over.
std::string request;

} // namespace

extern "C" {

// The page is embedded and may be driven: watches its frames from now on and greets.
EMSCRIPTEN_KEEPALIVE void txm9_control_start() {
    if (!control) {
        control = std::make_unique<page_control>(TXM9_VERSION);
    }
}

// Room for a request of `bytes` bytes, which the page writes there. (Not through ccall: a
// ccall made while a run waits for the browser would take over the promise of the call that
// started the run.)
EMSCRIPTEN_KEEPALIVE char* txm9_control_request(int bytes) {
    request.assign(static_cast<std::size_t>(std::max(bytes, 0)), '\0');
    return request.data();
}

// The request written, as a line of the protocol, or one the page found too long to copy
// in; its answer, or an error, may be sent before this returns.
EMSCRIPTEN_KEEPALIVE void txm9_control_receive(int too_long) {
    if (control) {
        control->receive(std::move(request), too_long != 0);
    }
    request.clear();
}

// Requests wait to be taken with take().
EMSCRIPTEN_KEEPALIVE int txm9_control_pending() {
    return control && control->pending() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void txm9_control_take() {
    if (control) {
        control->take();
    }
}

// Instrument milliseconds a request waits with the instrument off; -1 when none waits.
EMSCRIPTEN_KEEPALIVE double txm9_control_wait_ms() {
    const std::optional<uint64_t> wait = control ? control->wait_ms() : std::nullopt;
    return wait ? static_cast<double>(*wait) : -1.0;
}

EMSCRIPTEN_KEEPALIVE void txm9_control_wait_over() {
    if (control) {
        control->wait_over();
    }
}

// A run that no request started has ended: a request waiting for its frames goes on while off.
EMSCRIPTEN_KEEPALIVE void txm9_control_went_off() {
    if (control) {
        control->went_off();
    }
}

// A request is in progress or waiting for its turn.
EMSCRIPTEN_KEEPALIVE int txm9_control_busy() {
    return control && control->busy() ? 1 : 0;
}

} // extern "C"
