// The web frontend in WebAssembly under node, through the calls the page makes: ON runs the
// instrument inside the module and gives control back between frames (Asyncify with
// exceptions), a second ON runs inside the first, OFF in the splash is forgotten, and the
// firmware's fault ends a run, which the next ON starts afresh.
//   TXM9_WEB_MODULE=build-web/site/txm9.js node --no-experimental-fetch --test module_test.js
"use strict";

const test = require("node:test");
const assert = require("node:assert/strict");
const path = require("path");

const modulePath = path.resolve(process.env.TXM9_WEB_MODULE || "../../build-web/site/txm9.js");
const createTxm9 = require(modulePath);

const KEY_SELECT = 1;
const KEY_CW = 2;
const PHASE = { off: 0, splash: 1, running: 2 };
const SPLASH_FRAMES = 80;

// A fresh module with the page's side written down; unpaced, so frames do not wait.
async function instrument() {
    const m = await createTxm9();
    const seen = { frames: [], lamps: [], calibrateTicked: 0, faults: [], controls: [],
                   status: [] };
    m.page = {
        showFrame: (rgba) => seen.frames.push(Buffer.from(rgba)),
        setLamp: (lit) => seen.lamps.push(lit),
        tickCalibrate: () => ++seen.calibrateTicked,
        modal: () => false,
        fault: (message) => seen.faults.push(message),
        // What a scenario playing on the panel does to the page's controls.
        programStart: () => seen.controls.push("program start"),
        showPressed: (key) => seen.controls.push(`key ${key}`),
        pressButton: (id) => seen.controls.push(id),
        setSlider: (amps, count) => seen.controls.push(`${amps ? "amps" : "volts"} ${count}`),
        setBox: (keyFast, ticked) => seen.controls.push(`${keyFast ? "KeyFast" : "Calibrate"} ${ticked}`),
        playStatus: (text) => seen.status.push(text),
    };
    m._txm9_start();
    m._txm9_pacing(0);
    const on = () => m.ccall("txm9_power_on", "number", [], [], { async: true });
    // Resolves once `condition` holds between two frames.
    const until = async (condition, what) => {
        for (let i = 0; i < 100000; ++i) {
            if (condition()) return;
            await new Promise((resolve) => setImmediate(resolve));
        }
        assert.fail(`never came: ${what}`);
    };
    const afterFrames = (n) => {
        const target = m._txm9_frames() + n;
        return until(() => m._txm9_frames() >= target, `${n} more frames`);
    };
    return { m, seen, on, until, afterFrames };
}

test("ON plays the splash, then passes until OFF; the display keeps its last frame", async () => {
    const { m, seen, on, until, afterFrames } = await instrument();
    const run = on();
    await until(() => m._txm9_phase() === PHASE.splash, "the splash");
    assert.equal(m._txm9_runs(), 1);
    await until(() => m._txm9_phase() === PHASE.running, "the first pass");
    assert.ok(m._txm9_frames() >= SPLASH_FRAMES + 1);
    await afterFrames(3);
    const shown = seen.frames.length;
    m._txm9_power_off();
    assert.equal(await run, 0);
    assert.equal(m._txm9_runs(), 0);
    assert.equal(m._txm9_phase(), PHASE.off);
    assert.equal(seen.frames.length, shown, "no frame after the pass that saw OFF is new");
    assert.ok(seen.lamps.length >= 1);
});

test("a knob press in the splash ticks Calibrate; OFF in the splash is forgotten", async () => {
    const { m, seen, on, until, afterFrames } = await instrument();
    const run = on();
    await afterFrames(5);
    m._txm9_key(KEY_SELECT);
    m._txm9_power_off();
    await until(() => m._txm9_phase() === PHASE.running, "the passes");
    await afterFrames(10);
    assert.equal(m._txm9_runs(), 1, "still running after the OFF in the splash");
    assert.equal(seen.calibrateTicked, 1);
    m._txm9_power_off();
    assert.equal(await run, 0);
});

test("ON while running starts a second run inside the first; one OFF ends both", async () => {
    const { m, on, until, afterFrames } = await instrument();
    const run = on();
    await until(() => m._txm9_phase() === PHASE.running, "the first run's passes");
    assert.equal(m._txm9_power_on(), 0, "a second ON returns at once");
    await until(() => m._txm9_runs() === 2, "the nested run");
    assert.equal(m._txm9_phase(), PHASE.splash);
    await until(() => m._txm9_phase() === PHASE.running, "the nested run's passes");
    await afterFrames(3);
    m._txm9_power_off();
    assert.equal(await run, 0);
    assert.equal(m._txm9_runs(), 0);
});

test("a zero-width calibration ends the run with its fault; the next ON starts afresh",
     async () => {
    const { m, on, until, afterFrames } = await instrument();
    m._txm9_boxes(1, 0); // Calibrate ticked
    m._txm9_amps(1000);
    m._txm9_volts(1500);
    const run = on();
    await until(() => m._txm9_phase() === PHASE.running, "the passes");
    await afterFrames(40);
    // Menu, down to the calibration list, the zero point, then the charge point at the
    // same count: the keys of the shipped zero-width scenario, a few frames apart.
    const keys = [KEY_SELECT, KEY_CW, KEY_CW, KEY_CW, KEY_CW, KEY_SELECT, KEY_CW, KEY_CW,
                  KEY_SELECT, KEY_SELECT, KEY_CW, KEY_SELECT];
    for (const key of keys) {
        m._txm9_key(key);
        const target = m._txm9_frames() + 3;
        await until(() => m._txm9_frames() >= target || m._txm9_runs() === 0, "a pass");
    }
    assert.equal(await run, 1);
    assert.equal(m.UTF8ToString(m._txm9_fault()), "Floating point division by zero");
    assert.equal(m._txm9_runs(), 0);

    const again = on();
    await until(() => m._txm9_phase() === PHASE.running, "the passes of the next run");
    await afterFrames(40);
    assert.equal(m._txm9_runs(), 1, "the next run measures without a fault");
    m._txm9_power_off();
    assert.equal(await again, 0);
});

test("paused, frames wait and keys wait for the next frame; a step runs one; ON starts at x1",
     async () => {
    const { m, on, until } = await instrument();
    m._txm9_volts(1500);
    const run = on();
    await until(() => m._txm9_phase() === PHASE.running, "the passes");
    m._txm9_set_speed(16);
    assert.equal(m._txm9_tick_period_ms(), 100 / 16);
    m._txm9_set_paused(1);
    const turns = async (n) => {
        for (let i = 0; i < n; ++i) await new Promise((resolve) => setTimeout(resolve, 1));
    };
    await turns(5); // the frame under way comes to rest
    const held = m._txm9_frames();
    m._txm9_key(KEY_CW);
    await turns(50);
    assert.equal(m._txm9_frames(), held, "no frame while paused");
    const inspected = () => Object.fromEntries(JSON.parse(m.UTF8ToString(m._txm9_inspector()))
        .flatMap((group) => group.rows.map(([name, value]) => [name, value])));
    assert.equal(inspected().pending_key, "empty", "the key waits while paused");
    assert.equal(inspected().speed, "paused (×16)");
    // The page's looks: every row at the first, then only the rows that changed, by their
    // place among the inspector's rows.
    const changes = () => JSON.parse(m.UTF8ToString(m._txm9_inspector_changes()))
        .map(([row, value]) => [Object.keys(inspected())[row], value]);
    assert.deepEqual(changes(), Object.entries(inspected()));
    assert.deepEqual(changes(), [], "nothing changes while paused");
    m._txm9_step();
    await until(() => m._txm9_frames() === held + 1, "one step");
    assert.equal(inspected().pending_key, "2 turned clockwise",
                 "the key reaches the slot after the step's frame");
    const stepped = Object.fromEntries(changes());
    assert.equal(stepped.pending_key, "2 turned clockwise");
    assert.equal(stepped["passes since ON"], inspected()["passes since ON"]);
    assert.equal(stepped["volts count"], undefined, "an unchanged value is not told again");
    m._txm9_power_on(); // a second ON: x1, unpaused
    assert.equal(m._txm9_paused(), 0);
    assert.equal(m._txm9_speed(), 1);
    await until(() => m._txm9_runs() === 2 && m._txm9_phase() === PHASE.running,
                "the nested run's passes");
    m._txm9_power_off();
    assert.equal(await run, 0);
});

test("a scenario played on the panel ends as its headless play does, through waits while off, " +
     "a run inside a run and the fault", async () => {
    const fs = require("fs");
    const scenarios = path.resolve(__dirname, "../../scenarios");
    for (const name of ["power_cycle", "zero_width_fault"]) {
        const { m, seen } = await instrument();
        const text = fs.readFileSync(path.join(scenarios, `${name}.scenario`), "utf8");
        const display = () => {
            const start = m._txm9_picture(1);
            return Buffer.from(m.HEAPU8.subarray(start, start + 114 * 64 * 4));
        };
        const headless = JSON.parse(m.ccall("txm9_play", "string", ["string"], [text]));
        assert.equal(headless.status, "passed", `${name} headless: ${headless.message}`);
        const expected = display();

        assert.equal(await m.ccall("txm9_panel_play", "number", ["string"], [text],
                                   { async: true }), 0);
        while (!m._txm9_panel_play_finished()) {
            assert.ok(m._txm9_panel_play_wait_ms() >= 0, `${name}: waits with the instrument off`);
            await m.ccall("txm9_panel_play_resume", null, [], [], { async: true });
        }
        const played = JSON.parse(m.UTF8ToString(m._txm9_panel_play_outcome(1)));
        assert.equal(played.status, "passed", `${name} on the panel: ${played.message}`);
        assert.ok(played.expectations > 0);
        assert.equal(m._txm9_runs(), 0);
        assert.ok(display().equals(expected), `${name}: the last frame differs from the headless one`);
        assert.equal(seen.controls[0], "program start");
        assert.ok(seen.controls.includes("Button1") && seen.controls.includes("volts 1500"));
        assert.match(seen.status.at(-1), /^Playing: line \d+, \d+ expectations? met$/);
    }
});
