// The page's panel geometry from the window's own layout (frontends/qt/pcmain.ui): every
// widget's rectangle, so that the page draws each control where the window does, from one
// source. The browser build runs it (frontends/web/site/CMakeLists.txt) and writes two files
// into the site:
//   panel_geometry.css   each widget's place and size, by its name as the page's element id
//   panel_geometry.js    the window's size and every widget's rectangle in window pixels
//   node tools/web_panel_geometry/panel_geometry.js frontends/qt/pcmain.ui DIR
"use strict";

const fs = require("fs");
const path = require("path");

// The widgets of a Designer file in document order: name, class, the name of the widget they
// sit in (null for the window), their rectangle relative to it (x, y, width, height) and
// relative to the window (left, top).
function readLayout(uiText) {
    const token = /<widget\s+class="([^"]+)"\s+name="([^"]+)"\s*>|<\/widget>|<property\s+name="geometry"\s*>\s*<rect>\s*<x>(-?\d+)<\/x>\s*<y>(-?\d+)<\/y>\s*<width>(\d+)<\/width>\s*<height>(\d+)<\/height>\s*<\/rect>/g;
    const widgets = [];
    const open = [];
    for (const m of uiText.matchAll(token)) {
        if (m[2] !== undefined) {
            const widget = { name: m[2], class: m[1], parent: open.at(-1)?.name ?? null };
            widgets.push(widget);
            open.push(widget);
        } else if (m[0] === "</widget>") {
            if (open.pop() === undefined) throw new Error("a </widget> closes nothing");
        } else {
            const widget = open.at(-1);
            if (widget === undefined) throw new Error("a geometry outside any widget");
            const parent = widgets.find((w) => w.name === widget.parent);
            Object.assign(widget, {
                x: Number(m[3]), y: Number(m[4]), width: Number(m[5]), height: Number(m[6]),
            });
            widget.left = parent ? parent.left + widget.x : 0;
            widget.top = parent ? parent.top + widget.y : 0;
        }
    }
    if (open.length !== 0) throw new Error(`<widget name="${open.at(-1).name}"> is not closed`);
    const missing = widgets.find((w) => w.width === undefined);
    if (missing) throw new Error(`${missing.name} has no geometry`);
    if (widgets.length === 0) throw new Error("no widgets");
    return widgets;
}

function header(command, commentStart, commentEnd) {
    return `${commentStart} Generated from the window's layout; do not edit. Made by:\n` +
        `   ${command} ${commentEnd}\n`;
}

// The CSS: the window's size, then each widget placed in its parent as the window places it
// (a parent's own border is panel.css's business).
function css(widgets, command) {
    const [window, ...children] = widgets;
    let text = header(command, "/*", "*/");
    text += `:root {\n    --window-width: ${window.width}px;\n` +
        `    --window-height: ${window.height}px;\n}\n`;
    text += `.window { width: ${window.width}px; height: ${window.height}px; }\n`;
    for (const w of children) {
        text += `#${w.name} { left: ${w.x}px; top: ${w.y}px; ` +
            `width: ${w.width}px; height: ${w.height}px; }\n`;
    }
    return text;
}

function js(widgets, command) {
    const [window, ...children] = widgets;
    let text = header(command, "/*", "*/");
    text += `export const WINDOW = { width: ${window.width}, height: ${window.height} };\n`;
    text += "// Each widget's rectangle in window pixels, from the window's top-left corner.\n";
    text += "export const WIDGETS = {\n";
    for (const w of children) {
        text += `    ${w.name}: { left: ${w.left}, top: ${w.top}, ` +
            `width: ${w.width}, height: ${w.height} },\n`;
    }
    return text + "};\n";
}

module.exports = { readLayout };

if (require.main === module) {
    const [ui, out] = process.argv.slice(2);
    if (!ui || !out) {
        console.error("usage: node tools/web_panel_geometry/panel_geometry.js LAYOUT.ui DIR");
        process.exit(2);
    }
    try {
        const widgets = readLayout(fs.readFileSync(ui, "utf8"));
        const command = "node tools/web_panel_geometry/panel_geometry.js frontends/qt/pcmain.ui DIR";
        fs.mkdirSync(out, { recursive: true });
        fs.writeFileSync(path.join(out, "panel_geometry.css"), css(widgets, command));
        fs.writeFileSync(path.join(out, "panel_geometry.js"), js(widgets, command));
    } catch (error) {
        console.error(`panel_geometry.js: ${ui}: ${error.message}`);
        process.exit(1);
    }
}
