// The scenario playground's worker: a module of its own, so that a scenario plays away from
// the panel's instrument and never holds up the page. Each message is a scenario text; the
// answer is its outcome with the pictures it wrote and the display at the end.
/* global createTxm9, importScripts */
"use strict";

importScripts("txm9.js");
const ready = createTxm9();

function rgba(module, start, width, height) {
    return module.HEAPU8.slice(start, start + width * height * 4);
}

onmessage = async (event) => {
    const module = await ready;
    const started = performance.now();
    const outcome = JSON.parse(module.ccall("txm9_play", "string", ["string"], [event.data.text]));
    outcome.wall_ms = performance.now() - started;
    const transfer = [];
    outcome.pictures.forEach((picture, index) => {
        picture.rgba = rgba(module, module._txm9_played_picture(index), picture.width,
                            picture.height);
        transfer.push(picture.rgba.buffer);
    });
    const end = module._txm9_picture(2);
    outcome.display = {
        name: "the display at the end",
        width: module._txm9_picture_width(),
        height: module._txm9_picture_height(),
    };
    outcome.display.rgba = rgba(module, end, outcome.display.width, outcome.display.height);
    transfer.push(outcome.display.rgba.buffer);
    postMessage(outcome, transfer);
};
