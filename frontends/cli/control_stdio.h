// txm9-scenario --serve and --mcp: a headless instrument driven over standard input and
// output, by the control protocol's JSON lines or as an assistant's tool server.
#pragma once

namespace txm9 {

// If the command line asks for --serve or --mcp: serves until standard input ends and
// returns the exit status; otherwise -1.
int serve_if_asked(int argc, char* argv[], const char* version);

} // namespace txm9
