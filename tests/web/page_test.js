// The real page in headless chromium: load, ON, the splash and the main display; the display
// canvas pixel for pixel what txm9-scenario writes after the same inputs, also for a key from
// the keyboard, a wheel notch and a click on the face; the display crisp at other scales.
//   TXM9_WEB_SITE=build-web/site TXM9_SCENARIO=build/frontends/cli/txm9-scenario \
//       node --test page_test.js
"use strict";

const test = require("node:test");
const assert = require("node:assert/strict");
const { openBrowser } = require("./browser.js");
const { runScenario, pngRgba } = require("./native_runner.js");

const PHASE = { off: 0, splash: 1, running: 2 };

let browser;
test.before(async () => { browser = await openBrowser(); });
test.after(async () => { await browser?.close(); });

// Waits until the instrument in `page` satisfies `condition` (a function of its module).
function until(page, condition, arg) {
    return page.waitForFunction(condition, arg, { timeout: 15000, polling: 20 });
}
const phaseIs = (page, phase) => until(page, (p) => window.txm9.module._txm9_phase() === p, phase);
// Waits for `n` more frames of the running instrument, or for its run to end.
async function frames(page, n) {
    const now = await page.evaluate(() => window.txm9.module._txm9_frames());
    await until(page, (target) => window.txm9.module._txm9_frames() >= target ||
                                  window.txm9.module._txm9_runs() === 0, now + n);
}

async function setSlider(page, id, count) {
    await page.evaluate(([id, count]) => {
        const slider = document.getElementById(id);
        slider.value = String(count);
        slider.dispatchEvent(new Event("input", { bubbles: true }));
    }, [id, count]);
}

// The canvas's device pixels, each compared with the LCD pixel under its centre in
// `expected` (RGBA of a picture of the display at any whole scale; by default the module's
// own picture of the frame buffer at that moment): how many differ, and the first that does.
async function compareCanvas(page, expected) {
    return page.evaluate((expected) => {
        expected ??= window.txm9.picture(1);
        const canvas = document.getElementById("lcd");
        const { width, height } = canvas;
        const shown = canvas.getContext("2d").getImageData(0, 0, width, height).data;
        const scale = expected.width / 114;
        let differ = 0;
        let first = null;
        for (let y = 0; y < height; ++y) {
            const ly = Math.floor(((y + 0.5) * 64) / height);
            for (let x = 0; x < width; ++x) {
                const lx = Math.floor(((x + 0.5) * 114) / width);
                const e = 4 * ((ly * scale) * expected.width + lx * scale);
                const s = 4 * (y * width + x);
                if (shown[s] !== expected.rgba[e] || shown[s + 1] !== expected.rgba[e + 1] ||
                    shown[s + 2] !== expected.rgba[e + 2]) {
                    if (differ++ === 0) first = { x, y, lx, ly };
                }
            }
        }
        return { width, height, differ, first };
    }, expected);
}

async function assertDisplayIs(page, picture, what) {
    const result = await compareCanvas(page, picture);
    assert.equal(result.differ, 0, `${what}: ${result.differ} device pixels differ, the first ` +
                 `at ${JSON.stringify(result.first)} of ${result.width} x ${result.height}`);
    return result;
}

test("ON, the splash, the main display; the same frames as the runner for the same inputs",
     async () => {
    const shots = runScenario(`
volts 1500
amps 2000
on
wait 3 s
screenshot main.png
press right
wait 200 ms
screenshot contrast.png
turn cw
wait 200 ms
screenshot contrast_up.png
press knob
wait 200 ms
screenshot back.png
`);
    const page = await browser.page({ width: 1100, height: 800 });
    assert.equal(await page.locator("#lcd").isVisible(), false, "no picture before the first ON");
    await setSlider(page, "TrackBar1", 1500);
    await setSlider(page, "TrackBar2", 2000);
    assert.equal(await page.textContent("#Label3"), "1500");
    assert.equal(await page.textContent("#Label4"), "2000");

    await page.click("#Button1");
    await phaseIs(page, PHASE.splash);
    await phaseIs(page, PHASE.running);
    await frames(page, 40);
    const main = await assertDisplayIs(page, pngRgba(shots["main.png"]), "the main display");
    assert.deepEqual([main.width, main.height], [228, 128], "at scale 1, 2 x 2 pixels each");

    // Saved at 456 x 256: the runner's picture, every LCD pixel a 4 x 4 block.
    const [download] = await Promise.all([page.waitForEvent("download"),
                                          page.click("#capture [data-save='4']")]);
    const saved = pngRgba(require("fs").readFileSync(await download.path()));
    const expected = pngRgba(shots["main.png"]);
    assert.deepEqual([saved.width, saved.height], [456, 256]);
    let differ = 0;
    for (let y = 0; y < 256; ++y) {
        for (let x = 0; x < 456; ++x) {
            const s = 4 * (y * 456 + x);
            const e = 4 * ((y >> 1) * 228 + (x >> 1));
            for (let k = 0; k < 3; ++k) differ += saved.rgba[s + k] !== expected.rgba[e + k];
        }
    }
    assert.equal(differ, 0, "the saved picture's colours differ from the runner's");

    await page.keyboard.press("F2");
    assert.ok(await page.locator("#pressed-right.shown").isVisible(), "F2 shows pressed");
    await frames(page, 4);
    await assertDisplayIs(page, pngRgba(shots["contrast.png"]), "F2: the contrast screen");
    await page.waitForSelector("#pressed-right:not(.shown)", { state: "attached" });

    const face = await page.locator("#Image2").boundingBox();
    await page.mouse.move(face.x + face.width / 2, face.y + face.height / 3);
    await page.mouse.wheel(0, -100); // one notch away from the user
    await frames(page, 4);
    await assertDisplayIs(page, pngRgba(shots["contrast_up.png"]), "a wheel notch away: cw");

    await page.click("#Image5");
    await frames(page, 4);
    await assertDisplayIs(page, pngRgba(shots["back.png"]), "a click on the knob");

    await page.click("#Button2");
    await phaseIs(page, PHASE.off);
    assert.deepEqual(page.errors, []);
});

test("the display is crisp at other device pixel ratios; a tap on a phone is a click",
     async () => {
    for (const view of [{ width: 390, height: 844, ratio: 3, touch: true },
                        { width: 1400, height: 900, ratio: 1.5 },
                        { width: 800, height: 600, ratio: 1.25 }]) {
        const page = await browser.page(view);
        await setSlider(page, "TrackBar1", 1500); // inside the alarm window: no alarm to acknowledge
        await page.click("#Button1");
        await phaseIs(page, PHASE.running);
        await frames(page, 4);
        const display = () => page.evaluate(() => window.txm9.picture(1).rgba.join());
        const before = await display();
        if (view.touch) {
            await page.tap("#Image6");
        } else {
            await page.click("#Image6");
        }
        await frames(page, 4);
        assert.notEqual(await display(), before, "the right key leaves the main display");
        // Every device pixel of the canvas the colour of the one LCD pixel under it.
        await assertDisplayIs(page, null, `at ${JSON.stringify(view)}`);
        const box = await page.locator("#lcd").boundingBox();
        const frame = await page.locator("#panel-frame").boundingBox();
        assert.ok(box.x >= frame.x && box.x + box.width <= frame.x + frame.width,
                  "the display stands inside the panel");
        assert.ok(frame.width <= view.width, "the panel fits the viewport's width");
        assert.equal(await page.evaluate(() => window.txm9.module._txm9_runs()), 1);
        await page.context().close();
    }
});

test("the firmware's fault shows in a message box; the next ON starts afresh", async () => {
    const page = await browser.page();
    await page.check("#CheckBox2 input");
    await setSlider(page, "TrackBar1", 1500);
    await setSlider(page, "TrackBar2", 1000);
    await page.click("#Button1");
    await phaseIs(page, PHASE.running);
    await frames(page, 40);
    // The menu, down to the calibration list, the zero point, then the charge point at the
    // zero point's own count.
    for (const key of ["Enter", ".", ".", ".", ".", "Enter", ".", ".", "Enter", "Enter", ".",
                       "Enter"]) {
        await page.keyboard.press(key);
        await frames(page, 3); // the last key ends the run
    }
    await page.waitForSelector("#fault-box[open]");
    assert.equal(await page.textContent("#fault-text"), "Floating point division by zero");
    assert.equal(await page.evaluate(() => window.txm9.module._txm9_runs()), 0);
    await page.click("#fault-box button");
    await page.waitForSelector("#fault-box:not([open])", { state: "attached" });
    await page.click("#Button1");
    await phaseIs(page, PHASE.running);
    await frames(page, 40);
    assert.equal(await page.evaluate(() => window.txm9.module._txm9_runs()), 1);
    await page.context().close();
});

test("a display that stands still costs no repaint; the instrument keeps its 40 passes a second " +
     "and takes a key at once", async () => {
    const page = await browser.page();
    await setSlider(page, "TrackBar1", 1500);
    await page.click("#Button1");
    await phaseIs(page, PHASE.running);
    await page.click("#inspector summary"); // folded: the inspector is not read
    await page.waitForTimeout(1500);
    const watched = await page.evaluate(async () => {
        let changes = 0;
        const observer = new MutationObserver((records) => { changes += records.length; });
        observer.observe(document.body, { subtree: true, childList: true, attributes: true,
                                          characterData: true });
        const module = window.txm9.module;
        const frames = module._txm9_frames();
        const start = performance.now();
        await new Promise((resolve) => setTimeout(resolve, 2000));
        const seconds = (performance.now() - start) / 1000;
        observer.disconnect();
        return { changes, passesPerSecond: (module._txm9_frames() - frames) / seconds };
    });
    assert.equal(watched.changes, 0, "nothing in the page changed");
    assert.ok(watched.passesPerSecond > 34 && watched.passesPerSecond < 46,
              `${watched.passesPerSecond} passes a second`);
    // A key, taken while the module waits out a still display, wakes it: the frames due catch
    // up at once and the key shows, not a quarter of a second later.
    const shown = await page.evaluate(() => new Promise((resolve) => {
        const m = window.txm9.module;
        const showFrame = m.page.showFrame;
        const clicked = { frame: m._txm9_frames(), at: performance.now() };
        m.page.showFrame = (rgba) => {
            m.page.showFrame = showFrame;
            showFrame(rgba);
            resolve({ passes: m._txm9_frames() - clicked.frame, ms: performance.now() - clicked.at });
        };
        window.txm9.key(5); // the right key, as a click on it gives
    }));
    assert.ok(shown.ms < 100, JSON.stringify(shown));
    await page.context().close();
});

test("every control stands where the window's layout puts it", async () => {
    const fs = require("fs");
    const path = require("path");
    const { readLayout } = require("../../tools/web_panel_geometry/panel_geometry.js");
    const [window, ...widgets] = readLayout(
        fs.readFileSync(path.join(__dirname, "../../frontends/qt/pcmain.ui"), "utf8"));
    const page = await browser.page({ width: 1000, height: 700, ratio: 1.5 });
    // Each element's box in window pixels: its place on the screen less the window's, unscaled.
    const boxes = await page.evaluate((names) => {
        const form = document.getElementById("Form1").getBoundingClientRect();
        const scale = form.width / document.getElementById("Form1").offsetWidth;
        const boxes = { Form1: { width: form.width / scale, height: form.height / scale } };
        for (const name of names) {
            const r = document.getElementById(name)?.getBoundingClientRect();
            boxes[name] = r && { left: (r.left - form.left) / scale, top: (r.top - form.top) / scale,
                                 width: r.width / scale, height: r.height / scale };
        }
        return boxes;
    }, widgets.map((w) => w.name));
    const near = (a, b) => Math.abs(a - b) < 0.05;
    assert.ok(near(boxes.Form1.width, window.width) && near(boxes.Form1.height, window.height),
              `the window: ${JSON.stringify(boxes.Form1)}`);
    for (const w of widgets) {
        const box = boxes[w.name];
        assert.ok(box, `${w.name} is on the page`);
        assert.ok(["left", "top", "width", "height"].every((k) => near(box[k], w[k])),
                  `${w.name}: the page ${JSON.stringify(box)}, the window ${JSON.stringify(w)}`);
    }
    await page.context().close();
});

test("the playground passes a shipped scenario and fails a wrong one at its line", async () => {
    const fs = require("fs");
    const path = require("path");
    const shipped = fs.readFileSync(
        path.join(__dirname, "../../scenarios/voltage_alarm.scenario"), "utf8");
    const page = await browser.page();
    const play = async (text) => {
        await page.fill("#scenario-text", text);
        await page.click("#scenario-run");
        await page.waitForSelector("#scenario-status.pass, #scenario-status.fail");
        return { status: await page.textContent("#scenario-status"),
                 output: await page.textContent("#scenario-output") };
    };
    assert.equal((await play(shipped)).status, "PASS");

    const wrong = "volts 1500\non\nwait 1 s\nexpect screen menu\n";
    const failed = await play(wrong);
    assert.equal(failed.status, "FAIL");
    assert.match(failed.output, /playground\.scenario:4/);
    assert.match(failed.output, /main/, "what the display shows instead");
    assert.equal(await page.locator("#scenario-frames canvas").count(), 1, "the display at the end");

    assert.equal((await play("volts 1500\non\nwait 1 s\nscreenshot shot.png scale 1\n")).status,
                 "PASS");
    await page.waitForFunction(() => document.querySelector("#scenario-frames img")?.complete);
    assert.equal(await page.evaluate(() => document.querySelector("#scenario-frames img").naturalWidth),
                 114, "the screenshot, a PNG the browser reads");
    assert.equal(await page.evaluate(() => window.txm9.module._txm9_frames()), 0,
                 "the panel's own instrument did nothing");
    await page.context().close();
});

test("a saved session replays to PASS in the native runner", async () => {
    const fs = require("fs");
    const os = require("os");
    const path = require("path");
    const page = await browser.page();
    await setSlider(page, "TrackBar1", 1620);
    await page.click("#Button1");
    await phaseIs(page, PHASE.running);
    await frames(page, 10);
    await page.keyboard.press("F2"); // the contrast screen
    await frames(page, 4);
    await page.keyboard.press(".");
    await frames(page, 4);
    await page.click("#Image5"); // back to the main display
    await frames(page, 4);
    await setSlider(page, "TrackBar2", 2500);
    await frames(page, 20);
    const [download] = await Promise.all([page.waitForEvent("download"),
                                          page.click("#save-session")]);
    const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "txm9-session-")),
                           download.suggestedFilename());
    await download.saveAs(file);
    const text = fs.readFileSync(file, "utf8");
    assert.match(text, /^on$/m);
    assert.match(text, /expect screen main/);
    const { playFile } = require("./native_runner.js");
    const replay = playFile(file);
    assert.equal(replay.status, 0, `${text}\n${replay.output}`);
    fs.rmSync(path.dirname(file), { recursive: true, force: true });
    await page.context().close();
});

test("Play on the panel ends with the runner's frame; a click on the face stops a loop",
     async () => {
    const scenario = "volts 1500\namps 2500\non\nwait 1 s\npress right\nturn cw 2\n" +
                     "expect screen contrast\nwait 500 ms\nscreenshot end.png\n";
    const shots = runScenario(scenario);
    const page = await browser.page({ width: 1100, height: 800 });
    await page.click("#speeds button:last-child"); // x16: the play keeps the speed chosen
    await page.fill("#scenario-text", scenario);
    await page.click("#scenario-play");
    await page.waitForSelector("#scenario-status.pass, #scenario-status.fail", { timeout: 15000 });
    assert.equal(await page.textContent("#scenario-status"), "PASS",
                 await page.textContent("#scenario-output"));
    assert.match(await page.textContent("#StatusBar1"), /^Played: 1 expectation met$/);
    await assertDisplayIs(page, pngRgba(shots["end.png"]), "the display after the play");
    assert.equal(await page.inputValue("#TrackBar2"), "2500", "the slider moved with the play");
    assert.equal(await page.evaluate(() => window.txm9.module._txm9_runs()), 0);

    await page.check("#scenario-loop");
    await page.fill("#scenario-text", "on\nwait 2 s\n");
    await page.click("#scenario-play");
    await page.waitForFunction(() => /round 2/.test(document.getElementById("StatusBar1")
        .textContent), null, { timeout: 15000 });
    await phaseIs(page, PHASE.running);
    await page.click("#Image6");
    assert.equal(await page.textContent("#StatusBar1"), "Playback stopped: the panel is yours");
    await frames(page, 400); // 10 s of instrument time: no OFF comes, no round starts
    assert.equal(await page.evaluate(() => window.txm9.module._txm9_runs()), 1);
    assert.equal(await page.textContent("#StatusBar1"), "Playback stopped: the panel is yours");
    assert.deepEqual(page.errors, []);
    await page.context().close();
});
