#!/usr/bin/env python3
"""Plays every scenario the language reference quotes, so that the manual never shows a
command that no longer works, and checks that it shows every command and every expectation.

usage: scenario_examples.py TXM9-SCENARIO REFERENCE.md OUT_DIR

A fenced block whose info string is `scenario` is one whole scenario, played from program
start in OUT_DIR as `line-N.scenario` (N: the line of the block's opening fence), in the order
the reference quotes them: a picture one example writes may be the reference frame of a later
one. Blocks that show anything else (output, failures, shell commands) use another info string.
"""
import re
import shutil
import subprocess
import sys
from pathlib import Path


def quoted_blocks(markdown):
    """(line of the opening fence, text) of each ```scenario block."""
    blocks, current, start = [], None, 0
    for number, line in enumerate(markdown.splitlines(), 1):
        fence = re.match(r"^\s*```\s*(\S*)", line)
        if current is None and fence and fence.group(1) == "scenario":
            current, start = [], number
        elif current is not None and fence and not fence.group(1):
            blocks.append((start, "\n".join(current) + "\n"))
            current = None
        elif current is not None:
            current.append(line)
    if current is not None:
        sys.exit(f"line {start}: the scenario block is not closed")
    return blocks


def listed_after(message, marker):
    """The comma-separated words the runner lists in its mistake message after `marker`."""
    found = re.search(re.escape(marker) + r"[^(]*\(([^)]*)\)", message)
    if not found:
        sys.exit(f"the runner no longer lists its {marker!r} in its messages:\n{message}")
    words = [w.strip() for w in found.group(1).replace(" or ", ", ").split(",")]
    return [w for w in words if w and " " not in w or w == "no text"]


def play(runner, folder, name, text):
    path = folder / name
    path.write_text(text, encoding="utf-8")
    return subprocess.run([runner, "--quiet", str(path)], cwd=folder, capture_output=True,
                          text=True, errors="replace")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    runner = str(Path(sys.argv[1]).resolve())
    reference, out = Path(sys.argv[2]), Path(sys.argv[3])
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)

    blocks = quoted_blocks(reference.read_text(encoding="utf-8"))
    if not blocks:
        sys.exit(f"{reference}: quotes no ```scenario block")
    failures = 0
    for line, text in blocks:
        result = play(runner, out, f"line-{line}.scenario", text)
        if result.returncode != 0:
            failures += 1
            print(f"{reference}:{line}: the example exits {result.returncode}:\n"
                  f"{result.stdout}{result.stderr}", file=sys.stderr)

    # Every command and every kind of expectation the runner knows is shown at least once.
    # The lists come from the runner's own messages for an unknown word.
    verbs = listed_after(play(runner, out, "unknown-command.scenario", "bogus\n").stderr,
                         "unknown command")
    expectations = listed_after(play(runner, out, "unknown-expectation.scenario",
                                     "expect bogus\n").stderr, "cannot expect")
    lines = [re.sub(r"\s+", " ", l.split("#")[0].strip().lower())
             for _, text in blocks for l in text.splitlines()]
    shown = {l.split(" ")[0] for l in lines if l}
    shown_expectations = {" ".join(l.split(" ")[1:3]) if l.startswith("expect no ")
                          else l.split(" ")[1] for l in lines if l.startswith("expect ")}
    unshown = [v for v in verbs if v not in shown]
    unshown += [f"expect {e}" for e in expectations if e not in shown_expectations]
    if not any(re.match(r"expect \w+ (==|!=|<|<=|>|>=) ", l) for l in lines):
        unshown.append("expect VARIABLE OP VALUE")
    if unshown:
        failures += 1
        print(f"{reference}: no example shows: {', '.join(unshown)}", file=sys.stderr)

    print(f"{len(blocks)} examples in {reference.name}: "
          f"{'all pass' if failures == 0 else f'{failures} failures'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
