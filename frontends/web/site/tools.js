// Beside the panel: time control, the inspector and saving the session as a scenario. Time
// control is the core's (pause, step, x1/4 to x16); the inspector shows the core's inspector
// model while it can be seen: unfolded, in view, the page visible.

import { download, stamp } from "./capture.js";

// How often the inspector looks for changed values, and how often it shows the values that
// keep changing (counters: changed less than COUNTER_MS ago). Every change the page shows
// costs the browser a new picture of the page, so counters wait for a change of the display,
// which brings a new picture anyway (but come no closer than COUNTERS_WITH_DISPLAY_MS), or
// at the latest COUNTERS_MS. A value shown at its latest turn is still a counter at the next.
const LOOK_MS = 250;
const COUNTERS_WITH_DISPLAY_MS = 500;
const COUNTERS_MS = 1500;
const COUNTER_MS = 2 * COUNTERS_MS;
// How far outside the view a section of the inspector is kept up to date: more than a
// frame's scrolling, so that one scrolled into view shows its values already.
const NEAR_VIEW_PX = 100;
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

// The inspector's sections, each with its rows, written into the page only while it can be
// seen (the page visible, the inspector unfolded, the section in view or about to come into
// view): a value changed in a section scrolled away costs the browser nothing, and the new
// picture of a change covers only what can be seen. A section that comes near the view shows
// every value at once, before it is seen.
function connectInspector(instrument) {
    const inspector = document.getElementById("inspector");
    const root = document.getElementById("inspector-groups");
    // The rows in the module's order: {section, cell, text, latest, value, note, changed,
    // marked}: `latest` the module's [value, note], the others what the page shows.
    const cells = [];
    const sections = new Map(); // element -> {inView}
    let countersShown = -Infinity;

    // Shows what changed: values that change rarely always, counters (and the end of a mark)
    // when their turn has come, or at once with `everything`.
    const refresh = ({ withDisplay = false, everything = false } = {}) => {
        for (const [row, value, note] of instrument.inspectorChanges()) {
            cells[row].latest = [value, note];
        }
        const now = performance.now();
        const turn = everything ||
            now - countersShown >= 0.9 * (withDisplay ? COUNTERS_WITH_DISPLAY_MS : COUNTERS_MS);
        if (turn) countersShown = now;
        for (const shown of cells) {
            if (!shown.section.inView) continue;
            const [value, note] = shown.latest;
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
    };

    const seen = () => document.visibilityState === "visible" && inspector.open &&
        [...sections.values()].some((section) => section.inView);
    const observer = new IntersectionObserver((entries) => {
        let shown = false;
        for (const entry of entries) {
            const section = sections.get(entry.target);
            shown ||= entry.isIntersecting && !section.inView;
            section.inView = entry.isIntersecting;
        }
        if (shown && seen()) refresh({ everything: true });
    }, { rootMargin: `${NEAR_VIEW_PX}px 0px` });
    // The sections and labels are read once, then only the values.
    for (const group of instrument.inspector()) {
        const element = document.createElement("div");
        const section = { inView: true }; // until the first look at the layout
        sections.set(element, section);
        const title = document.createElement("h3");
        title.textContent = group.name;
        const table = document.createElement("table");
        for (const [name] of group.rows) {
            const row = table.insertRow();
            row.insertCell().textContent = name;
            cells.push({ section, cell: row.insertCell(), text: new Text(), latest: null,
                         value: null, note: null, changed: -Infinity, marked: false });
        }
        element.append(title, table);
        root.append(element);
        observer.observe(element);
    }
    refresh({ everything: true });
    return {
        refresh: (options) => { if (seen()) refresh(options); },
        unfolded: () => { if (seen()) refresh({ everything: true }); },
    };
}

export function connectTools(instrument) {
    const showTime = connectTime(instrument);
    const inspector = connectInspector(instrument);
    document.getElementById("inspector").addEventListener("toggle", inspector.unfolded);
    instrument.every(LOOK_MS, () => {
        if (document.visibilityState === "visible") showTime();
        inspector.refresh();
    });
    instrument.onDisplayChange(() => inspector.refresh({ withDisplay: true }));

    document.getElementById("save-session").addEventListener("click", () => {
        const text = instrument.sessionScenario();
        download(new Blob([text], { type: "text/plain" }), `txm9-session-${stamp()}.scenario`);
    });
}
