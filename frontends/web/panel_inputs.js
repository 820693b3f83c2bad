// The front panel's inputs on the page, as the window has them: the three click areas of the
// face, ON and OFF, the turn buttons, both sliders with their count labels and the two check
// boxes; and the window's extras: F1, F2, Return or Enter, "." and ",", the wheel over the
// face, and the pressed look of a key or the knob used from the keyboard or the wheel. The
// inputs, their controls, keys and tooltips, the pressed look's time and the wheel's notch
// come from the module's one list of them. A tap on a phone is a click. Everything goes to
// `instrument`, which handles it as the window's handlers do.

// Turns wheel movement into whole knob steps. A notch is `notch` eighths of a degree (as
// wheelDeltaY counts them), and a fine wheel or a touchpad sends it in parts; movement in the
// other direction starts the count afresh, so that a small swipe back and forth turns nothing.
export class WheelNotches {
    constructor(notch) {
        this.notch = notch;
        this.partial = 0;
    }

    // Adds a movement (positive: away from the user) and returns the whole notches it
    // completes, negative towards the user.
    add(eighths) {
        if ((eighths > 0 && this.partial < 0) || (eighths < 0 && this.partial > 0)) {
            this.partial = 0;
        }
        this.partial += eighths;
        const notches = Math.trunc(this.partial / this.notch);
        this.partial -= notches * this.notch;
        return notches;
    }
}

// A wheel event's movement in eighths of a degree, away from the user positive; `notch` of
// them make a notch.
export function wheelEighths(event, notch) {
    if (typeof event.wheelDeltaY === "number" && event.wheelDeltaY !== 0) {
        return event.wheelDeltaY;
    }
    switch (event.deltaMode) {
    case WheelEvent.DOM_DELTA_LINE:
        return -event.deltaY * (notch / 3); // three lines a notch
    case WheelEvent.DOM_DELTA_PAGE:
        return -event.deltaY * notch;
    default:
        return -event.deltaY * (notch / 100); // a hundred pixels a notch
    }
}

// Where typing goes to a text field rather than to the panel.
function typingInto(target) {
    return target instanceof HTMLTextAreaElement ||
        (target instanceof HTMLInputElement && !["checkbox", "range", "button"].includes(target.type)) ||
        (target instanceof HTMLElement && target.isContentEditable);
}

// The pressed look on the face of an input: the left or right key, or the knob (pressed or
// turned).
const LOOKS = { f1: "left", f2: "right" };
const lookOf = (input) => LOOKS[input.id] ?? "knob";
// The browser's name of a key the list names as the desktop does.
const browserKey = (name) => (name === "Return" ? "Enter" : name);

export function connectPanel(instrument) {
    const { pressedMs, wheelNotch, inputs } = instrument.inputs();
    const byCode = new Map(inputs.map((input) => [input.code, input]));
    const byId = (id) => document.getElementById(id);
    const pressedLook = {
        left: byId("pressed-left"),
        knob: byId("pressed-knob"),
        right: byId("pressed-right"),
    };
    const releaseTimers = new Map();
    const showPressed = (part) => {
        const look = pressedLook[part];
        look.classList.add("shown");
        clearTimeout(releaseTimers.get(part));
        releaseTimers.set(part, setTimeout(() => look.classList.remove("shown"), pressedMs));
    };

    // Clicks: a click area or button passes its key code to the key slot; its tooltip names
    // its keys.
    for (const input of inputs) {
        const control = byId(input.control);
        control.title = input.tooltip;
        control.addEventListener("click", () => instrument.key(input.code));
    }
    byId("Button1").addEventListener("click", () => instrument.powerOn());
    byId("Button2").addEventListener("click", () => instrument.powerOff());

    // The sliders: the count reaches the instrument and the label, on every change. The
    // amps slider stands at 2048 from the start, but its count is 0 until it is moved.
    const sliders = [
        { slider: byId("TrackBar1"), label: byId("Label3"), start: 0,
          handler: (count) => instrument.volts(count) },
        { slider: byId("TrackBar2"), label: byId("Label4"), start: 2048,
          handler: (count) => instrument.amps(count) },
    ];
    for (const entry of sliders) {
        const { slider, label, handler } = entry;
        entry.last = Number(slider.value);
        const changed = () => {
            const count = Number(slider.value);
            if (count !== entry.last) {
                entry.last = count;
                label.textContent = String(count);
                handler(count);
            }
        };
        slider.addEventListener("input", changed);
        // The page keys move 2 counts, as on the window.
        slider.addEventListener("keydown", (event) => {
            const step = { PageUp: 2, PageDown: -2 }[event.key];
            if (step !== undefined) {
                event.preventDefault();
                slider.value = String(Number(slider.value) + step);
                changed();
            }
        });
    }
    // A slider moved by a scenario playing on the panel: the count has reached the instrument.
    const moveSlider = (entry, position, count) => {
        entry.slider.value = String(position);
        entry.last = Number(entry.slider.value);
        entry.label.textContent = String(count);
    };

    const calibrate = byId("CheckBox2").querySelector("input");
    const keyFast = byId("CheckBox3").querySelector("input");
    calibrate.addEventListener("change", () => instrument.calibrateBox(calibrate.checked));
    keyFast.addEventListener("change", () => instrument.keyFastBox(keyFast.checked));

    // The keyboard: window-wide, except while typing into a text field.
    // A held key presses once, as a held mouse button clicks once; a held turn key keeps
    // turning, as a knob turned on does.
    const keys = Object.fromEntries(inputs.map((input) => [browserKey(input.keyboard), {
        code: input.code, part: lookOf(input), repeats: input.word.startsWith("turn "),
    }]));
    const panel = byId("Form1");
    window.addEventListener("keydown", (event) => {
        const key = keys[event.key];
        if (key === undefined || event.ctrlKey || event.altKey || event.metaKey ||
            typingInto(event.target) || document.querySelector("dialog[open]")) {
            return;
        }
        // The page's own buttons beside the panel keep their Return.
        if (event.key === "Enter" && event.target instanceof HTMLElement &&
            event.target.closest("button, a, menu") && !panel.contains(event.target)) {
            return;
        }
        // Return presses the knob also with a panel's button focused; F1 opens no help page.
        event.preventDefault();
        if (event.repeat && !key.repeats) {
            return;
        }
        instrument.key(key.code);
        showPressed(key.part);
    }, { capture: true });

    // The wheel over the face turns the knob, one step per notch.
    const wheel = new WheelNotches(wheelNotch);
    const [clockwise, anticlockwise] = ["cw", "ccw"].map((id) => inputs.find((i) => i.id === id));
    byId("panel-frame").addEventListener("wheel", (event) => {
        const box = byId("Image2").getBoundingClientRect();
        if (event.clientX < box.left || event.clientX >= box.right ||
            event.clientY < box.top || event.clientY >= box.bottom) {
            return;
        }
        event.preventDefault();
        let notches = wheel.add(wheelEighths(event, wheelNotch));
        for (; notches > 0; --notches) {
            instrument.key(clockwise.code);
            showPressed(lookOf(clockwise));
        }
        for (; notches < 0; ++notches) {
            instrument.key(anticlockwise.code);
            showPressed(lookOf(anticlockwise));
        }
    }, { passive: false });

    const downTimers = new Map();
    return {
        // The instrument's outputs on the panel.
        setLamp(lit) {
            byId("Shape1").style.background = lit ? "#ff0000" : "#800000";
        },
        tickCalibrate() {
            calibrate.checked = true;
        },
        calibrateTicked: () => calibrate.checked,
        keyFastTicked: () => keyFast.checked,

        // A scenario playing on the panel: its controls move as a person's use moves them.
        // Program start: both sliders where they stood when the page opened, both counts 0,
        // both boxes clear (the module sets the lamp).
        programStart() {
            for (const entry of sliders) moveSlider(entry, entry.start, 0);
            calibrate.checked = false;
            keyFast.checked = false;
        },
        showPressed: (key) => showPressed(byCode.has(key) ? lookOf(byCode.get(key)) : "knob"),
        // ON or OFF shown pressed for a moment.
        pressButton(id) {
            const button = byId(id);
            button.classList.add("down");
            clearTimeout(downTimers.get(id));
            downTimers.set(id, setTimeout(() => button.classList.remove("down"), pressedMs));
        },
        setSlider: (amps, count) => moveSlider(sliders[amps ? 1 : 0], count, count),
        setBox(isKeyFast, ticked) {
            (isKeyFast ? keyFast : calibrate).checked = ticked;
        },
        showStatus(text) {
            byId("StatusBar1").textContent = text;
        },
    };
}
