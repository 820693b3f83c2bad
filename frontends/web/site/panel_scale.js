// How large the panel is drawn. The window's layout is 621 x 404 pixels (panel_geometry.js,
// generated from it); the page scales it as a whole to fit the room it has. The display is pixel art: where a slightly smaller scale
// makes every LCD pixel the same whole number of device pixels, that scale is taken, so that
// no LCD pixel is drawn wider than its neighbours.

import { WINDOW } from "./panel_geometry.js";

export const WINDOW_WIDTH = WINDOW.width;
export const WINDOW_HEIGHT = WINDOW.height;

// The scale for a room of `width` x `height` CSS pixels at `ratio` device pixels per CSS
// pixel. An LCD pixel is two window pixels.
export function panelScale(width, height, ratio) {
    const fit = Math.max(0.1, Math.min(width / WINDOW_WIDTH, height / WINDOW_HEIGHT));
    const blocks = Math.floor(2 * fit * ratio + 1e-9); // device pixels per LCD pixel
    if (blocks >= 1) {
        const even = blocks / (2 * ratio);
        if (even >= 0.75 * fit) {
            return even;
        }
    }
    return fit;
}

// The device pixels from `start` to `start + length` CSS pixels, as whole pixels: where a
// picture placed there begins and how many device pixels it covers.
export function devicePixels(start, length, ratio) {
    const first = Math.round(start * ratio);
    const last = Math.round((start + length) * ratio);
    return { first, count: Math.max(1, last - first) };
}
