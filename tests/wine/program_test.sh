# marvaze.exe under Wine, from the repository root: its options, the window, the menu's picture, a
# game, Escape, a second copy, and the same frame as the Linux build's.
. "$(dirname "$0")/lib.sh"

# A GUI program, but its standard streams are those it was started with: --version answers on
# stdout, a bad option is refused with the usage on stderr and 2.
out=$(timeout 60 "$MARVAZE" --version 2>/dev/null | tr -d '\r')
[ "$out" = "Marvaze $VERSION" ] || fail "marvaze.exe --version printed '$out'"
timeout 60 "$MARVAZE" --bogus >/dev/null 2>"$SHOTS/usage.txt"
status=$?
[ "$status" = 2 ] || fail "marvaze.exe --bogus ended with $status, not 2"
grep -q -- '--fullscreen' "$SHOTS/usage.txt" || fail "marvaze.exe --bogus gave no usage on stderr"

start_game
wait_picture
activate
# Wine's DirectSound opens on the null ALSA device that run.sh gives it: the stream plays.
grep -q 'running silent' "$LOG" &&
    fail "marvaze.exe ran silent: $(cat "$LOG")"
geometry=$(xwininfo -id "$WID")
echo "$geometry" | grep -q 'Width: 640' || fail "client width is not 640: $geometry"
echo "$geometry" | grep -q 'Height: 480' || fail "client height is not 480: $geometry"
[ "$(xdotool search --name '^Marvaze$' | wc -l)" = 1 ] || fail "not one window titled Marvaze"

# A few seconds of the menu: sky above, textured ground below, the images at their places.
sleep 2
m=$(shot menu)
sky=$(region "$m" 200x60+440+130 '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]')
awk -v c="$sky" 'BEGIN { split(c, v, " "); exit !(v[3] > v[1] && v[3] > 0.5) }' ||
    fail "no sky in the upper part (mean RGB $sky)"
ground=$(region "$m" 640x120+0+360 '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b] %[fx:standard_deviation]')
awk -v c="$ground" 'BEGIN { split(c, v, " "); exit !(v[2] > v[3] && v[4] > 0.015) }' ||
    fail "no textured ground in the lower part (mean RGB and deviation $ground)"
expect_menu_pictures "$m"

# Enter starts a game with the life icon and 3 spare lives; Escape, Escape leaves with 0.
press Return
sleep 1
g=$(shot game)
near "$(fit "$g" life.png 80 440)" 20 || fail "no life icon in the game"
[ "$("$PROBE" "$g" "$DATA" digit 170 440)" = 3 ] || fail "the game does not show 3 spare lives"
press Escape
sleep 0.5
press Escape
wait_exit 15
[ "$STATUS" = 0 ] || fail "Escape, Escape ended with $STATUS"

# --fullscreen: the window covers the whole display from the start.
start_game --fullscreen
wait_picture
screen=$(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
size=$(xwininfo -id "$WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = "$screen" ] || fail "marvaze.exe --fullscreen gave $size, not the display's $screen"
"$X11_CLOSE" "$WID"
wait_exit 15
[ "$STATUS" = 0 ] || fail "the fullscreen game ended with $STATUS"

# A second copy leaves with 255 (Wine's view of -1) and leaves one window.
start_game
wait_picture
timeout 60 "$MARVAZE" >/dev/null 2>&1
status=$?
[ "$status" = 255 ] || fail "second copy exited with $status, not 255"
[ "$(xdotool search --name '^Marvaze$' | wc -l)" = 1 ] || fail "more than one Marvaze window"
activate
press Escape
wait_exit 15
[ "$STATUS" = 0 ] || fail "the first copy ended with $STATUS"

# Twenty copies started at the same instant, before any has a window: one game runs, the others
# leave with 255.
pids=()
for _ in $(seq 20); do
    "$MARVAZE" >/dev/null 2>&1 &
    pids+=($!)
done
running=("${pids[@]}")
for _ in $(seq 1200); do
    left=()
    for p in "${running[@]}"; do kill -0 "$p" 2>/dev/null && left+=("$p"); done
    running=("${left[@]}")
    [ "${#running[@]}" -le 1 ] && break
    sleep 0.1
done
[ "${#running[@]}" = 1 ] || { kill -9 "${running[@]}" 2>/dev/null; fail "${#running[@]} of 20 simultaneous copies ran on"; }
PID=${running[0]}
for p in "${pids[@]}"; do
    [ "$p" = "$PID" ] && continue
    status=0
    wait "$p" || status=$?
    [ "$status" = 255 ] || fail "a simultaneous copy exited with $status, not 255"
done
find_window
wait_picture
[ "$(xdotool search --name '^Marvaze$' | wc -l)" = 1 ] || fail "not one window after 20 simultaneous starts"
"$X11_CLOSE" "$WID"
wait_exit 15
[ "$STATUS" = 0 ] || fail "the one of 20 simultaneous copies ended with $STATUS"

# The same frame on both platforms: the committed demo played to frame 40 and held there. The two software
# renderers put an edge a pixel apart here and there but never a whole shape, so what counts is
# the pixels that differ by more than 3% with all their neighbours differing too: none for the
# same frame, hundreds for a missing aircraft, tens of thousands for a world a frame apart.
shapes_apart() {
    compare -fuzz 3% "$1" "$2" -compose src -highlight-color white -lowlight-color black png:- 2>/dev/null |
        convert - -morphology Erode Square:1 -format '%[fx:round(mean * w * h)]' info:
}
linux=$SHOTS/linux-frame.png windows=$SHOTS/windows-frame.png
# The Linux frame once it has held still for two seconds, which no frame of a running game does.
still_frame=(--playdemo tests/demos/menu-and-game.demo --pause-at 40)
MARVAZE=$LINUX_BUILD/marvaze start_game "${still_frame[@]}"
shot still >/dev/null
held=0
for _ in $(seq 60); do
    sleep 1
    mv "$SHOTS/still.png" "$linux"
    shot still >/dev/null
    if [ "$(compare -metric AE "$SHOTS/still.png" "$linux" null: 2>&1)" = 0 ]; then
        held=$((held + 1))
    else
        held=0
    fi
    [ "$held" = 2 ] && break
done
"$X11_CLOSE" "$WID"
wait_exit 15
[ "$held" = 2 ] || fail "the Linux build's frame 40 never held still"
# Wine comes to the frame later and at its own pace: its picture is looked at until it matches.
start_game "${still_frame[@]}"
wait_picture
for _ in $(seq 60); do
    shot windows-frame >/dev/null
    apart=$(shapes_apart "$windows" "$linux")
    [ "$apart" -le 50 ] && break
    sleep 1
done
"$X11_CLOSE" "$WID"
wait_exit 15
any=$(compare -metric AE "$windows" "$linux" null: 2>&1)
over3=$(compare -fuzz 3% -metric AE "$windows" "$linux" null: 2>&1)
echo "frame 40 against the Linux build: $any pixels differ, $over3 by more than 3%, $apart in whole shapes"
[ -z "${MARVAZE_SCREENSHOTS:-}" ] || cp "$windows" "$linux" "$MARVAZE_SCREENSHOTS/"
[ "$apart" -le 50 ] || fail "Windows' frame 40 is not Linux's: $apart pixels apart in whole shapes"

# With no data folder at all (as a double-click inside the zip runs the exe alone) a box says what
# is missing, where it looked and what to do; answered, the game leaves with 255 and no window.
# Wine's msgbox channel shows the text the box was given.
empty=$(mktemp -d)
cp "$WINDOWS_EXE" "$empty/marvaze.exe"
(cd "$empty" && WINEDEBUG=-all,+msgbox exec wine ./marvaze.exe) >"$LOG" 2>&1 &
PID=$!
find_box "Marvaze cannot start"
[ -n "$BOX" ] || fail "no box for the missing data folder"
xdotool search --name '^Marvaze$' >/dev/null && fail "a game window opened without data"
answer_box
wait_exit 15
[ "$STATUS" = 255 ] || fail "without a data folder the game ended with $STATUS, not 255"
grep MSGBOX_OnInit "$LOG" | grep -F "$(basename "$empty")" | grep -q 'extract the whole zip' ||
    fail "the box does not say where it looked and what to do: $(cat "$LOG")"

# With data/ empty the "error" box for the sky comes once; answered, the game runs on.
mkdir "$empty/data"
(cd "$empty" && exec wine ./marvaze.exe) >"$LOG" 2>&1 &
PID=$!
find_box error
[ -n "$BOX" ] || fail "no error box for the missing sky"
answer_box
sleep 1
xwininfo -root -tree | grep -qF '"error":' && fail "the error box stayed or came again"
kill -0 "$PID" 2>/dev/null || fail "the game did not run on without data"
find_window
wait_picture
activate
press Escape
wait_exit 15
rm -rf "$empty"
[ "$STATUS" = 0 ] || fail "the game without data ended with $STATUS"

# Minimised by a window manager (Xvfb alone has none).
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
start_game
wait_picture
expect_idle_when_minimised
"$X11_CLOSE" "$WID"
wait_exit 15
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
echo "program test passed"
