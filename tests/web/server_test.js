// The page's local server under requests a browser would never send: raw bytes over a socket on
// 127.0.0.1, each answered with its status while the server keeps going, nothing served from
// outside its folder, and nothing to a request addressed to another host name.
//   node --test server_test.js
"use strict";

const test = require("node:test");
const assert = require("node:assert");
const net = require("node:net");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const { serve } = require("../../tools/web_server/serve.js");

// The raw answer to `request` (the server closes after each: Connection: close).
function send(port, request) {
    return new Promise((resolve, reject) => {
        const socket = net.connect(port, "127.0.0.1");
        const chunks = [];
        socket.on("data", (chunk) => chunks.push(chunk));
        socket.on("end", () => resolve(Buffer.concat(chunks).toString("latin1")));
        socket.on("error", reject);
        socket.write(request);
    });
}

const statusOf = (answer) => Number((/^HTTP\/1\.1 (\d{3})/.exec(answer) || [])[1]);

test("the server answers every request with the right status and goes on", async () => {
    const top = fs.mkdtempSync(path.join(os.tmpdir(), "txm9-serve-"));
    const site = path.join(top, "site");
    fs.mkdirSync(path.join(site, "sub"), { recursive: true });
    fs.mkdirSync(path.join(top, "site-private"));
    fs.writeFileSync(path.join(site, "index.html"), "<p>the page</p>");
    fs.writeFileSync(path.join(site, "sub", "x.txt"), "inside");
    fs.writeFileSync(path.join(top, "site-private", "key.txt"), "SECRET KEY");
    fs.symlinkSync(path.join(top, "site-private", "key.txt"), path.join(site, "key-link"));
    fs.symlinkSync(path.join(top, "site-private"), path.join(site, "private-dir"));
    fs.symlinkSync("sub/x.txt", path.join(site, "inner-link"));
    const server = await serve(site);
    const port = server.address().port;
    const get = (target, host = `127.0.0.1:${port}`, method = "GET") =>
        `${method} ${target} HTTP/1.1\r\nHost: ${host}\r\nConnection: close\r\n\r\n`;
    try {
        const cases = [
            ["percent sign alone", get("/%"), 400],
            ["encoded NUL", get("/%00"), 400],
            ["a name ending in %", get("/100%"), 400],
            ["an absolute target that is no URL", get("http://[::1"), 400],
            ["bytes that are no HTTP", "\x00\x01 nonsense\r\n\r\n", 400],
            ["the root as //", get("//"), 200],
            ["a sibling folder by an encoded slash", get("/..%2fsite-private/key.txt"), 404],
            ["a sibling folder by dot-dot", get("/../site-private/key.txt"), 404],
            ["a link to a file outside", get("/key-link"), 404],
            ["a link to a folder outside", get("/private-dir/key.txt"), 404],
            ["a link within the site", get("/inner-link"), 200],
            ["a folder without its slash", get("/sub"), 301],
            ["POST", get("/", `127.0.0.1:${port}`, "POST"), 405],
            ["DELETE", get("/index.html", `127.0.0.1:${port}`, "DELETE"), 405],
            ["localhost with the port", get("/", `localhost:${port}`), 200],
            ["another name (DNS rebinding)", get("/", `attacker.example:${port}`), 421],
            ["the loopback address without the port", get("/", "127.0.0.1"), 421],
            ["another port", get("/", `127.0.0.1:${port + 1}`), 421],
            ["no Host", "GET / HTTP/1.0\r\n\r\n", 421],
            ["absolute form for this server", get(`http://127.0.0.1:${port}/sub/x.txt`), 200],
            ["absolute form for another", get("http://attacker.example/sub/x.txt"), 421],
        ];
        for (const [name, request, status] of cases) {
            const answer = await send(port, request);
            assert.strictEqual(statusOf(answer), status, `${name}: ${answer.slice(0, 200)}`);
            assert.ok(!answer.includes("SECRET KEY"), `${name} served the private key`);
        }

        const head = await send(port, get("/", `127.0.0.1:${port}`, "HEAD"));
        assert.strictEqual(statusOf(head), 200);
        assert.match(head, /Content-Length: 15\r\n/);
        assert.ok(head.endsWith("\r\n\r\n"), "HEAD sent a body");
        assert.ok((await send(port, get("/"))).endsWith("<p>the page</p>"));
    } finally {
        server.close();
        fs.rmSync(top, { recursive: true, force: true });
    }
});
