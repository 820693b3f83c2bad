// The instrument in WebAssembly, as the page's controls reach it. ON runs the whole powered-on
// life inside the module and gives control back to the browser between frames (Asyncify), so
// every other call here comes between two frames, as the window's events do. Timer1 ticks
// on the browser's clock. While the display stands still the module wakes only four times a
// second and runs the frames due until then together; every input here wakes it at once.

// Loads the module (txm9.js beside the page) and starts the program: the instrument off.
export async function loadInstrument(url = "txm9.js") {
    if (typeof createTxm9 !== "function") {
        await new Promise((resolve, reject) => {
            const script = document.createElement("script");
            script.src = url;
            script.onload = resolve;
            script.onerror = () => reject(new Error(`${url} could not be loaded`));
            document.head.append(script);
        });
    }
    return new Instrument(await createTxm9());
}

// Timer1: a tick every 100 ms (at x1; faster or slower with the instrument's speed). The
// browser may call a timer late, or seldom while the tab is hidden; the ticks that fell due
// meanwhile are counted from its clock and all delivered. While the instrument runs it wakes
// the browser for its frames anyway and Timer1 is served then (`poll`); its own timer only
// stands by, FALLBACK_MS behind, for when no frames come (off, paused, a message box). The
// page's slow refreshes run on the same wake-ups (`also`).
const FALLBACK_MS = 350;

class Timer1 {
    constructor(deliver) {
        this.deliver = deliver;
        this.handle = null;
        this.interval = null;
        this.also = [];
    }

    start(interval) {
        if (this.interval === interval) {
            return;
        }
        this.interval = interval;
        this.origin = performance.now();
        this.delivered = 0;
        this.arm(0);
    }

    // Delivers the ticks due by now; `late` says how long after the next one is due the
    // timer of its own should come.
    poll(late = FALLBACK_MS) {
        const due = Math.floor((performance.now() - this.origin) / this.interval);
        const ticks = due - this.delivered;
        this.delivered = due;
        if (ticks > 0) {
            this.deliver(ticks);
        }
        for (const callback of this.also) callback();
        this.arm(late);
    }

    arm(late) {
        clearTimeout(this.handle);
        const next = this.origin + (this.delivered + 1) * this.interval;
        // A timer may come a fraction of a millisecond before the clock says it is due.
        this.handle = setTimeout(() => this.poll(0), next - performance.now() + late + 1);
    }
}

export class Instrument {
    constructor(module) {
        this.module = module;
        this.frameShown = false;
        this.displayListeners = [];
        this.displayNoticed = false;
        this.faultBox = document.getElementById("fault-box");
        // Called before any input from a person: a scenario playing on the panel stops.
        this.onPersonsInput = () => {};
        module._txm9_start();
        this.timer = new Timer1((ticks) => module._txm9_timer(ticks));
        this.timer.start(module._txm9_tick_period_ms());
    }

    // The page's panel: where frames, the lamp and the ticked Calibrate box go.
    attach(panel) {
        this.panel = panel;
        this.module.page = {
            showFrame: (rgba) => {
                if (!this.frameShown) {
                    performance.mark("txm9-first-frame");
                }
                this.frameShown = true;
                panel.showFrame(rgba);
                if (!this.displayNoticed) {
                    this.displayNoticed = true;
                    queueMicrotask(() => {
                        this.displayNoticed = false;
                        for (const callback of this.displayListeners) callback();
                    });
                }
            },
            setLamp: (lit) => panel.setLamp(lit),
            tickCalibrate: () => panel.tickCalibrate(),
            modal: () => this.faultBox.open,
            fault: (message, closeAfterMs) => this.showFault(message, closeAfterMs),
            // A scenario playing on the panel moves its controls as a person would.
            programStart: () => panel.programStart(),
            showPressed: (key) => panel.showPressed(key),
            pressButton: (id) => panel.pressButton(id),
            setSlider: (amps, count) => panel.setSlider(amps, count),
            setBox: (keyFast, ticked) => panel.setBox(keyFast, ticked),
            playStatus: (text) => panel.showStatus(text),
            // ON pressed by a play or a program driving the page: time back to life speed.
            timeChanged: () => this.timeChanged(),
            // Each time the module has waited for a frame, before the frame.
            betweenFrames: () => this.timer.poll(),
        };
        this.boxes();
    }

    running() {
        return this.module._txm9_runs() > 0;
    }

    // The instrument, waiting for its next frame, takes an input at once.
    wake() {
        this.module.wake?.();
    }

    // Calls `callback` once the module has handed control back after the display changed
    // (the page then shows what else changed in the same picture).
    onDisplayChange(callback) {
        this.displayListeners.push(callback);
    }

    // Calls `callback` about every `ms` on Timer1's wake-ups (a wake-up a little early counts).
    every(ms, callback) {
        let last = -Infinity;
        this.timer.also.push(() => {
            const now = performance.now();
            if (now - last >= 0.9 * ms) {
                last = now;
                callback();
            }
        });
    }

    async powerOn() {
        this.onPersonsInput();
        if (this.running()) {
            this.module._txm9_power_on(); // a second run, inside this one, at the next frame
            this.timeChanged();
            this.wake();
            return;
        }
        const run = this.module.ccall("txm9_power_on", "number", [], [], { async: true });
        this.timeChanged(); // every ON starts at x1, unpaused
        const faulted = await run;
        if (faulted) {
            this.showFault(this.module.UTF8ToString(this.module._txm9_fault()));
        }
    }

    powerOff() {
        this.onPersonsInput();
        this.module._txm9_power_off();
        this.wake();
    }

    key(code) {
        this.onPersonsInput();
        this.module._txm9_key(code);
        this.wake();
    }

    volts(count) {
        this.onPersonsInput();
        this.module._txm9_volts(count);
        this.wake();
    }

    amps(count) {
        this.onPersonsInput();
        this.module._txm9_amps(count);
        this.wake();
    }

    calibrateBox() {
        this.onPersonsInput();
        this.boxes();
    }

    keyFastBox() {
        this.onPersonsInput();
        this.boxes();
    }

    boxes() {
        this.module._txm9_boxes(this.panel.calibrateTicked() ? 1 : 0,
                                this.panel.keyFastTicked() ? 1 : 0);
        this.wake();
    }

    // The panel's inputs, as the module lists them: {pressedMs, wheelNotch, inputs: [{code,
    // word, id, name, control, keyboard, tooltip}]}.
    inputs() {
        return JSON.parse(this.module.UTF8ToString(this.module._txm9_inputs()));
    }

    // The speeds time control offers, slowest first, with their names: [[0.25, "×¼"], ...].
    speeds() {
        return JSON.parse(this.module.UTF8ToString(this.module._txm9_speeds()));
    }

    // Time control: {paused, speed}.
    timeControl() {
        return { paused: this.module._txm9_paused() !== 0, speed: this.module._txm9_speed() };
    }

    setPaused(paused) {
        this.module._txm9_set_paused(paused ? 1 : 0);
        this.timeChanged();
    }

    step() {
        this.module._txm9_step();
        this.wake();
    }

    setSpeed(speed) {
        this.module._txm9_set_speed(speed);
        this.timeChanged();
    }

    // Timer1 keeps the instrument's speed.
    timeChanged() {
        this.timer.start(this.module._txm9_tick_period_ms());
        this.wake();
    }

    // The inspector's groups: [{name, rows: [[name, value, note]]}].
    inspector() {
        return JSON.parse(this.module.UTF8ToString(this.module._txm9_inspector()));
    }

    // The inspector's rows whose value or note changed since the last call (all at the
    // first): [[row, value, note]], `row` counting the rows of inspector()'s groups in order.
    inspectorChanges() {
        return JSON.parse(this.module.UTF8ToString(this.module._txm9_inspector_changes()));
    }

    // Every input since the page opened, as a scenario for txm9-scenario.
    sessionScenario() {
        return this.module.UTF8ToString(this.module._txm9_session());
    }

    hasFrame() {
        return this.frameShown;
    }

    // The display as a picture at `scale`: {width, height, rgba}.
    picture(scale) {
        const m = this.module;
        const start = m._txm9_picture(scale);
        const width = m._txm9_picture_width();
        const height = m._txm9_picture_height();
        return { width, height, rgba: m.HEAPU8.slice(start, start + width * height * 4) };
    }

    // The firmware's fault, as the window's message box shows it; during a play it closes by
    // itself after `closeAfterMs`, and so it does whenever a program drives the page
    // (`faultClosesAfterMs`), since nobody may be there to close it.
    showFault(message, closeAfterMs = this.faultClosesAfterMs ?? 0) {
        document.getElementById("fault-text").textContent = message;
        if (!this.faultBox.open) {
            this.faultBox.showModal();
        }
        clearTimeout(this.faultClose);
        if (closeAfterMs > 0) {
            this.faultClose = setTimeout(() => this.faultBox.close(), closeAfterMs);
        }
    }
}
