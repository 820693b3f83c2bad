// The scenario playground's worker: a module of its own, so that a scenario plays away from
// the panel's instrument and never holds up the page. Each message is a scenario text; the
// answer is its outcome with the files it wrote and the display at the end.
/* global createTxm9, importScripts */
"use strict";

importScripts("txm9.js");
const ready = createTxm9();

onmessage = async (event) => {
    const module = await ready;
    const started = performance.now();
    const outcome = JSON.parse(module.ccall("txm9_play", "string", ["string"], [event.data.text]));
    outcome.wall_ms = performance.now() - started;
    const transfer = [];
    outcome.files = outcome.files.map((name, index) => {
        const start = module._txm9_played_file(index);
        const bytes = module.HEAPU8.slice(start, start + module._txm9_played_file_size(index));
        transfer.push(bytes.buffer);
        return { name, bytes };
    });
    const end = module._txm9_picture(2);
    const width = module._txm9_picture_width();
    const height = module._txm9_picture_height();
    outcome.display = { width, height, rgba: module.HEAPU8.slice(end, end + width * height * 4) };
    transfer.push(outcome.display.rgba.buffer);
    postMessage(outcome, transfer);
};
