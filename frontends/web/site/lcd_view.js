// The display picture on the page: 228 x 128 window pixels scaled with the panel, drawn so
// that every device pixel takes the colour of the one LCD pixel under it, never a blend of
// two. The canvas is placed on whole device pixels and its drawing surface has exactly the
// device pixels it covers, so the browser never resamples it.

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
        this.source = document.createElement("canvas");
        this.source.width = LCD_WIDTH;
        this.source.height = LCD_HEIGHT;
        this.sourceContext = this.source.getContext("2d");
        this.frame = null;
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
            this.redraw();
        }
    }

    // Shows a frame: 114 x 64 RGBA pixels.
    show(rgba) {
        this.frame = new ImageData(new Uint8ClampedArray(rgba), LCD_WIDTH, LCD_HEIGHT);
        this.sourceContext.putImageData(this.frame, 0, 0);
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
        const context = this.canvas.getContext("2d");
        context.imageSmoothingEnabled = false;
        context.drawImage(this.source, 0, 0, this.canvas.width, this.canvas.height);
    }
}
