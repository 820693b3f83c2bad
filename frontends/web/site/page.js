// The page: the front panel scaled to fit, its inputs and outputs connected to the instrument
// running in WebAssembly, and the tools beside it.

import { panelScale, WINDOW_WIDTH } from "./panel_scale.js";
import { LcdView } from "./lcd_view.js";
import { connectPanel } from "./panel_inputs.js";
import { connectCapture } from "./capture.js";
import { loadInstrument } from "./instrument.js";
import { connectTools } from "./tools.js";
import { connectPlayground } from "./playground.js";
import { connectEmbedControl } from "./embed_control.js";

const frame = document.getElementById("panel-frame");
const lcd = new LcdView(document.getElementById("lcd"), document.getElementById("Image1"));

// The tools stand beside the panel when there is room for both, below it otherwise.
const TOOLS_BESIDE = 440;
const GAP = 12;

function fit() {
    const ratio = window.devicePixelRatio || 1;
    const page = document.getElementById("page");
    const style = getComputedStyle(page);
    const width = page.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
    const height = window.innerHeight - 2 * parseFloat(style.paddingTop);
    const beside = width >= WINDOW_WIDTH + TOOLS_BESIDE + GAP;
    const scale = panelScale(beside ? width - TOOLS_BESIDE - GAP : width, Math.max(height, 200),
                             ratio);
    document.documentElement.style.setProperty("--scale", String(scale));
    // The frame may stand between device pixels; the display is placed on whole ones.
    const box = frame.getBoundingClientRect();
    const offset = (v) => v * ratio - Math.floor(v * ratio + 1e-6);
    lcd.place(scale, ratio, offset(box.left + window.scrollX), offset(box.top + window.scrollY));
    document.getElementById("page").classList.toggle("beside", beside);
}

window.addEventListener("resize", fit);
// A zoom or a move to a screen of another density changes the device pixel ratio.
(function watchRatio() {
    const query = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
    query.addEventListener("change", () => { fit(); watchRatio(); }, { once: true });
})();
new ResizeObserver(fit).observe(document.getElementById("page"));
fit();

const instrument = await loadInstrument();
const panel = connectPanel(instrument);
// The panel's outputs, and its controls as a scenario playing on it moves them.
instrument.attach({ ...panel, showFrame: (rgba) => lcd.show(rgba) });
connectCapture(instrument);
connectTools(instrument);
connectPlayground(instrument);
// Driven by the page that embeds this one, if it asked for that in the address.
connectEmbedControl(instrument);
// For the browser console and the tests: the running instrument.
window.txm9 = instrument;
document.documentElement.dataset.ready = "true";
