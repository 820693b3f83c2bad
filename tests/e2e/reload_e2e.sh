#!/usr/bin/env bash
# The window following its firmware's source, on a copy of the tree with its own warm build
# tree: switched on, a slider moved and the battery setup reached, the screen's title changed
# in the text table and saved; the new firmware's window must show the new title on the same
# screen with the same slider, within the time allowed. Then the source is broken: the bar
# shows the compiler's file and line and the old firmware still answers a key; mended, the bar
# goes.
# Usage: reload_e2e.sh SOURCE_DIR COPY_DIR [SECONDS_ALLOWED]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${INSIDE_VIRTUAL_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" env INSIDE_VIRTUAL_DISPLAY=1 bash "$0" "$@"
fi
allowed=${3:-6}
# Optimised as scripts/run builds the window; the core's objects are then those of the Qt-free
# optimised build beside it (scripts/test), which ccache serves instead of compiling them again.
program=$(bash "$here/reload_tree.sh" "$1" "$2" Release)
copy=$(cd "$2" && pwd)
texts=$copy/core/firmware/monitor/texts.def
screen=$copy/core/firmware/monitor/screen_battery_setup.cpp
export CCACHE_BASEDIR="$copy" CCACHE_NOHASHDIR=1 \
    CCACHE_SLOPPINESS=pch_defines,time_macros

work=$(mktemp -d)
log=$work/watch.log
export TXM9_WATCH_LOG=$log
cp -p "$texts" "$work/texts.def"
cp -p "$screen" "$work/screen.cpp"
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    fi
    # The copy's source as it was, for the next run.
    cp -p "$work/texts.def" "$texts"
    cp -p "$work/screen.cpp" "$screen"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
now_ms() { date +%s%3N; }
window() { timeout 10 xdotool search --sync --onlyvisible --name '^Halvernix Quorra TXM-9$' | head -n 1; }
# Waits until the log has COUNT lines of EVENT; prints the last.
wait_for() {
    local event=$1 count=$2 deadline=$((SECONDS + 120))
    while [ "$(grep -c "^$event " "$log" 2>/dev/null || true)" -lt "$count" ]; do
        if [ $SECONDS -ge $deadline ]; then
            echo "no '$event' event #$count in time; the log:" >&2
            cat "$log" >&2 || true
            return 1
        fi
        sleep 0.05
    done
    grep "^$event " "$log" | sed -n "${count}p"
}
# r,g,b of a pixel of the window.
pixel() {
    import -window "$1" "$work/pixel.png"
    convert "$work/pixel.png" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}
BAR=248,215,211

"$program" --watch &
pid=$!
w=$(window)
xdotool mousemove --window "$w" 88 352 click 1 # ON
sleep 4                                        # the splash, and more
# The volts slider set where the middle button puts it: about 12 V, no alarm to acknowledge.
xdotool mousemove --window "$w" 489 30 click 2
knob() { xdotool mousemove --window "$1" 155 270 click 1; sleep 0.2; }
clockwise() { xdotool mousemove --window "$1" 28 297 click 1; sleep 0.2; }
knob "$w" # into the menu, down two, the battery setup
clockwise "$w"
clockwise "$w"
knob "$w"
sleep 0.3

# A new title, saved as an editor saves: a new file renamed over the old one.
sed 's/" BAT SETUP "/" BAT RELOAD "/' "$work/texts.def" >"$texts.new"
saved=$(now_ms)
mv "$texts.new" "$texts"
frame=$(wait_for frame 1)
took=$(($(echo "$frame" | cut -d' ' -f2) - saved))
echo "save to new frame: $took ms ($frame)"
case "$frame" in *"screen=battery_setup "*) ;; *) fail "not on the battery setup: $frame" ;; esac
volts=$(grep '^exec ' "$log" | head -n 1 | sed 's/.* volts=\([0-9]*\).*/\1/')
case "$frame" in *" volts=$volts "*) [ "$volts" -gt 0 ] || fail "the slider did not move" ;;
*) fail "the slider was not kept at $volts: $frame" ;; esac
case "$frame" in *"BAT RELOAD"*) ;; *) fail "the new title is not shown: $frame" ;; esac
[ "$took" -le $((allowed * 1000)) ] || fail "the new frame took $took ms, more than $allowed s"
grep -q "^replayed " "$log" || fail "no replay noted"

# Broken: the bar, and the old firmware goes on.
w=$(window)
lines=$(wc -l <"$work/screen.cpp")
{ cat "$work/screen.cpp"; echo "int broken_by_the_test = ;"; } >"$screen.new"
mv "$screen.new" "$screen"
bar=$(wait_for bar 1)
echo "$bar"
echo "$bar" | grep -Eq " core/firmware/monitor/screen_battery_setup\.cpp:$((lines + 1)):[0-9]+: .*error" ||
    fail "the bar does not show the file and line: $bar"
sleep 0.3
[ "$(pixel "$w" 1 400)" = "$BAR" ] || fail "the bar is not shown"
import -window "$w" -crop 231x133+39+94 +repage "$work/before-key.png"
clockwise "$w"
sleep 0.3
import -window "$w" -crop 231x133+39+94 +repage "$work/after-key.png"
if [ "$(compare -metric AE "$work/before-key.png" "$work/after-key.png" null: 2>&1 || true)" = 0 ]; then
    fail "the old firmware did not answer a key while the build was broken"
fi

# Mended: the new firmware again, and no bar.
cp "$work/screen.cpp" "$screen.new"
mv "$screen.new" "$screen"
frame=$(wait_for frame 2)
echo "$frame"
sleep 0.3
w=$(window)
[ "$(pixel "$w" 1 400)" != "$BAR" ] || fail "the bar is still shown"
case "$frame" in *"screen=battery_setup "*) ;; *) fail "not on the battery setup: $frame" ;; esac

if [ "$failures" -gt 0 ]; then
    cat "$log" >&2
    exit 1
fi
echo "PASS"
