// Beside the panel: time control, the inspector and saving the session as a scenario. Time
// control is the core's (pause, step, x1/4 to x16); the inspector shows the core's inspector
// model while it can be seen: unfolded, in view, the page visible.

import { download, stamp } from "./capture.js";

// How often the inspector looks for changed values, and how often it shows the values that
// keep changing (counters: changed less than COUNTER_MS ago). Every change the page shows
// costs the browser a new picture of the page, so counters wait for their turn, and a change
// of the display brings a look at once, to go into the same picture.
const LOOK_MS = 250;
const COUNTERS_MS = 1000;
const COUNTERS_WITH_DISPLAY_MS = 250;
const COUNTER_MS = 2000;
// How long a changed value stays marked.
const FLASH_MS = 600;

function connectTime(instrument) {
    const pause = document.getElementById("pause");
    const step = document.getElementById("step");
    const speeds = document.getElementById("speeds");
    const buttons = instrument.speeds().map(([speed, name]) => {
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = name;
        button.title = `Passes and tick at ${name} their speed`;
        button.addEventListener("click", () => { instrument.setSpeed(speed); show(); });
        speeds.append(button);
        return [speed, button];
    });
    let shown = "";
    // Only a change is written into the page, which then lays out and paints again.
    const show = () => {
        const { paused, speed } = instrument.timeControl();
        if (`${paused} ${speed}` === shown) return;
        shown = `${paused} ${speed}`;
        pause.textContent = paused ? "Resume" : "Pause";
        pause.setAttribute("aria-pressed", String(paused));
        step.disabled = !paused;
        for (const [value, button] of buttons) {
            button.setAttribute("aria-pressed", String(value === speed));
        }
    };
    pause.addEventListener("click", () => {
        instrument.setPaused(!instrument.timeControl().paused);
        show();
    });
    step.addEventListener("click", () => instrument.step());
    show();
    return show;
}

function connectInspector(instrument) {
    const root = document.getElementById("inspector-groups");
    const cells = new Map(); // row name -> {cell, value, changed}
    const build = (groups) => {
        root.replaceChildren();
        cells.clear();
        for (const group of groups) {
            const section = document.createElement("div");
            const title = document.createElement("h3");
            title.textContent = group.name;
            const table = document.createElement("table");
            for (const [name] of group.rows) {
                const row = table.insertRow();
                row.insertCell().textContent = name;
                const cell = row.insertCell();
                cells.set(`${group.name}/${name}`,
                          { cell, text: new Text(), value: null, note: null, changed: -Infinity,
                            marked: false });
            }
            section.append(title, table);
            root.append(section);
        }
    };
    let countersShown = -Infinity;
    // Shows what changed: values that change rarely always, counters (and the end of a mark)
    // when their turn has come.
    const refresh = (withDisplay = false) => {
        const groups = instrument.inspector();
        if (cells.size === 0) {
            build(groups);
        }
        const now = performance.now();
        const turn =
            now - countersShown >= 0.9 * (withDisplay ? COUNTERS_WITH_DISPLAY_MS : COUNTERS_MS);
        if (turn) countersShown = now;
        for (const group of groups) {
            for (const [name, value, note] of group.rows) {
                const shown = cells.get(`${group.name}/${name}`);
                if (shown === undefined) continue;
                const counter = now - shown.changed < COUNTER_MS;
                if ((shown.value !== value || shown.note !== note) && (turn || !counter)) {
                    if (shown.value !== null) {
                        shown.changed = now;
                        if (!shown.marked) shown.cell.classList.add("changed");
                        shown.marked = true;
                    }
                    if (shown.note !== note || shown.value === null) {
                        shown.cell.replaceChildren(shown.text);
                        if (note) {
                            const mark = document.createElement("span");
                            mark.className = note === "factory" ? "factory" : "not-factory";
                            mark.textContent = ` (${note})`;
                            shown.cell.append(mark);
                        }
                    }
                    shown.text.data = value; // the text alone changes: no new nodes to lay out
                    shown.value = value;
                    shown.note = note;
                } else if (turn && shown.marked && now - shown.changed >= FLASH_MS) {
                    shown.cell.classList.remove("changed");
                    shown.marked = false;
                }
            }
        }
    };
    return refresh;
}

export function connectTools(instrument) {
    const showTime = connectTime(instrument);
    const refresh = connectInspector(instrument);
    const inspector = document.getElementById("inspector");
    const groups = document.getElementById("inspector-groups");
    let inView = true;
    new IntersectionObserver(([entry]) => { inView = entry.isIntersecting; }).observe(groups);
    const seen = () => document.visibilityState === "visible" && inspector.open && inView;
    inspector.addEventListener("toggle", () => { if (seen()) refresh(); });
    instrument.every(LOOK_MS, () => {
        if (document.visibilityState === "visible") showTime();
        if (seen()) refresh();
    });
    instrument.onDisplayChange(() => { if (seen()) refresh(true); });
    refresh();

    document.getElementById("save-session").addEventListener("click", () => {
        const text = instrument.sessionScenario();
        download(new Blob([text], { type: "text/plain" }), `txm9-session-${stamp()}.scenario`);
    });
}
