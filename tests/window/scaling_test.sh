# Any window size: the 640x480 picture fills it at the largest 4:3 size with black bars; F11 goes
# fullscreen on the window's display and back; --fullscreen starts there.
. "$(dirname "$0")/lib.sh"

shots=$(mktemp -d)
# Fullscreen is the window manager's to grant: run a small one for this test.
openbox >/dev/null 2>&1 &
WM=$!
trap 'kill $WM 2>/dev/null; rm -rf "$shots"' EXIT
sleep 1
# The mean brightness (0-255) of a rectangle W x H at X,Y of the window.
brightness() {
    import -window "$WID" "$shots/window.png"
    convert "$shots/window.png" -crop "$3x$4+$1+$2" +repage -colorspace gray \
        -format '%[fx:mean*255]' info:
}
dark() { awk -v b="$1" 'BEGIN { exit !(b < 2) }'; }

start_game
sleep 1

# A wide window: bars left and right, the picture 4:3 in the middle.
xdotool windowmove --sync "$WID" 0 0
xdotool windowsize --sync "$WID" 1000 500
sleep 1
geometry=$(xwininfo -id "$WID")
echo "$geometry" | grep -q 'Width: 1000' || fail "the window did not take the new size"
dark "$(brightness 0 0 160 500)" || fail "no black bar on the left of a wide window"
dark "$(brightness 840 0 160 500)" || fail "no black bar on the right of a wide window"
dark "$(brightness 200 0 600 500)" && fail "the picture is missing from a wide window"

# A tall window: bars above and below.
xdotool windowsize --sync "$WID" 640 700
sleep 1
dark "$(brightness 0 0 640 100)" || fail "no black bar above the picture in a tall window"
dark "$(brightness 0 600 640 100)" || fail "no black bar below the picture in a tall window"

# F11: fullscreen over the whole display, then back to the window it was.
xdotool windowsize --sync "$WID" 640 480
sleep 0.5
press F11
sleep 1
screen=$(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
size=$(xwininfo -id "$WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = "$screen" ] || fail "F11 gave $size, not the display's $screen"
press F11
sleep 1
size=$(xwininfo -id "$WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = 640x480 ] || fail "F11 again gave $size, not 640x480"

# F11 pressed faster than the window manager answers: an even count leaves it a window.
for count in 2 4; do
    keys=$(for _ in $(seq $count); do echo -n "F11 "; done)
    xdotool key --delay 0 $keys
    sleep 1.5
    size=$(xwininfo -id "$WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    [ "$size" = 640x480 ] || fail "$count quick F11 presses gave $size, not 640x480"
done

# --fullscreen: the whole display from the start, the picture in it; F11 gives the window back.
"$X11_CLOSE" "$WID"
wait_exit 10
[ "$STATUS" = 0 ] || fail "ended with $STATUS"
start_game --fullscreen
sleep 1
size=$(xwininfo -id "$WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = "$screen" ] || fail "--fullscreen gave $size, not the display's $screen"
dark "$(brightness 200 100 600 500)" && fail "the picture is missing from the fullscreen window"
press F11
sleep 1
size=$(xwininfo -id "$WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = 640x480 ] || fail "F11 after --fullscreen gave $size, not 640x480"

expect_idle_when_minimised
xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowmap --sync "$WID"
sleep 0.5

"$X11_CLOSE" "$WID"
wait_exit 10
[ "$STATUS" = 0 ] || fail "ended with $STATUS"
echo "scaling test passed"
