// The browser page's figures on this machine: the download size (gzip), the time from
// navigation to the page ready and to the first frame, passes per second in chromium against
// the native runner, and the CPU the browser uses while the instrument runs at x1 and its
// display does not change (with --cpu, only that).
// scripts/web-figures builds what it needs and runs it.
"use strict";

const fs = require("fs");
const os = require("os");
const path = require("path");
const zlib = require("zlib");
const { execFileSync } = require("child_process");
const { openBrowser, siteFolder } = require("./browser.js");

const seconds = Number(process.argv[2] || 10);
const SETTLE_MS = 30000; // a new tab's own start-up work, waited out before measuring
const cpuOnly = process.argv.includes("--cpu");
const LONG_SCENARIO = "volts 1500\namps 2000\non\nwait 30 min\n";

function gzipSize(file) {
    return zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length;
}

// utime + stime of a process and its descendants, in clock ticks.
function treeTicks(pid) {
    let ticks = 0;
    const stat = fs.readFileSync(`/proc/${pid}/stat`, "utf8");
    const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
    ticks += Number(fields[11]) + Number(fields[12]);
    for (const task of fs.readdirSync(`/proc/${pid}/task`)) {
        let children = "";
        try {
            children = fs.readFileSync(`/proc/${pid}/task/${task}/children`, "utf8");
        } catch {
            continue;
        }
        for (const child of children.split(" ").filter(Boolean)) {
            try {
                ticks += treeTicks(Number(child));
            } catch {
                // a child that ended meanwhile
            }
        }
    }
    return ticks;
}

// The chromium process playwright started (a child of this node process).
function chromiumPid() {
    const children = fs.readFileSync(`/proc/${process.pid}/task/${process.pid}/children`, "utf8")
        .split(" ").filter(Boolean).map(Number);
    return children.find((pid) => fs.readFileSync(`/proc/${pid}/comm`, "utf8").includes("chrom"));
}

// CPU of chromium's processes while the instrument runs at x1 with nothing changing on the
// display but its blinking: with the inspector in view, folded, and out of view. Chromium
// does work of its own in a tab's first seconds (its profile, compiling the module's hot code,
// and for each new browser context a renderer of its own interface that stays busy for about
// half a minute), so each case waits that out first: the figure is the page left open.
async function cpuFigures(browser, warmUpMs) {
    const cases = [
        ["inspector in view", { width: 1100, height: 800 }, async () => {}],
        ["inspector folded", { width: 1100, height: 800 },
         (tab) => tab.click("#inspector summary")],
        // One column: the panel fills the view, the tools below it.
        ["inspector out of view", { width: 700, height: 500 }, async (tab) => {
            const top = await tab.evaluate(
                () => document.getElementById("inspector").getBoundingClientRect().top);
            if (top < 500) throw new Error("the inspector is in view");
        }],
    ];
    for (const [name, view, arrange] of cases) {
        const tab = await browser.page(view);
        await tab.evaluate(() => {
            const slider = document.getElementById("TrackBar1");
            slider.value = "1500";
            slider.dispatchEvent(new Event("input"));
        });
        await tab.click("#Button1");
        await arrange(tab);
        await tab.waitForTimeout(Math.max(SETTLE_MS, warmUpMs));
        warmUpMs = 0;
        const pid = chromiumPid();
        const hz = 100;
        const before = treeTicks(pid);
        const framesBefore = await tab.evaluate(() => window.txm9.module._txm9_frames());
        const start = Date.now();
        await tab.waitForTimeout(seconds * 1000);
        const used = (treeTicks(pid) - before) / hz;
        const elapsed = (Date.now() - start) / 1000;
        const frames = await tab.evaluate(() => window.txm9.module._txm9_frames()) - framesBefore;
        const budget = name === "inspector in view" ? 2 : 1;
        console.log(`chromium's processes at x1, display unchanged, ${name}: ` +
                    `${(used / elapsed * 100).toFixed(1)} % of one core over ${elapsed.toFixed(0)} s ` +
                    `(budget ${budget} %; ${(frames / elapsed).toFixed(1)} passes/s)`);
        await tab.context().close();
    }
}

async function main() {
    if (cpuOnly) {
        const browser = await openBrowser();
        try {
            await cpuFigures(browser, 15000);
        } finally {
            await browser.close();
        }
        return;
    }
    const site = siteFolder();
    const wasm = gzipSize(path.join(site, "txm9.wasm"));
    const js = gzipSize(path.join(site, "txm9.js"));
    const page = fs.readdirSync(site)
        .filter((f) => !f.startsWith("txm9."))
        .reduce((sum, f) => sum + gzipSize(path.join(site, f)), 0);
    console.log(`download, gzip -9: txm9.wasm ${(wasm / 1024).toFixed(1)} KB + txm9.js ` +
                `${(js / 1024).toFixed(1)} KB = ${((wasm + js) / 1024).toFixed(1)} KB ` +
                `(target 300 KB); the page's other files ${(page / 1024).toFixed(1)} KB`);

    const browser = await openBrowser();
    try {
        // Navigation to ready, and to the first frame with ON clicked at once.
        const times = [];
        for (let i = 0; i < 5; ++i) {
            const tab = await browser.page({ width: 1100, height: 800 });
            const ready = await tab.evaluate(() => performance.now());
            await tab.click("#Button1");
            await tab.waitForFunction(() => window.txm9.hasFrame(), null, { polling: 5 });
            const first = await tab.evaluate(() => performance.getEntriesByName("txm9-first-frame")[0]?.startTime ?? performance.now());
            times.push([ready, first]);
            await tab.context().close();
        }
        times.sort((a, b) => a[1] - b[1]);
        const [ready, first] = times[2];
        console.log(`navigation to the page ready: ${ready.toFixed(0)} ms; to the first frame ` +
                    `with ON clicked when ready: ${first.toFixed(0)} ms (median of 5)`);

        // Passes per second: a long scenario in the playground's worker and in the runner.
        const tab = await browser.page({ width: 1100, height: 800 });
        await tab.fill("#scenario-text", LONG_SCENARIO);
        const best = { web: 0 };
        for (let i = 0; i < 3; ++i) {
            await tab.click("#scenario-run");
            await tab.waitForSelector("#scenario-status.pass", { timeout: 120000 });
            const title = await tab.getAttribute("#scenario-status", "title");
            const [, passes, ms] = title.match(/^(\d+) passes, [\d.]+ s of instrument time in (\d+) ms/);
            best.web = Math.max(best.web, Number(passes) / (Number(ms) / 1000));
            await tab.evaluate(() => document.getElementById("scenario-status").className = "");
        }
        const runner = process.env.TXM9_SCENARIO;
        let native = 0;
        if (runner) {
            const file = path.join(os.tmpdir(), `txm9-figures-${process.pid}.scenario`);
            fs.writeFileSync(file, LONG_SCENARIO);
            for (let i = 0; i < 3; ++i) {
                const start = process.hrtime.bigint();
                execFileSync(runner, ["--quiet", file]);
                const s = Number(process.hrtime.bigint() - start) / 1e9;
                native = Math.max(native, 72000 / s);
            }
            fs.rmSync(file);
        }
        console.log(`passes per second, scenario runner: chromium ${Math.round(best.web)}` +
                    (native ? `, native ${Math.round(native)} (${(best.web / native * 100).toFixed(0)} %; target 50 %)` : ""));
        await tab.context().close();

        await cpuFigures(browser, 0);
    } finally {
        await browser.close();
    }
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
