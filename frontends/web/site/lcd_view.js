// The display picture on the page: 228 x 128 window pixels scaled with the panel, drawn so
// that every device pixel takes the colour of the one LCD pixel under its centre, never a
// blend of two. The canvas is placed on whole device pixels and its drawing surface has
// exactly the device pixels it covers, so the browser never resamples it. The scaled picture
// is written here and put into the canvas in one step: a new frame costs the browser one
// canvas update, not a second canvas to scale from.

import { WIDGETS } from "./panel_geometry.js";
import { devicePixels } from "./panel_scale.js";

export const LCD_WIDTH = 114;
export const LCD_HEIGHT = 64;
// Where the picture stands in the window: Image1, inside Panel1's 1-pixel bevel.
const LCD_LEFT = WIDGETS.Image1.left;
const LCD_TOP = WIDGETS.Image1.top;

export class LcdView {
    constructor(canvas, surface) {
        this.canvas = canvas;
        this.surface = surface; // Image1: white once painted, the panel's colour before
        this.context = canvas.getContext("2d");
        this.frame = null; // the LCD's pixels, one 32-bit RGBA word each
        this.image = null; // the canvas's device pixels
    }

    // Places the canvas for a panel at `scale` whose top-left corner is at CSS pixel
    // (`left`, `top`) of the canvas's positioned parent, that parent's corner being
    // `originX`, `originY` device pixels from a whole device pixel.
    place(scale, ratio, originX = 0, originY = 0) {
        const x = devicePixels(originX / ratio + LCD_LEFT * scale, 2 * LCD_WIDTH * scale, ratio);
        const y = devicePixels(originY / ratio + LCD_TOP * scale, 2 * LCD_HEIGHT * scale, ratio);
        const style = this.canvas.style;
        style.left = `${(x.first - originX) / ratio}px`;
        style.top = `${(y.first - originY) / ratio}px`;
        style.width = `${x.count / ratio}px`;
        style.height = `${y.count / ratio}px`;
        if (this.canvas.width !== x.count || this.canvas.height !== y.count) {
            this.canvas.width = x.count;
            this.canvas.height = y.count;
            this.image = null;
            this.redraw();
        }
    }

    // Shows a frame: 114 x 64 RGBA pixels.
    show(rgba) {
        this.frame = new Uint32Array(new Uint8Array(rgba).buffer);
        if (!this.canvas.classList.contains("painted")) {
            this.surface.classList.add("painted");
            this.canvas.classList.add("painted");
        }
        this.redraw();
    }

    redraw() {
        if (this.frame === null) {
            return;
        }
        const { width, height } = this.canvas;
        if (this.image === null) {
            this.image = new ImageData(width, height);
            // The LCD column and row under each device pixel's centre.
            this.columns = Int32Array.from({ length: width },
                                           (_, x) => Math.floor(((x + 0.5) * LCD_WIDTH) / width));
            this.rows = Int32Array.from({ length: height },
                                        (_, y) => Math.floor(((y + 0.5) * LCD_HEIGHT) / height));
        }
        const out = new Uint32Array(this.image.data.buffer);
        for (let y = 0; y < height; ++y) {
            const at = y * width;
            if (y > 0 && this.rows[y] === this.rows[y - 1]) {
                out.copyWithin(at, at - width, at); // the same LCD row again
                continue;
            }
            const from = this.rows[y] * LCD_WIDTH;
            for (let x = 0; x < width; ++x) {
                out[at + x] = this.frame[from + this.columns[x]];
            }
        }
        this.context.putImageData(this.image, 0, 0);
    }
}
