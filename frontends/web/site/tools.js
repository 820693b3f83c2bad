// Beside the panel: time control, the inspector and saving the session as a scenario. Time
// control is the core's (pause, step, x1/4 to x16); the inspector shows the core's inspector
// model, five times a second while the page is seen.

import { download, stamp } from "./capture.js";

const REFRESH_MS = 200;
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
                cells.set(`${group.name}/${name}`, { cell, value: null, note: null, changed: 0 });
            }
            section.append(title, table);
            root.append(section);
        }
    };
    const refresh = () => {
        const groups = instrument.inspector();
        if (cells.size === 0) {
            build(groups);
        }
        const now = performance.now();
        for (const group of groups) {
            for (const [name, value, note] of group.rows) {
                const shown = cells.get(`${group.name}/${name}`);
                if (shown === undefined) continue;
                if (shown.value !== value || shown.note !== note) {
                    if (shown.value !== null) shown.changed = now;
                    shown.value = value;
                    shown.note = note;
                    shown.cell.textContent = value;
                    if (note) {
                        const mark = document.createElement("span");
                        mark.className = note === "factory" ? "factory" : "not-factory";
                        mark.textContent = ` (${note})`;
                        shown.cell.append(mark);
                    }
                }
                shown.cell.classList.toggle("changed", now - shown.changed < FLASH_MS);
            }
        }
    };
    return refresh;
}

export function connectTools(instrument) {
    const showTime = connectTime(instrument);
    const refresh = connectInspector(instrument);
    // The inspector is read only while it can be seen: every change the page shows costs the
    // browser a new picture of the page.
    let inspectorInView = true;
    new IntersectionObserver(([entry]) => { inspectorInView = entry.isIntersecting; })
        .observe(document.getElementById("inspector"));
    setInterval(() => {
        if (document.visibilityState === "visible") {
            if (inspectorInView) refresh();
            showTime();
        }
    }, REFRESH_MS);
    refresh();

    document.getElementById("save-session").addEventListener("click", () => {
        const text = instrument.sessionScenario();
        download(new Blob([text], { type: "text/plain" }), `txm9-session-${stamp()}.scenario`);
    });
}
