#!/usr/bin/env python3
"""Writes the hand-made event streams that seed the fuzz_walk target.

    tools/make_walk_corpus.py fuzz/corpus/walk

The byte values are those of walk_byte in tests/support/firmware_walk.h: one delivery of
events (25 ms) after another, each starting with one byte whose range says what happens.
"""
import pathlib
import sys

NOTHING, KEY, ANY_CODE, TWO_KEYS = 0, 64, 160, 168
VOLTS_SET, VOLTS_NUDGE, AMPS_SET, AMPS_NUDGE = 172, 178, 186, 192
PAUSE, MINUTE, STALL = 200, 204, 205
CALIBRATE_BOX, KEY_FAST_BOX, SET_POINT, OFF, ON, TURN = 209, 217, 221, 223, 224, 225
# The key byte's value % 8 picks the key.
SELECT, CW, CCW, LEFT, RIGHT = 0, 1, 3, 4, 5


def key(*codes):
    out = []
    for code in codes:
        out += [KEY, code]
    return out


def count(action, value):
    return [action, value >> 8, value & 0xFF]


def switch_on(unlock=False):
    """ON while off, then the 80 splash frames; with unlock, the knob pressed in the first."""
    frames = key(SELECT) + [NOTHING] * 79 if unlock else [NOTHING] * 80
    return [NOTHING] + frames


def quiet_volts():
    """12.3 V, inside the alarm window, and 0 A; the filters settle during the pause."""
    return count(VOLTS_SET, 1500) + count(AMPS_SET, 1872) + [PAUSE, 20]


streams = {
    # Unlocked in the splash, into the calibration list: the zero point, then the charge
    # point at the same count, which ends the run; ON again measures normally.
    "zero_width_calibration": switch_on(unlock=True) + quiet_volts()
    + count(AMPS_SET, 2000) + [PAUSE, 20]
    + key(SELECT, CW, CW, CW, CW, SELECT, RIGHT, RIGHT, SELECT, LEFT, RIGHT, SELECT)
    + [NOTHING] * 10 + [NOTHING] + [NOTHING] * 80 + [NOTHING] * 10,
    # Every setting of both setup lists stepped both ways, KeyFast on for the thresholds.
    "settings_tour": switch_on() + quiet_volts() + [KEY_FAST_BOX]
    + key(SELECT, CW, SELECT)
    + key(RIGHT, SELECT, RIGHT, SELECT, RIGHT, RIGHT, RIGHT, SELECT, CW, CW, CCW, SELECT)
    + key(RIGHT, SELECT, CW, CW, SELECT, RIGHT, SELECT, CW, CW, CW, CW, CCW, SELECT)
    + key(CCW, CCW, CCW, CCW, CCW, CCW, SELECT, CW, SELECT)
    + key(RIGHT, SELECT, CW, CW, SELECT, RIGHT, SELECT, CCW, CCW, SELECT)
    + key(RIGHT, RIGHT, SELECT, CW, SELECT, RIGHT, SELECT, CCW, CCW, CCW, SELECT)
    + key(RIGHT, SELECT, CW, CW, CW, SELECT, LEFT, LEFT, LEFT, LEFT, LEFT, SELECT, CCW, SELECT)
    + [OFF],
    # Alarms, acknowledgement, the peaks and the contrast from the main display.
    "alarms_and_peaks": switch_on() + count(VOLTS_SET, 900) + [PAUSE, 5]
    + key(LEFT, LEFT) + count(VOLTS_SET, 3700) + [PAUSE, 5] + key(LEFT, LEFT, LEFT, CW)
    + count(AMPS_SET, 0) + [PAUSE, 5] + count(AMPS_SET, 4096) + [PAUSE, 5]
    + key(RIGHT, RIGHT, CW, CW, CW, CCW, SELECT) + [STALL, 31, VOLTS_NUDGE, 0, AMPS_NUDGE, 255]
    + [OFF],
    # The contrast turned to both ends and past them, and a threshold wrapped both ways.
    "knob_to_the_ends": switch_on() + quiet_volts() + key(RIGHT) + [TURN, CW, 63]
    + [PAUSE, 0, TURN, CCW, 63, PAUSE, 0] + key(SELECT, SELECT, CW, CW, SELECT)
    + key(RIGHT, RIGHT, RIGHT, SELECT, TURN, CW, 63, PAUSE, 0, TURN, RIGHT, 63) + [OFF],
    # A minute on a setup list while editing: the inactivity return to the main display.
    "inactivity_return": switch_on() + quiet_volts()
    + key(SELECT, CW, CW, SELECT, RIGHT, SELECT) + [MINUTE, 0] + key(SELECT, CW, SELECT)
    + [OFF],
    # ON in the splash and ON while running: runs nested inside runs; one OFF ends them.
    "nested_runs": switch_on()[:40] + [ON, 0] + [NOTHING] * 80 + [ON, 0] + [NOTHING] * 80
    + key(SELECT) + [OFF] + [NOTHING] * 50,
    # Codes no screen knows, two keys in one delivery, keys while off, the Calibrate box
    # cleared on the menu's calibration item.
    "odd_keys": key(SELECT) + [ANY_CODE, 6, ANY_CODE, 255] + switch_on() + quiet_volts()
    + [CALIBRATE_BOX] + key(SELECT, CW, CW, CW, CW) + [CALIBRATE_BOX]
    + key(CW, CCW, SELECT, SELECT) + [ANY_CODE, 0, ANY_CODE, 6, ANY_CODE, 200]
    + [TWO_KEYS, CW, SELECT, TWO_KEYS, RIGHT, RIGHT] + [SET_POINT, 1, SET_POINT, 2] + [OFF],
}

if len(sys.argv) != 2:
    sys.exit(__doc__)
folder = pathlib.Path(sys.argv[1])
folder.mkdir(parents=True, exist_ok=True)
for name, stream in streams.items():
    assert all(0 <= b <= 255 for b in stream), name
    (folder / name).write_bytes(bytes(stream))
    print(f"{folder / name}: {len(stream)} bytes")
