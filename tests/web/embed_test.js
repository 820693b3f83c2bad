// The page embedded in another page (tests/web/embed/host.html, served from another origin)
// and driven by postMessage with the control protocol: the greeting, a press and its
// expectation, the error replies, the events, and the frame, which must be the one
// txm9-scenario --serve gives for the same requests. A page of an origin the address does
// not name hears nothing.
//   TXM9_WEB_SITE=build-web/site TXM9_SCENARIO=build-core/frontends/cli/txm9-scenario \
//       node --test embed_test.js
"use strict";

const test = require("node:test");
const assert = require("node:assert/strict");
const path = require("path");
const readline = require("readline");
const { spawn } = require("child_process");
const { openBrowser } = require("./browser.js");
const { runnerPath, pngRgba } = require("./native_runner.js");
const { serve } = require("../../tools/web_server/serve.js");

let browser;
let host;
test.before(async () => {
    browser = await openBrowser();
    host = await serve(path.join(__dirname, "embed"));
});
test.after(async () => {
    await browser?.close();
    host?.close();
});

// The embedding page at `hostOrigin`, with the simulator's page allowing `allowed` to drive
// it; resolves once the simulator's page is ready.
async function embed(hostOrigin, allowed) {
    const context = await browser.browser.newContext();
    const page = await context.newPage();
    page.errors = [];
    page.on("pageerror", (error) => page.errors.push(error.message));
    const site = `${browser.url}?control=${encodeURIComponent(allowed)}`;
    await page.goto(`${hostOrigin}/host.html?page=${encodeURIComponent(site)}`);
    const frame = page.frames().find((f) => f.url().startsWith(browser.url));
    await frame.waitForSelector("html[data-ready]");
    return page;
}

const request = (page, message) => page.evaluate((m) => request(m), message);
const received = (page) => page.evaluate(() => received);

// The same requests to txm9-scenario --serve: its replies, by id.
async function serveReplies(requests) {
    const runner = spawn(runnerPath(), ["--serve"], { stdio: ["pipe", "pipe", "inherit"] });
    const lines = readline.createInterface({ input: runner.stdout });
    const replies = {};
    let waiting = null;
    lines.on("line", (line) => {
        const message = JSON.parse(line);
        if ("id" in message) {
            replies[message.id] = message;
            waiting?.();
        }
    });
    for (const r of requests) {
        const replied = new Promise((resolve) => { waiting = resolve; });
        runner.stdin.write(`${JSON.stringify(r)}\n`);
        await replied;
    }
    runner.stdin.end();
    return replies;
}

// A request that is never answered fails its test rather than holding up the run.
const LIMIT = { timeout: 60000 };

test("driven by postMessage: greeting, press and expect, errors, events, the runner's frame",
     LIMIT, async () => {
    const hostOrigin = `http://127.0.0.1:${host.address().port}`;
    const page = await embed(hostOrigin, hostOrigin);
    await page.waitForFunction(() => received.length > 0);
    const [greeting] = await received(page);
    assert.equal(greeting.greeting.frontend, "page");
    assert.ok(greeting.greeting.capabilities.includes("query-frame-png"));

    const inputs = [
        { id: 1, do: "volts 12.6 V\namps 1.5 A\non" },
        { id: 2, do: "press knob\nexpect text \"MAIN MENU\"" },
    ];
    const questions = [
        { id: 3, query: "frame", format: "png", scale: 2 },
        { id: 4, query: "frame", format: "pbm" },
        { id: 5, query: "texts" },
    ];
    for (const r of inputs) assert.deepEqual(await request(page, r), { id: r.id, return: {} });
    const runner = await serveReplies([...inputs, ...questions]);
    for (const q of questions) {
        const reply = await request(page, q);
        assert.ok(reply.return, `${JSON.stringify(q)}: ${JSON.stringify(reply.error)}`);
        if (q.format === "png") {
            const shown = pngRgba(Buffer.from(reply.return.data, "base64"));
            const expected = pngRgba(Buffer.from(runner[q.id].return.data, "base64"));
            assert.deepEqual([shown.width, shown.height], [228, 128]);
            assert.ok(shown.rgba.every((v, i) => v === expected.rgba[i]),
                      "the page's PNG frame differs from the runner's");
        } else {
            assert.deepEqual(reply.return, runner[q.id].return, JSON.stringify(q));
        }
    }

    // Errors, each a reply of its own; the page goes on.
    const failed = await request(page, { id: 6, do: "expect text \"NO SUCH TEXT\"" });
    assert.equal(failed.error.class, "expectation_failed");
    assert.ok(failed.error.reads.some((t) => t.text === "MAIN MENU"), failed.error.desc);
    assert.equal((await request(page, { id: 7, query: "nothing" })).error.class,
                 "unknown_request");
    assert.equal((await request(page, { id: 8, do: "press nose" })).error.class,
                 "scenario_mistake");
    const before = (await received(page)).length;
    await page.evaluate(() => {
        send("{not json");
        send([1, 2]);
        send({ id: 11n });
        send({ do: `print "${"x".repeat(70000)}"` });
    });
    await page.waitForFunction((n) => received.length >= n + 4, before);
    const unasked = (await received(page)).slice(before).map((m) => m.error?.class);
    assert.deepEqual(unasked, ["malformed", "bad_request", "malformed", "too_long"]);
    const variables = await request(page, { id: 12, query: "variables" });
    assert.equal(variables.return.values.active_screen, "menu");

    // ON while running, taken after a frame's delivery: a run inside the run.
    assert.deepEqual(await request(page, { id: 13, do: "on" }), { id: 13, return: {} });
    assert.equal((await request(page, { id: 14, query: "screen" })).return.runs, 2);

    assert.deepEqual(await request(page, { id: 9, do: "off\nwait 500 ms" }),
                     { id: 9, return: {} });
    const events = (await received(page)).filter((m) => m.event);
    const event = (name) => events.find((e) => e.event === name);
    assert.equal(event("run_started").time_ms, 0);
    assert.deepEqual(event("screen_changed"),
                     { event: "screen_changed", time_ms: 2000, data: { screen: "main" } });
    assert.ok(events.some((e) => e.event === "screen_changed" && e.data.screen === "menu"));
    const ended = events.filter((e) => e.event === "run_ended");
    assert.deepEqual(ended.map((e) => e.data.runs), [1, 0]);
    const screen = await request(page, { id: 10, query: "screen" });
    assert.equal(screen.return.phase, "off");
    assert.ok(screen.return.time_ms >= ended[1].time_ms + 500);
    assert.deepEqual(page.errors, []);
});

test("a person and a play share the panel with the embedding page", LIMIT, async () => {
    const origin = `http://127.0.0.1:${host.address().port}`;
    const page = await embed(origin, origin);
    const frame = page.frames().find((f) => f.url().startsWith(browser.url));
    const runs = () => frame.evaluate(() => window.txm9.module._txm9_runs());
    const status = () => frame.textContent("#StatusBar1");

    // A person's OFF under a request waiting for frames: the wait goes on while off, a wait
    // for a text fails.
    assert.deepEqual(await request(page, { id: 1, do: "on" }), { id: 1, return: {} });
    const waited = request(page, { id: 2, do: "wait 1 s" });
    await frame.click("#Button2");
    assert.deepEqual(await waited, { id: 2, return: {} });
    await request(page, { id: 3, do: "on" });
    const text = request(page, { id: 4, do: "wait until text \"NEVER\" within 30 s" });
    await frame.click("#Button2");
    assert.equal((await text).error.class, "expectation_failed");

    // A play is not started while a request is under way...
    const busy = request(page, { id: 5, do: "wait 1500 ms" });
    await frame.fill("#scenario-text", "on\nwait 30 s\n");
    await frame.click("#scenario-play");
    assert.equal(await status(), "Not played: a program is driving the panel");
    await busy;
    // ... and while one plays, a request to do something is refused; a question is answered.
    await frame.click("#scenario-play");
    await frame.waitForFunction(() => window.txm9.module._txm9_runs() > 0);
    assert.equal((await request(page, { id: 6, do: "press knob" })).error.class, "busy");
    assert.ok((await request(page, { id: 7, query: "screen" })).return);
    await frame.click("#Image6"); // a person's input stops the play
    assert.deepEqual(await request(page, { id: 8, do: "wait 2 s\noff" }), { id: 8, return: {} });
    assert.equal(await runs(), 0);
    assert.deepEqual(page.errors, []);
});

test("a page of an origin the address does not name hears nothing", LIMIT, async () => {
    const port = host.address().port;
    // localhost and 127.0.0.1 are two origins, served by the same server.
    const page = await embed(`http://localhost:${port}`, `http://127.0.0.1:${port}`);
    await page.evaluate(() => send({ id: 1, query: "screen" }));
    await new Promise((resolve) => setTimeout(resolve, 500));
    assert.deepEqual(await received(page), []);
});

test("the address names origins, and nothing that stands for any page", async () => {
    const { allowedOrigins } = await import("../../frontends/web/site/embed_control.js");
    const warn = console.warn;
    console.warn = () => {};
    try {
        for (const [search, origins] of [
            ["?control=https://Docs.Example.org", ["https://docs.example.org"]],
            ["?control=https://a.org/,http://127.0.0.1:8080&control=http://localhost:80",
             ["https://a.org", "http://127.0.0.1:8080", "http://localhost"]],
            ["?control=*", []],
            ["?control=null", []],
            ["?control=file:///tmp/a.html", []],
            ["?control=https://a.org/page", []],
            ["?control=https://user@a.org", []],
            ["", []],
        ]) {
            assert.deepEqual(allowedOrigins(search), origins, search);
        }
    } finally {
        console.warn = warn;
    }
});
