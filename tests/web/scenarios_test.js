// The shipped scenarios played by the page's own WebAssembly module under node, as the
// playground plays them: every one passes, as it does in the native txm9-scenario.
//   TXM9_WEB_MODULE=build-web/site/txm9.js node --no-experimental-fetch --test scenarios_test.js
"use strict";

const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("fs");
const path = require("path");

const modulePath = path.resolve(process.env.TXM9_WEB_MODULE || "../../build-web/site/txm9.js");
const createTxm9 = require(modulePath);
const folder = path.join(__dirname, "../../scenarios");

let instrument;
test.before(async () => { instrument = await createTxm9(); });

const play = (text) => JSON.parse(instrument.ccall("txm9_play", "string", ["string"], [text]));

for (const name of fs.readdirSync(folder).filter((f) => f.endsWith(".scenario")).sort()) {
    test(name, () => {
        const outcome = play(fs.readFileSync(path.join(folder, name), "utf8"));
        assert.equal(outcome.status, "passed", outcome.message);
        assert.ok(outcome.passes > 0);
    });
}

test("a failing expectation names its line and what the display shows", () => {
    const outcome = play("volts 1500\non\nwait 1 s\nexpect screen menu\n");
    assert.equal(outcome.status, "failed");
    assert.match(outcome.message, /^playground\.scenario:4/);
    assert.match(outcome.message, /main/);
});

test("a screenshot is a reference frame for the next play; a mismatch is explained", () => {
    const shot = play("volts 1500\non\nwait 1 s\nscreenshot a.png scale 1\n");
    assert.equal(shot.status, "passed", shot.message);
    assert.deepEqual(shot.files, ["a.png"]);
    const same = play("volts 1500\non\nwait 1 s\nexpect frame a.png\n");
    assert.equal(same.status, "passed", same.message);
    assert.deepEqual(same.files, []);
    const other = play("volts 1500\non\nwait 1 s\npress right\nwait 100 ms\n" +
                       "expect frame a.png\n");
    assert.equal(other.status, "failed");
    assert.match(other.message, /^playground\.scenario:6/);
    assert.deepEqual(other.files.sort(), ["a.actual.png", "a.diff.png", "a.expected.png"]);
});

test("a mistake in the scenario is reported before anything runs", () => {
    const outcome = play("on\nturn sideways\n");
    assert.equal(outcome.status, "cannot_run");
    assert.match(outcome.message, /^playground\.scenario:2:\d+: /);
    assert.equal(outcome.passes, 0);
});

test("control bytes of the scenario show as \\xNN in what the playground prints", () => {
    for (const text of ["pr\x07ess knob\n", "on\nexpect text \"a\x01b\x1b[2J\"\n"]) {
        const outcome = play(text);
        assert.notEqual(outcome.status, "passed");
        assert.doesNotMatch(outcome.message, /[\x00-\x08\x0b-\x1f\x7f]/);
        assert.match(outcome.message, /\\x(07|01)/);
    }
});
