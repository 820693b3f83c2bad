#!/usr/bin/env python3
"""What scripts/mcu prints about the firmware on its microcontroller.

  report.py sizes MAP ELF     flash and RAM by section and by part (the firmware alone, the
                              engine, the twin, the C library, libgcc), the 10 largest symbols
  report.py instructions LOG  the instructions of a pass on each screen, from the twin's
                              count under QEMU -icount, and what they take at 16 and 48 MHz
"""
import bisect
import re
import subprocess
import sys

FLASH_BYTES = 32 * 1024
RAM_BYTES = 4 * 1024
PASS_MS = 25

# The output sections of target/txm9.ld by what they hold.
KINDS = {".vectors": "text", ".text": "text", ".rodata": "rodata", ".ARM.exidx": "rodata",
         ".data": "data", ".bss": "bss", ".stack": "stack"}
COLUMNS = ["text", "rodata", "data", "bss"]

# The parts of the image by the file their input sections come from.
PARTS = [
    ("the firmware (lcd, monitor)", re.compile(r"libtxm9_(lcd|monitor)\.a\(")),
    ("the engine's running order", re.compile(r"core/engine/")),
    ("the twin, board and start-up", re.compile(r"target/CMakeFiles/")),
    ("C library (picolibc)", re.compile(r"picolibc.*libc\.a\(")),
    ("libgcc (soft float, division)", re.compile(r"libgcc\.a\(")),
]
OTHER = "alignment, merged strings"

SECTION_LINE = re.compile(r"^(\.\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)")
INPUT_LINE = re.compile(r"^ (\.\S+|COMMON|\*fill\*)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s*(.*)$")
INPUT_NAME_ONLY = re.compile(r"^ (\.\S+)$")
CONTINUATION = re.compile(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")


def read_map(path):
    """The output sections (name, address, size) and the input sections (address, size, kind,
    file) that the linker kept."""
    with open(path) as f:
        lines = f.read().split("\n")
    start = lines.index("Linker script and memory map")
    outputs, inputs = [], []
    kind = None
    pending = None
    for line in lines[start:]:
        m = SECTION_LINE.match(line)
        if m:
            kind = KINDS.get(m.group(1))
            if kind:
                outputs.append((m.group(1), int(m.group(2), 16), int(m.group(3), 16)))
            pending = None
            continue
        if not kind:
            continue
        m = INPUT_LINE.match(line)
        if m:
            inputs.append((int(m.group(2), 16), int(m.group(3), 16), kind, m.group(4)))
            continue
        if INPUT_NAME_ONLY.match(line):
            pending = True
            continue
        m = CONTINUATION.match(line)
        if m and pending:
            inputs.append((int(m.group(1), 16), int(m.group(2), 16), kind, m.group(3)))
            pending = None
    return outputs, inputs


def part_of(file):
    for name, pattern in PARTS:
        if pattern.search(file):
            return name
    return OTHER


def sizes(map_path, elf_path):
    outputs, inputs = read_map(map_path)
    table = {name: dict.fromkeys(COLUMNS, 0) for name, _ in PARTS + [(OTHER, None)]}
    for _, size, kind, file in inputs:
        if kind in COLUMNS:
            table[part_of(file)][kind] += size
    image = dict.fromkeys(COLUMNS + ["stack"], 0)
    for name, _, size in outputs:
        image[KINDS[name]] += size
    # What the input sections do not account for is padding between them.
    for column in COLUMNS:
        table[OTHER][column] += image[column] - sum(row[column] for row in table.values())

    print("Sizes in bytes (MinSizeRel, Cortex-M3, Thumb-2):")
    print(f"  {'':32}{'text':>8}{'rodata':>8}{'data':>8}{'bss':>8}")
    for name, row in table.items():
        if any(row.values()):
            print(f"  {name:32}" + "".join(f"{row[c]:>8}" for c in COLUMNS))
    print(f"  {'the image':32}" + "".join(f"{image[c]:>8}" for c in COLUMNS))
    flash = image["text"] + image["rodata"] + image["data"]
    ram = image["data"] + image["bss"] + image["stack"]
    print(f"  flash {flash} of {FLASH_BYTES} ({FLASH_BYTES - flash} free); "
          f"RAM {ram} of {RAM_BYTES} with the {image['stack']}-byte stack "
          f"({RAM_BYTES - ram} free)")

    # The largest symbols, each with the part it belongs to; aliases at one address once.
    nm = subprocess.run(["arm-none-eabi-nm", "-S", "--size-sort", elf_path], check=True,
                        capture_output=True, text=True).stdout.split("\n")
    symbols = {}
    for line in nm:
        fields = line.split()
        if len(fields) == 4:
            address, size = int(fields[0], 16), int(fields[1], 16)
            symbols.setdefault((address, size), []).append(fields[3])
    largest = sorted(symbols.items(), key=lambda s: -s[0][1])[:10]
    names = subprocess.run(["arm-none-eabi-c++filt"], input="\n".join(
        min(n, key=len) for _, n in largest), check=True, capture_output=True,
        text=True).stdout.split("\n")
    starts = sorted(inputs)
    keys = [s[0] for s in starts]
    print("The 10 largest symbols:")
    for ((address, size), _), name in zip(largest, names):
        at = bisect.bisect_right(keys, address) - 1
        kind, part = (starts[at][2], part_of(starts[at][3])) if at >= 0 else ("?", OTHER)
        print(f"  {size:>6}  {kind:7} {name:36} {part}")


def instructions(log_path):
    rows = []
    stack = None
    with open(log_path) as f:
        for line in f:
            m = re.match(r"twin: instructions (\S+) frames (\d+) mean (\d+) most (\d+)", line)
            if m:
                rows.append((m.group(1), int(m.group(2)), int(m.group(3)), int(m.group(4))))
            m = re.match(r"twin: stack (\d+) of (\d+)", line)
            if m:
                stack = (int(m.group(1)), int(m.group(2)))
    if not rows:
        sys.exit("report.py: no instruction counts in " + log_path)
    print(f"Instructions of a pass by the screen it drew (QEMU -icount; the splash: its frames),")
    print(f"and the time at one instruction a cycle, a floor (loads, taken branches and flash")
    print(f"wait states cost more), with its share of the {PASS_MS} ms pass:")
    print(f"  {'':15}{'passes':>7}{'mean':>9}{'most':>9}   {'16 MHz':>15}   {'48 MHz':>15}")
    for name, frames, mean, most in rows:
        at = [most / (mhz * 1000.0) for mhz in (16, 48)]
        print(f"  {name:15}{frames:>7}{mean:>9}{most:>9}   " + "   ".join(
            f"{ms:>6.2f} ms {100 * ms / PASS_MS:>4.0f} %" for ms in at))
    if stack:
        print(f"Stack at the deepest: {stack[0]} of {stack[1]} bytes")


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "sizes":
        sizes(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 3 and sys.argv[1] == "instructions":
        instructions(sys.argv[2])
    else:
        sys.exit(__doc__)
