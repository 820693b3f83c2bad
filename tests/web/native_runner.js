// The desktop's scenario runner, for what the page must match: plays a scenario text and
// returns the screenshots it wrote.
"use strict";

const fs = require("fs");
const os = require("os");
const path = require("path");
const zlib = require("zlib");
const { execFileSync } = require("child_process");

function runnerPath() {
    const runner = process.env.TXM9_SCENARIO;
    if (!runner || !fs.existsSync(runner)) {
        throw new Error("TXM9_SCENARIO must name the native txm9-scenario program");
    }
    return path.resolve(runner);
}

// Plays `text`; returns {NAME.png: bytes} of every picture written. Throws with the runner's
// output when the scenario does not pass.
function runScenario(text, name = "page.scenario") {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "txm9-page-"));
    try {
        const file = path.join(folder, name);
        fs.writeFileSync(file, text);
        execFileSync(runnerPath(), ["--quiet", file], { cwd: folder, encoding: "utf8" });
        const pictures = {};
        for (const entry of fs.readdirSync(folder)) {
            if (entry.endsWith(".png")) pictures[entry] = fs.readFileSync(path.join(folder, entry));
        }
        return pictures;
    } finally {
        fs.rmSync(folder, { recursive: true, force: true });
    }
}

// Plays the scenario file `file`: {status, output}.
function playFile(file) {
    try {
        const output = execFileSync(runnerPath(), [file], { encoding: "utf8" });
        return { status: 0, output };
    } catch (error) {
        return { status: error.status, output: `${error.stdout}${error.stderr}` };
    }
}

// The pixels of a PNG as the runner writes it (8-bit RGB or RGBA, not interlaced):
// {width, height, rgba}.
function pngRgba(bytes) {
    let offset = 8;
    let width = 0;
    let height = 0;
    let channels = 0;
    const data = [];
    while (offset < bytes.length) {
        const length = bytes.readUInt32BE(offset);
        const type = bytes.toString("ascii", offset + 4, offset + 8);
        const body = bytes.subarray(offset + 8, offset + 8 + length);
        if (type === "IHDR") {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            const [depth, colour, , , interlace] = body.subarray(8, 13);
            channels = { 2: 3, 6: 4 }[colour];
            if (depth !== 8 || !channels || interlace !== 0) {
                throw new Error(`unexpected PNG: depth ${depth}, colour type ${colour}`);
            }
        } else if (type === "IDAT") {
            data.push(body);
        }
        offset += 12 + length;
    }
    const raw = zlib.inflateSync(Buffer.concat(data));
    const stride = width * channels;
    const rgba = new Array(width * height * 4);
    let previous = new Uint8Array(stride);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        const line = Uint8Array.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
        for (let i = 0; i < stride; ++i) {
            const a = i >= channels ? line[i - channels] : 0;
            const b = previous[i];
            const c = i >= channels ? previous[i - channels] : 0;
            const p = a + b - c;
            const pa = Math.abs(p - a);
            const pb = Math.abs(p - b);
            const pc = Math.abs(p - c);
            const paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            const add = [0, a, b, (a + b) >> 1, paeth][filter];
            line[i] = (line[i] + add) & 0xff;
        }
        for (let x = 0; x < width; ++x) {
            for (let k = 0; k < 4; ++k) {
                rgba[4 * (y * width + x) + k] = k < channels ? line[x * channels + k] : 255;
            }
        }
        previous = line;
    }
    return { width, height, rgba };
}

module.exports = { runnerPath, runScenario, playFile, pngRgba };
