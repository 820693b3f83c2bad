// Taking the display away from the panel: copy it to the clipboard or save it as a PNG
// through the browser's own download, at 114 x 64, 228 x 128 (as shown) or 456 x 256.
// The pictures are the ones the window saves and txm9-scenario writes, from the same code.
// Right click on the display (touch and hold on a phone) offers the same as the buttons.

// The date and time for a file name: 20240131-142500.
export function stamp() {
    const now = new Date();
    const two = (n) => String(n).padStart(2, "0");
    return `${now.getFullYear()}${two(now.getMonth() + 1)}${two(now.getDate())}-` +
        `${two(now.getHours())}${two(now.getMinutes())}${two(now.getSeconds())}`;
}

// A picture {width, height, rgba} as a PNG blob.
export function pngBlob(picture) {
    const canvas = document.createElement("canvas");
    canvas.width = picture.width;
    canvas.height = picture.height;
    canvas.getContext("2d").putImageData(
        new ImageData(new Uint8ClampedArray(picture.rgba), picture.width, picture.height), 0, 0);
    return new Promise((resolve, reject) =>
        canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error("no PNG"))), "image/png"));
}

// Offers `blob` for download under `name`.
export function download(blob, name) {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

export function connectCapture(instrument) {
    const note = document.getElementById("capture-note");
    const say = (text) => {
        note.textContent = text;
        setTimeout(() => { if (note.textContent === text) note.textContent = ""; }, 4000);
    };
    const shown = () => instrument.hasFrame() || (say("Nothing on the display yet."), false);

    const copy = async (scale) => {
        if (!shown()) return;
        try {
            const blob = await pngBlob(instrument.picture(scale));
            await navigator.clipboard.write([new ClipboardItem({ "image/png": blob })]);
            say("Copied.");
        } catch (error) {
            say(`The display could not be copied: ${error.message}`);
        }
    };
    const save = async (scale) => {
        if (!shown()) return;
        download(await pngBlob(instrument.picture(scale)), `txm9-display-${stamp()}.png`);
    };

    const menu = document.getElementById("display-menu");
    const closeMenu = () => { menu.hidden = true; };
    for (const button of document.querySelectorAll("[data-copy]")) {
        button.addEventListener("click", () => { closeMenu(); copy(Number(button.dataset.copy)); });
    }
    for (const button of document.querySelectorAll("[data-save]")) {
        button.addEventListener("click", () => { closeMenu(); save(Number(button.dataset.save)); });
    }

    const openMenu = (event) => {
        event.preventDefault();
        menu.hidden = false;
        const x = Math.min(event.clientX, window.innerWidth - menu.offsetWidth - 4);
        const y = Math.min(event.clientY, window.innerHeight - menu.offsetHeight - 4);
        menu.style.left = `${Math.max(0, x)}px`;
        menu.style.top = `${Math.max(0, y)}px`;
        menu.querySelector("button").focus();
    };
    for (const id of ["lcd", "Image1"]) {
        document.getElementById(id).addEventListener("contextmenu", openMenu);
    }
    document.addEventListener("pointerdown", (event) => {
        if (!menu.hidden && !menu.contains(event.target)) closeMenu();
    });
    document.addEventListener("keydown", (event) => {
        if (event.key === "Escape") closeMenu();
    });
}
