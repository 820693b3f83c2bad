// The scenario playground: a scenario typed (or pasted) in the language txm9-scenario reads,
// played in a worker with its own instrument, so that the panel is left as it is. It shows
// PASS or the failure with what the display read, and the pictures: the display at the end,
// every screenshot, and the pictures that explain a mismatched frame.

function pictureCanvas(picture, scale = 1) {
    const canvas = document.createElement("canvas");
    canvas.width = picture.width;
    canvas.height = picture.height;
    canvas.style.width = `${picture.width * scale}px`;
    canvas.getContext("2d").putImageData(
        new ImageData(new Uint8ClampedArray(picture.rgba), picture.width, picture.height), 0, 0);
    return canvas;
}

export function connectPlayground() {
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
        frames.replaceChildren();
        for (const picture of [outcome.display, ...outcome.pictures]) {
            const figure = document.createElement("figure");
            const caption = document.createElement("figcaption");
            caption.textContent = picture.name;
            // Native 114 x 64 pictures are shown at the display's own size.
            figure.append(pictureCanvas(picture, picture.width <= 114 ? 2 : 1), caption);
            frames.append(figure);
        }
    };

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
