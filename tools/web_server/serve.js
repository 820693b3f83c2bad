// Serves a folder of static files on 127.0.0.1, for trying the page out and for its tests;
// the page itself needs no server code and runs from any static host.
//   node tools/web_server/serve.js DIR [PORT]   prints the address, e.g. http://127.0.0.1:8093/
//
// Whatever arrives on the port, the server answers and goes on: a request it cannot read gets
// 400, a method other than GET or HEAD 405. It serves only regular files whose real path lies
// inside the folder (a symbolic link may point within it, never out of it), and only to a
// request addressed to this machine by name (Host 127.0.0.1 or localhost with the port), so
// that a page elsewhere cannot reach it by pointing its own name at 127.0.0.1.
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

class RequestError extends Error {
    constructor(status, text, headers = {}) {
        super(text);
        this.status = status;
        this.headers = headers;
    }
}

function isInside(folder, file) {
    const relative = path.relative(folder, file);
    return relative === "" ||
        (!relative.startsWith(".." + path.sep) && relative !== ".." && !path.isAbsolute(relative));
}

function allowedHosts(port) {
    const hosts = [`127.0.0.1:${port}`, `localhost:${port}`];
    if (port === 80) hosts.push("127.0.0.1", "localhost");
    return hosts;
}

// The decoded path the request names, once its Host (and the authority of a target in absolute
// form, "http://host/a/b") is this server's; a target that does not decode to a path without
// NUL is refused.
function requestPath(request, port) {
    const target = request.url;
    const hosts = allowedHosts(port);
    const refuseHost = () => {
        throw new RequestError(421, "this server answers only to 127.0.0.1 or localhost " +
            `with its port ${port}`);
    };
    if (!hosts.includes((request.headers.host || "").toLowerCase())) refuseHost();
    let pathname;
    if (target.startsWith("/")) {
        pathname = target.split(/[?#]/, 1)[0];
    } else {
        let url;
        try {
            url = new URL(target);
        } catch {
            throw new RequestError(400, "bad request target");
        }
        if (url.protocol !== "http:") throw new RequestError(400, "bad request target");
        if (!hosts.includes(url.host)) refuseHost();
        pathname = url.pathname;
    }
    let decoded;
    try {
        decoded = decodeURIComponent(pathname);
    } catch {
        throw new RequestError(400, "bad percent-encoding");
    }
    if (decoded.includes("\0")) throw new RequestError(400, "NUL in the path");
    return decoded;
}

// The real path of the file a request names, or a RequestError.
async function resolveFile(root, decoded) {
    let file = path.join(root, decoded);
    let real;
    try {
        real = await fs.promises.realpath(file);
    } catch {
        throw new RequestError(404, "not found");
    }
    if (!isInside(root, real)) throw new RequestError(404, "not found");
    let stat = await fs.promises.stat(real);
    if (stat.isDirectory()) {
        if (!decoded.endsWith("/")) {
            throw new RequestError(301, "moved", { Location: encodeURI(decoded + "/") });
        }
        return resolveFile(root, path.join(decoded, "index.html"));
    }
    if (!stat.isFile()) throw new RequestError(404, "not found");
    return real;
}

async function answer(root, port, request, response) {
    if (request.method !== "GET" && request.method !== "HEAD") {
        throw new RequestError(405, "only GET and HEAD", { Allow: "GET, HEAD" });
    }
    const file = await resolveFile(root, requestPath(request, port));
    const body = await fs.promises.readFile(file);
    response.writeHead(200, {
        "Content-Type": TYPES[path.extname(file)] || "application/octet-stream",
        "Content-Length": body.length,
        "Cache-Control": "no-cache",
        "X-Content-Type-Options": "nosniff",
    });
    response.end(request.method === "HEAD" ? undefined : body);
}

// Starts serving `root`; resolves to the server once it listens (port 0: any free port).
function serve(root, port = 0) {
    const base = fs.realpathSync(path.resolve(root));
    const server = http.createServer((request, response) => {
        answer(base, server.address().port, request, response).catch((error) => {
            const status = error instanceof RequestError ? error.status : 500;
            const text = error instanceof RequestError ? error.message : "cannot read the file";
            if (response.headersSent) {
                response.destroy();
                return;
            }
            response.writeHead(status, {
                "Content-Type": "text/plain; charset=utf-8",
                ...(error.headers || {}),
            });
            response.end(request.method === "HEAD" ? undefined : text + "\n");
        });
    });
    // A request node's own parser refuses: 400 where the socket can still take it.
    server.on("clientError", (error, socket) => {
        if (socket.writable && !socket.destroyed) {
            socket.end("HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n");
        } else {
            socket.destroy();
        }
    });
    return new Promise((resolve, reject) => {
        server.once("error", reject);
        server.listen(port, "127.0.0.1", () => resolve(server));
    });
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
    }, (error) => {
        console.error(`serve.js: ${error.message}`);
        process.exit(1);
    });
}
