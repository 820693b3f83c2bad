// Serves a folder of static files on 127.0.0.1, for trying the page out and for its tests;
// the page itself needs no server code and runs from any static host.
//   node tools/web_server/serve.js DIR [PORT]   prints the address, e.g. http://127.0.0.1:8093/
"use strict";

const http = require("http");
const fs = require("fs");
const path = require("path");

const TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".css": "text/css; charset=utf-8",
    ".wasm": "application/wasm",
    ".jpg": "image/jpeg",
    ".png": "image/png",
    ".scenario": "text/plain; charset=utf-8",
};

// Starts serving `root`; resolves to the server once it listens (port 0: any free port).
function serve(root, port = 0) {
    const base = path.resolve(root);
    const server = http.createServer((request, response) => {
        const url = new URL(request.url, "http://127.0.0.1");
        let file = path.join(base, decodeURIComponent(url.pathname));
        if (!file.startsWith(base)) {
            response.writeHead(403).end();
            return;
        }
        if (file.endsWith(path.sep)) {
            file = path.join(file, "index.html");
        }
        fs.readFile(file, (error, body) => {
            if (error) {
                response.writeHead(404, { "Content-Type": "text/plain" }).end("not found\n");
                return;
            }
            response.writeHead(200, {
                "Content-Type": TYPES[path.extname(file)] || "application/octet-stream",
                "Cache-Control": "no-cache",
            });
            response.end(body);
        });
    });
    return new Promise((resolve) => server.listen(port, "127.0.0.1", () => resolve(server)));
}

module.exports = { serve };

if (require.main === module) {
    const [root, port] = process.argv.slice(2);
    if (!root) {
        console.error("usage: node tools/web_server/serve.js DIR [PORT]");
        process.exit(2);
    }
    serve(root, Number(port || 0)).then((server) => {
        console.log(`Serving ${path.resolve(root)}`);
        console.log(`Open http://127.0.0.1:${server.address().port}/ (Ctrl+C stops)`);
    });
}
