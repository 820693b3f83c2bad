// txm9-scenario --mcp driven by the Model Context Protocol's official TypeScript client over
// its stdio transport, as an assistant's host would: initialize, tools/list, a call that
// presses, one that reads the display, one that returns a screenshot, one that fails.
// usage: node mcp_client_test.mjs PATH/TO/txm9-scenario
import assert from "node:assert/strict";
import { Client } from "@modelcontextprotocol/sdk/client/index.js";
import { StdioClientTransport } from "@modelcontextprotocol/sdk/client/stdio.js";

const program = process.argv[2];
const transport = new StdioClientTransport({ command: program, args: ["--mcp"], stderr: "inherit" });
const client = new Client({ name: "txm9-control-test", version: "1.0.0" });
await client.connect(transport);

assert.equal(client.getServerVersion().name, "txm9-scenario");
const { tools } = await client.listTools();
const names = tools.map((t) => t.name);
for (const name of ["switch_on", "switch_off", "press", "turn", "set_inputs", "wait", "expect",
                    "read_display", "variables", "screenshot"]) {
    assert.ok(names.includes(name), `tools/list lacks ${name}: ${names}`);
}

const text = (result) => result.content.filter((c) => c.type === "text").map((c) => c.text).join("\n");
const call = async (name, args = {}) => {
    const result = await client.callTool({ name, arguments: args });
    assert.equal(result.isError, false, `${name} failed: ${text(result)}`);
    return result;
};

await call("set_inputs", { volts: 12.6 });
await call("switch_on");
assert.match(text(await call("read_display")), /"12\.6" medium numerals/);
await call("press", { key: "knob" });
assert.match(text(await call("read_display")), /"MAIN MENU"/);

const shot = await call("screenshot", { scale: 2 });
const image = shot.content.find((c) => c.type === "image");
assert.equal(image.mimeType, "image/png");
const png = Buffer.from(image.data, "base64");
assert.equal(png.subarray(1, 4).toString(), "PNG");
assert.deepEqual([png.readUInt32BE(16), png.readUInt32BE(20)], [228, 128]);

const failed = await client.callTool({ name: "expect", arguments: { check: 'text "VOLTS"' } });
assert.equal(failed.isError, true);
assert.match(text(failed), /MAIN MENU/);

await assert.rejects(client.callTool({ name: "no_such_tool", arguments: {} }));
await call("switch_off");
await client.close();
console.log("mcp client test: passed");
