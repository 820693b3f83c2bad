#!/usr/bin/env bash
# A scenario played on the real window under a virtual X display: --play FILE --exit ends the
# program with the runner's exit status and the runner's last frame, and a click during the
# play hands the panel over, so the program no longer ends by itself.
# Usage: playback_e2e.sh PATH/TO/txm9-simulator PATH/TO/txm9-scenario
set -euo pipefail

simulator=$1
runner=$2
if [ -z "${INSIDE_VIRTUAL_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" env INSIDE_VIRTUAL_DISPLAY=1 bash "$0" "$@"
fi

scratch=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Plays FILE on the window with --exit and prints the exit status; the window's screenshots
# go to $scratch/tmp/txm9-playback.
play() {
    local status=0
    TMPDIR="$scratch/tmp" timeout 60 "$simulator" --play "$1" --exit 2>/dev/null || status=$?
    echo "$status"
}

mkdir -p "$scratch/tmp"
cat >"$scratch/french.scenario" <<'SCENARIO'
volts 1500
amps 1060
on
press knob
turn cw
press knob
turn cw 3
press knob
turn cw
expect text "FRANCAIS" inverted
screenshot end.png scale 1
SCENARIO
printf 'volts 1500\non\nexpect screen menu\n' >"$scratch/failing.scenario"
printf 'volts 1500\non\nturn sideways\n' >"$scratch/mistaken.scenario"

# The same scenario, the same end: the runner's exit status and its last frame.
[ "$(play "$scratch/french.scenario")" = 0 ] || fail "a passing scenario did not end the window with 0"
"$runner" --quiet --out "$scratch/runner" "$scratch/french.scenario" || fail "the runner failed"
if [ -f "$scratch/tmp/txm9-playback/end.png" ]; then
    differing=$(compare -metric AE "$scratch/runner/end.png" "$scratch/tmp/txm9-playback/end.png" \
        null: 2>&1 || true)
    [ "$differing" = "0" ] || fail "the window's last frame differs from the runner's in $differing pixels"
else
    fail "the window wrote no screenshot"
fi
[ "$(play "$scratch/failing.scenario")" = 1 ] || fail "a failed expectation did not end the window with 1"
[ "$(play "$scratch/mistaken.scenario")" = 2 ] || fail "a mistake in a scenario did not end the window with 2"

# A click on the display while it plays: the play stops, and the window stays open after the
# scenario's end, which without the click would have closed it at about 4 s.
printf 'volts 1500\non\nwait 2 s\npress knob\nexpect screen menu\n' >"$scratch/long.scenario"
"$simulator" --play "$scratch/long.scenario" --exit 2>/dev/null &
pid=$!
window=$(timeout 10 xdotool search --sync --name '^Halvernix Quorra TXM-9$' | head -n 1)
sleep 2
xdotool mousemove --window "$window" 150 160 click 1
sleep 4
kill -0 "$pid" 2>/dev/null || fail "the window closed at the scenario's end after a click had taken it over"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "playback on the window: exit statuses, last frame and hand-over as expected"
