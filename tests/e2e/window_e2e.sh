#!/usr/bin/env bash
# The real simulator on a virtual X display: before ON, during the start-up splash, running,
# and driven from the keyboard and the wheel, checked in screenshots of its window as a
# person would see it.
# Usage: window_e2e.sh PATH/TO/txm9-simulator
set -euo pipefail

program=$1
if [ -z "${INSIDE_VIRTUAL_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" env INSIDE_VIRTUAL_DISPLAY=1 bash "$0" "$program"
fi

shots=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# "r,g,b" of one pixel of a screenshot.
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}
# Number of distinct colours in a region WxH+X+Y.
colours_in() {
    convert "$1" -crop "$2" +repage -unique-colors -format '%w' info:
}
# Number of pure black pixels in a region.
black_in() {
    convert "$1" -crop "$2" +repage -fill white +opaque black -fill black -opaque black \
        -negate -format '%[fx:int(mean*w*h+0.5)]' info:
}
expect_pixel() { # shot x y description test-expression-on-r-g-b
    local rgb r g b
    rgb=$(pixel "$1" "$2" "$3")
    IFS=, read -r r g b <<<"$rgb"
    if ! eval "$5"; then
        fail "$4 at $2,$3 in $(basename "$1"): got $rgb"
    fi
}

"$program" &
pid=$!
window=$(timeout 10 xdotool search --sync --name '^Halvernix Quorra TXM-9$' | head -n 1)
sleep 0.7
import -window "$window" "$shots/before.png"

size=$(identify -format '%wx%h' "$shots/before.png")
[ "$size" = "621x404" ] || fail "window client area is $size, not 621x404"

# The icon the desktop shows for the window, in the sizes drawn for a task bar and a switcher.
icons=$(xprop -len 16777216 -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' |
    tr '\n' ' ' || true)
for side in 16 32 256; do
    [[ "$icons" == *"Icon ($side x $side)"* ]] || fail "the window has no ${side} px icon: $icons"
done

# The face: white ground, black disc, the lamp lit pure red before the first ON.
expect_pixel "$shots/before.png" 2 2 "white ground" '[ $r -gt 240 ] && [ $g -gt 240 ] && [ $b -gt 240 ]'
expect_pixel "$shots/before.png" 125 262 "black disc" '[ $r -lt 60 ] && [ $g -lt 60 ] && [ $b -lt 60 ]'
expect_pixel "$shots/before.png" 156 29 "lamp pure red" '[ $r -eq 255 ] && [ $g -eq 0 ] && [ $b -eq 0 ]'
# The display before ON: the panel's even grey, no picture.
[ "$(colours_in "$shots/before.png" 229x131+40+95)" -eq 1 ] || fail "display not one even colour before ON"
expect_pixel "$shots/before.png" 150 160 "grey display panel" '[ $r -eq $g ] && [ $g -eq $b ] && [ $r -gt 120 ] && [ $r -lt 235 ]'
panel=$(pixel "$shots/before.png" 150 160)

# ON, with the button's middle clicked.
xdotool mousemove --window "$window" 88 352 click 1
sleep 1.0
import -window "$window" "$shots/splash.png"
# The display picture: lit pixels black on an LCD-grey ground, its last column and last
# three rows white.
# Window pixel (44, 146) is display pixel (2, 25): blank on the splash and the main display.
ground=$(pixel "$shots/splash.png" 44 146)
expect_pixel "$shots/splash.png" 44 146 "LCD ground grey" '[ $r -eq $g ] && [ $g -eq $b ] && [ $r -gt 120 ] && [ $r -lt 235 ]'
[ "$ground" != "$panel" ] || fail "the display picture does not differ from the bare panel"
[ "$(colours_in "$shots/splash.png" 228x128+40+95)" -le 2 ] || fail "display shows other colours than ink and ground"
expect_pixel "$shots/splash.png" 268 150 "white last column" '[ $r -eq 255 ] && [ $g -eq 255 ] && [ $b -eq 255 ]'
expect_pixel "$shots/splash.png" 150 224 "white last rows" '[ $r -eq 255 ] && [ $g -eq 255 ] && [ $b -eq 255 ]'
splash_lit=$(black_in "$shots/splash.png" 228x128+40+95)
echo "splash: $splash_lit lit picture pixels"
# The maker and model names in double height make well over a thousand picture pixels.
[ "$splash_lit" -gt 1000 ] || fail "the splash shows too little ink ($splash_lit pixels)"

# Running: at 0 V the low-voltage alarm stands, so the lamp blinks between pure red and
# dark red every 1.1 s.
sleep 1.6
lamp_colours=""
for i in 1 2 3 4 5 6; do
    import -window "$window" "$shots/running$i.png"
    lamp_colours+=" $(pixel "$shots/running$i.png" 156 29)"
    sleep 0.45
done
echo "lamp:$lamp_colours"
[[ "$lamp_colours" == *" 255,0,0"* ]] || fail "the alarm lamp never lit"
[[ "$lamp_colours" == *" 128,0,0"* ]] || fail "the alarm lamp never went dark"
expect_pixel "$shots/running1.png" 44 146 "LCD ground while running" '[ $r -eq $g ] && [ $g -eq $b ] && [ $r -gt 120 ] && [ $r -lt 235 ]'
[ "$(colours_in "$shots/running1.png" 228x128+40+95)" -le 2 ] || fail "display shows other colours than ink and ground"
running_lit=$(black_in "$shots/running1.png" 228x128+40+95)
echo "running: $running_lit lit picture pixels"
# The main display: battery picture, units, caption and arrow at the least.
[ "$running_lit" -gt 1000 ] || fail "the main display shows too little ink ($running_lit pixels)"
[ "$(compare -metric AE "$shots/splash.png" "$shots/running1.png" null: 2>&1 || true)" != "0" ] ||
    fail "the main display looks the same as the splash"

# The keyboard and the wheel. F2 is the right key: the first key after an alarm only
# acknowledges it, so the lamp stays dark from then on.
xdotool key F2
sleep 0.3
lamp_after_key=""
for i in 1 2 3 4; do
    import -window "$window" "$shots/acknowledged$i.png"
    lamp_after_key+=" $(pixel "$shots/acknowledged$i.png" 156 29)"
    sleep 0.4
done
echo "lamp after F2:$lamp_after_key"
[ "$lamp_after_key" = " 128,0,0 128,0,0 128,0,0 128,0,0" ] ||
    fail "F2 did not acknowledge the alarm (lamp:$lamp_after_key)"
# F2 again opens the contrast screen; a wheel notch away from the user over the face turns
# the knob clockwise, which lengthens the contrast bar.
xdotool key F2
sleep 0.3
import -window "$window" "$shots/contrast.png"
xdotool mousemove --window "$window" 155 150 click 4
sleep 0.3
import -window "$window" "$shots/turned.png"
contrast_lit=$(black_in "$shots/contrast.png" 228x128+40+95)
turned_lit=$(black_in "$shots/turned.png" 228x128+40+95)
echo "contrast screen: $contrast_lit lit picture pixels, $turned_lit after a wheel notch"
[ "$contrast_lit" -ne "$running_lit" ] || fail "F2 did not open the contrast screen"
[ "$turned_lit" -gt "$contrast_lit" ] || fail "the wheel did not turn the contrast up"

# OFF: the program stays open and the display keeps its last frame.
xdotool mousemove --window "$window" 244 352 click 1
sleep 0.4
import -window "$window" "$shots/off1.png"
sleep 1.2
import -window "$window" "$shots/off2.png"
kill -0 "$pid" 2>/dev/null || fail "the program ended on OFF"
if ! compare -metric AE "$shots/off1.png" "$shots/off2.png" null: 2>/dev/null; then
    fail "the window changed while the instrument is off"
fi

if [ "$failures" -ne 0 ]; then
    echo "screenshots kept in $shots" >&2
    exit 1
fi
rm -rf "$shots"
echo "window_e2e: all checks passed"
