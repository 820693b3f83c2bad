// The scenario playground: a scenario typed (or pasted) in the language txm9-scenario reads,
// played in a worker with its own instrument, so that the panel is left as it is. It shows
// PASS or the failure with what the display read, and the pictures: the display at the end,
// every screenshot, and the pictures that explain a mismatched frame. "Play on the panel" plays
// the same text on the live panel instead.

import { connectPanelPlay } from "./panel_play.js";

function pictureCanvas(picture) {
    const canvas = document.createElement("canvas");
    canvas.width = picture.width;
    canvas.height = picture.height;
    canvas.getContext("2d").putImageData(
        new ImageData(new Uint8ClampedArray(picture.rgba), picture.width, picture.height), 0, 0);
    return canvas;
}

// A PNG file the scenario wrote; native 114 x 64 pictures are shown at the display's size.
function pngImage(bytes) {
    const image = document.createElement("img");
    image.src = URL.createObjectURL(new Blob([bytes], { type: "image/png" }));
    image.onload = () => {
        if (image.naturalWidth <= 114) image.style.width = `${image.naturalWidth * 2}px`;
    };
    return image;
}

function figure(content, name) {
    const element = document.createElement("figure");
    const caption = document.createElement("figcaption");
    caption.textContent = name;
    element.append(content, caption);
    return element;
}

export function connectPlayground(instrument) {
    const text = document.getElementById("scenario-text");
    const run = document.getElementById("scenario-run");
    const status = document.getElementById("scenario-status");
    const output = document.getElementById("scenario-output");
    const frames = document.getElementById("scenario-frames");
    let worker = null;
    let busy = false;

    const show = (outcome) => {
        const passed = outcome.status === "passed";
        status.textContent = passed ? "PASS" :
            outcome.status === "failed" ? "FAIL" : "CANNOT RUN";
        status.className = passed ? "pass" : "fail";
        status.title = `${outcome.passes} passes, ${(outcome.instrument_ms / 1000).toFixed(1)} s ` +
            `of instrument time in ${Math.round(outcome.wall_ms)} ms`;
        output.textContent = [outcome.message, ...outcome.notices, outcome.printed]
            .filter((line) => line).join("\n");
        for (const image of frames.querySelectorAll("img")) URL.revokeObjectURL(image.src);
        frames.replaceChildren(figure(pictureCanvas(outcome.display), "the display at the end"));
        for (const file of outcome.files.filter((f) => f.name.endsWith(".png"))) {
            frames.append(figure(pngImage(file.bytes), file.name));
        }
    };

    const showPlayed = (outcome) => {
        const passed = outcome.status === "passed";
        status.textContent = passed ? "PASS" :
            outcome.status === "failed" ? "FAIL" : "CANNOT RUN";
        status.className = passed ? "pass" : "fail";
        status.title = `played on the panel, ${(outcome.instrument_ms / 1000).toFixed(1)} s ` +
            "of instrument time";
        output.textContent = outcome.message;
        document.getElementById("StatusBar1").textContent = outcome.summary;
    };
    connectPanelPlay(instrument, {
        text,
        button: document.getElementById("scenario-play"),
        loop: document.getElementById("scenario-loop"),
        show: showPlayed,
    });

    run.addEventListener("click", () => {
        // A run still going is given up: its worker goes with it.
        if (busy) {
            worker.terminate();
            worker = null;
        }
        if (worker === null) {
            worker = new Worker("playground_worker.js");
            worker.onmessage = (event) => {
                busy = false;
                show(event.data);
            };
            worker.onerror = (event) => {
                busy = false;
                status.textContent = "ERROR";
                status.className = "fail";
                output.textContent = event.message;
            };
        }
        busy = true;
        status.textContent = "running…";
        status.className = "";
        worker.postMessage({ text: text.value });
    });
}
