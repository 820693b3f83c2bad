// "Play on the panel": the playground's scenario played on the live panel, for a stand, a
// video or a training room. The module plays it from program start with the page's own
// controls; while the instrument is off and the scenario waits, the page lets the instrument
// time pass on its own clock, at the speed chosen and held by Pause. Any input of a person
// stops the play and hands the panel over; with Loop it starts again after its last line.

// How often a wait looks at the speed, at Pause and at whether the play was stopped.
const LOOK_MS = 50;
const PHASE_RUNNING = 2;

const later = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export class PanelPlay {
    // `show(outcome)` reports each round's end (its summary for the status bar); `status(text)` is the panel's status bar.
    constructor(instrument, { show, status }) {
        this.instrument = instrument;
        this.module = instrument.module;
        this.show = show;
        this.status = status;
        this.playing = 0; // the play under way, 0 when none
        this.plays = 0;
        this.roundDone = Promise.resolve();
        instrument.onPersonsInput = () => this.stop("Playback stopped: the panel is yours");
    }

    // Plays `text` from program start; a run in progress is switched off first. Not while
    // a program driving the page (embed_control.js) has a request under way: two drivers
    // would mix their inputs and fight over the instrument's time.
    async play(text, loop) {
        if (this.module._txm9_control_busy()) {
            this.status("Not played: a program is driving the panel");
            return;
        }
        this.stop("");
        await this.switchedOff();
        const play = ++this.plays;
        this.playing = play;
        this.status("Playing the playground's scenario from program start");
        for (let round = 1; ; ++round) {
            this.roundDone = this.playOnce(text, play, round);
            const outcome = await this.roundDone;
            if (this.playing !== play) return;
            this.show(outcome);
            if (!loop || outcome.status === "cannot_run") break;
            await this.switchedOff();
            if (this.playing !== play) return;
            this.status(`Playing the playground's scenario, round ${round + 1}`);
        }
        this.playing = 0;
    }

    // Stops the play where it is; `why` goes to the status bar.
    stop(why) {
        if (this.playing === 0) return;
        this.playing = 0;
        this.module._txm9_panel_play_stop();
        if (why) this.status(why);
    }

    // One round: start and resume run inside the module (through Asyncify, as ON does) and
    // come back once the instrument is off and the play waits, or is over.
    async playOnce(text, play, round) {
        const m = this.module;
        const mistake = await m.ccall("txm9_panel_play", "number", ["string"], [text],
                                      { async: true });
        while (!mistake && this.playing === play && !m._txm9_panel_play_finished()) {
            const wait = m._txm9_panel_play_wait_ms();
            if (wait < 0) break;
            await this.instrumentTime(wait, play);
            if (this.playing !== play) break;
            await m.ccall("txm9_panel_play_resume", null, [], [], { async: true });
        }
        return JSON.parse(m.UTF8ToString(m._txm9_panel_play_outcome(round)));
    }

    // `ms` of instrument time, on the page's clock at the speed chosen; none passes in a pause.
    async instrumentTime(ms, play) {
        let left = ms;
        while (left > 0 && this.playing === play) {
            const { paused, speed } = this.instrument.timeControl();
            const step = paused ? LOOK_MS : Math.min(LOOK_MS, left / speed);
            await later(step);
            if (!paused) left -= step * speed;
        }
    }

    // Resolves once every run has ended, and the last round's calls with them. OFF pressed in
    // the splash is forgotten when the splash ends: it is pressed again then.
    async switchedOff() {
        const m = this.module;
        let pressedIn = null;
        while (m._txm9_runs() > 0) {
            const phase = m._txm9_phase();
            if (pressedIn !== PHASE_RUNNING && phase !== pressedIn) {
                pressedIn = phase;
                m._txm9_power_off();
                this.instrument.wake();
            }
            await later(20);
        }
        await this.roundDone;
    }
}

// The playground's "Play on the panel" button and its Loop box.
export function connectPanelPlay(instrument, { text, button, loop, show }) {
    const status = (line) => { document.getElementById("StatusBar1").textContent = line; };
    const player = new PanelPlay(instrument, { show, status });
    button.addEventListener("click", () => player.play(text.value, loop.checked));
    return player;
}
