// The page driven by the page that embeds it (in an iframe), through the control protocol
// that txm9-scenario --serve and the window's control socket speak, over postMessage. The
// module's own control session parses, plays and answers; this file only carries messages and
// lets time pass while the instrument is off.
//
// Only by choice of the embedding page: it names its own origin in the page's address,
// `?control=https://docs.example.org` (several origins: the parameter again, or commas).
// Without it, or when the page is not embedded, nothing here listens and the page is the page it
// has always been. With it, only messages from the parent window whose origin is named are taken,
// and every message goes out addressed to a named origin, so the browser delivers the display
// and its variables to no other page.

// How often a request under way is looked at while a run it did not start goes on: a wait
// it began may have to go on with the instrument off once that run ends.
const POLL_MS = 100;
// How often a wait with the instrument off looks at the speed and at Pause.
const LOOK_MS = 50;
// How long the firmware's fault stays shown, as during a play on the panel.
const FAULT_BOX_MS = 3000;

// No request is longer than 64 KB, so no longer string can be one (its UTF-8 is at least as
// long); the module measures the bytes of the others.
const MOST_LINE_CHARS = 64 * 1024;

const later = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The origins the address names, each as the browser writes an origin; the others are
// refused with a warning ("*" and opaque origins among them: they would name any page).
export function allowedOrigins(search) {
    const origins = [];
    for (const value of new URLSearchParams(search).getAll("control")) {
        for (const item of value.split(",").map((s) => s.trim()).filter(Boolean)) {
            let url = null;
            try {
                url = new URL(item);
            } catch {
                // not a URL
            }
            // An origin alone: no path, query or user, and not opaque.
            if (url && url.origin !== "null" && url.pathname === "/" && !url.search &&
                !url.hash && !url.username) {
                origins.push(url.origin);
            } else {
                console.warn(`control: "${item}" is not an origin (scheme://host[:port]); ignored`);
            }
        }
    }
    return origins;
}

export class EmbedControl {
    constructor(instrument, origins) {
        this.instrument = instrument;
        this.module = instrument.module;
        this.origins = origins;
        this.replyTo = null; // the origin of the embedding page, once it has written
        this.driving = false;
        this.module.control = { send: (line) => this.send(line) };
        // The firmware's fault must not hold the instrument until somebody closes its box.
        instrument.faultClosesAfterMs = FAULT_BOX_MS;
        window.addEventListener("message", (event) => this.message(event));
        this.module._txm9_control_start(); // the greeting
    }

    // A line from the module: a reply, an event or the greeting, as the object it writes.
    send(line) {
        let message;
        try {
            message = JSON.parse(line);
        } catch {
            message = line;
        }
        // Before the embedding page has written, its origin is one of those named; a message
        // addressed to another origin than its own is dropped by the browser.
        for (const origin of this.replyTo ? [this.replyTo] : this.origins) {
            window.parent.postMessage(message, origin);
        }
    }

    message(event) {
        if (event.source !== window.parent || !this.origins.includes(event.origin)) {
            return; // not the embedding page: not a word to it
        }
        this.replyTo = event.origin;
        let text = event.data;
        if (typeof text !== "string") {
            try {
                text = JSON.stringify(event.data);
            } catch {
                text = undefined; // a cycle, a BigInt
            }
            if (typeof text !== "string") {
                const desc = "a request is a JSON object, or a string holding one";
                this.send(JSON.stringify({ error: { class: "malformed", desc } }));
                return;
            }
        }
        // A line longer than the module takes is not copied into it at all: it only hears of it.
        const m = this.module;
        const tooLong = text.length > MOST_LINE_CHARS;
        const bytes = tooLong ? new Uint8Array(0) : new TextEncoder().encode(text);
        const at = m._txm9_control_request(bytes.length);
        m.HEAPU8.set(bytes, at); // after the call: it may have grown the memory
        m._txm9_control_receive(tooLong ? 1 : 0);
        // Something to do while a run waits for its next frame: the frame comes now.
        if (m._txm9_runs() > 0 && m._txm9_control_pending()) this.instrument.wake();
        this.drive();
    }

    // Takes the requests left while the instrument is off and lets the time they wait for
    // pass, one async call into the module at a time (and only while it is off: a ccall made
    // while a run waits for the browser would take over the promise of the call that started
    // the run). While a run goes on, its frames take them.
    async drive() {
        if (this.driving) return;
        this.driving = true;
        const m = this.module;
        try {
            for (;;) {
                if (m._txm9_runs() > 0) {
                    if (m._txm9_control_busy()) setTimeout(() => this.drive(), POLL_MS);
                    return;
                }
                if (m._txm9_control_pending()) {
                    await m.ccall("txm9_control_take", null, [], [], { async: true });
                    continue;
                }
                const wait = m._txm9_control_wait_ms();
                if (wait < 0) {
                    if (!m._txm9_control_busy()) return;
                    // A person's run has ended under a request waiting for its frames: the
                    // request goes on with the instrument off.
                    await m.ccall("txm9_control_went_off", null, [], [], { async: true });
                    if (m._txm9_control_wait_ms() < 0 && !m._txm9_control_pending()) return;
                    continue;
                }
                await this.instrumentTime(wait);
                if (m._txm9_runs() > 0) {
                    m._txm9_control_wait_over(); // switched on meanwhile: goes on at its next frame
                } else {
                    await m.ccall("txm9_control_wait_over", null, [], [], { async: true });
                }
            }
        } catch (error) {
            console.error(`control: ${error.message}`);
        } finally {
            this.driving = false;
        }
    }

    // `ms` of instrument time on the page's clock, at the speed chosen; none passes in a pause.
    async instrumentTime(ms) {
        let left = ms;
        while (left > 0) {
            const { paused, speed } = this.instrument.timeControl();
            const step = paused ? LOOK_MS : Math.min(LOOK_MS, left / speed);
            await later(step);
            if (!paused) left -= step * speed;
        }
    }
}

// Serves the embedding page if it asked for it in the address; null otherwise.
export function connectEmbedControl(instrument) {
    if (window.parent === window) return null;
    const origins = allowedOrigins(location.search);
    if (origins.length === 0) return null;
    return new EmbedControl(instrument, origins);
}
