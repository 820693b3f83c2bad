// The page in the Debian chromium, headless, served from the built site folder. Playwright
// starts chromium with a fresh profile of its own each time.
"use strict";

const path = require("path");
const { chromium } = require("playwright-core");
const { serve } = require("../../tools/web_server/serve.js");

const CHROMIUM = process.env.TXM9_CHROMIUM || "/usr/bin/chromium";
// As root chromium runs only without its sandbox; the rest keeps a test run to itself.
const FLAGS = ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
               "--disable-background-networking", "--disable-component-update", "--disable-sync"];

function siteFolder() {
    return path.resolve(process.env.TXM9_WEB_SITE || path.join(__dirname, "../../build-web/site"));
}

// Starts the server and the browser; `close()` stops both.
async function openBrowser() {
    const server = await serve(siteFolder());
    const browser = await chromium.launch({ executablePath: CHROMIUM, headless: true, args: FLAGS });
    const url = `http://127.0.0.1:${server.address().port}/`;
    return {
        url,
        browser,
        // A new page of `width` x `height` CSS pixels at `ratio` device pixels each, loaded
        // and ready. Its errors are collected in `page.errors`.
        async page({ width = 1200, height = 800, ratio = 1, touch = false } = {}) {
            const context = await browser.newContext({
                viewport: { width, height },
                deviceScaleFactor: ratio,
                hasTouch: touch,
                isMobile: touch,
                acceptDownloads: true,
            });
            const page = await context.newPage();
            page.errors = [];
            page.on("pageerror", (error) => page.errors.push(error.message));
            page.on("console", (m) => { if (m.type() === "error") page.errors.push(m.text()); });
            await page.goto(url);
            await page.waitForSelector("html[data-ready]");
            return page;
        },
        async close() {
            await browser.close();
            server.close();
        },
    };
}

module.exports = { openBrowser, siteFolder, CHROMIUM, FLAGS };
