#!/usr/bin/env bash
# The window's --play as a user running a stranger's scenario meets it: a failure prints what
# the runner prints, a FIFO or a device is refused at once, a scenario that writes outside its
# folder is a mistake before anything runs, --timeout ends a play that goes on too long, and a
# signal ends the window as closing it does, with 128 + the signal.
# Usage: window_play_limits_e2e.sh PATH/TO/txm9-simulator
set -euo pipefail

simulator=$1
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
mkdir tmp
export TMPDIR="$scratch/tmp"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Plays with --exit (and any further options); sets $status and $err.
play() {
    status=0
    timeout 30 "$simulator" --exit --play "$@" 2>err.txt || status=$?
    err=$(cat err.txt)
}

expect() { # WHAT STATUS TEXT
    [ "$status" = "$2" ] || fail "$1: exit status $status, not $2 ($err)"
    case "$err" in *"$3"*) ;; *) fail "$1: no '$3' in: $err" ;; esac
}

printf 'volts 1500\non\nexpect screen menu\n' >failing.scenario
play failing.scenario
expect "a failed expectation" 1 "FAIL failing.scenario:3: expected screen menu, the active screen is main"
expect "a failed expectation" 1 "the display reads:"

mkfifo fifo.scenario
play fifo.scenario
expect "a FIFO" 2 "fifo.scenario: is a FIFO, not a scenario file"
play /dev/zero
expect "a device" 2 "/dev/zero: is a device, not a scenario file"

printf 'on\nscreenshot %s/photo.png\n' "$scratch" >absolute.scenario
play absolute.scenario
expect "an absolute screenshot" 2 "absolute.scenario:2:12: a screenshot is written inside"
[ ! -e photo.png ] || fail "an absolute screenshot was written"

printf 'volts 1500\non\nwait 10 min\n' >long.scenario
play long.scenario --timeout 3
expect "a play past --timeout" 1 "long.scenario:3: still playing after the time limit of 3 s"

for signal in TERM INT HUP; do
    status=0
    "$simulator" --exit --play long.scenario 2>err.txt &
    pid=$!
    sleep 2
    kill -s "$signal" "$pid"
    wait "$pid" || status=$?
    expected=$((128 + $(kill -l "$signal")))
    [ "$status" = "$expected" ] || fail "SIG$signal while playing: exit status $status, not $expected"
done

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "window play limits: all passed"
