# The real program: its options, window title and size, a second copy, Escape and the close
# button.
. "$(dirname "$0")/lib.sh"

# --version and --help answer on stdout and leave with 0, no window opened; anything else is
# refused with the usage on stderr and 2.
out=$(timeout 10 "$MARVAZE" --version 2>"$LOG")
status=$?
[ "$status" = 0 ] || fail "--version ended with $status"
[ "$out" = "Marvaze $VERSION" ] || fail "--version printed '$out'"
[ ! -s "$LOG" ] || fail "--version wrote to stderr"
out=$(timeout 10 "$MARVAZE" --help 2>/dev/null)
status=$?
[ "$status" = 0 ] || fail "--help ended with $status"
for option in --help --version --fullscreen --mute; do
    echo "$out" | grep -q -- "^ *$option " || fail "--help does not list $option: $out"
done
# An answer that cannot be written is an error, said on stderr.
for run in "--help >/dev/full" "--version >&-"; do
    status=0
    eval "timeout 10 \"\$MARVAZE\" $run" 2>"$LOG" || status=$?
    [ "$status" = 1 ] || fail "'$run' ended with $status"
    grep -q 'cannot write to standard output' "$LOG" || fail "'$run' said nothing: $(cat "$LOG")"
done
# A refused option is said back with its terminal escapes defused.
timeout 10 "$MARVAZE" "$(printf -- '--\033[2J')" 2>"$LOG"
grep -qF "unknown option '--\\x1b[2J'" "$LOG" || fail "the refused option was not escaped: $(cat -v "$LOG")"
for bad in --bogus -h "--mute --fast" fullscreen; do
    # shellcheck disable=SC2086 # split on purpose: some cases are two arguments
    out=$(timeout 10 "$MARVAZE" $bad 2>"$LOG")
    status=$?
    [ "$status" = 2 ] || fail "'$bad' ended with $status, not 2"
    [ -z "$out" ] || fail "'$bad' wrote to stdout: $out"
    grep -q -- '--fullscreen' "$LOG" || fail "'$bad' gave no usage on stderr"
done
# --version while a copy plays answers all the same (and brings no window up).
start_game --mute
out=$(timeout 10 "$MARVAZE" --version 2>&1)
[ "$out" = "Marvaze $VERSION" ] || fail "--version beside a running copy printed '$out'"
"$X11_CLOSE" "$WID"
wait_exit 10
[ "$STATUS" = 0 ] || fail "the game started with --mute ended with $STATUS"

start_game
geometry=$(xwininfo -id "$WID")
echo "$geometry" | grep -q 'Width: 640' || fail "client width is not 640: $geometry"
echo "$geometry" | grep -q 'Height: 480' || fail "client height is not 480: $geometry"
[ "$(xdotool getwindowname "$WID")" = "Marvaze" ] || fail "title is not Marvaze"

# A second copy shows the first window again and leaves with 255 without a window of its own.
xdotool windowunmap --sync "$WID"
xwininfo -id "$WID" | grep -q 'IsUnMapped' || fail "could not hide the first window"
timeout 20 "$MARVAZE" >/dev/null 2>&1
status=$?
[ "$status" = 255 ] || fail "second copy exited with $status, not 255"
for _ in $(seq 50); do
    xwininfo -id "$WID" | grep -q 'IsViewable' && break
    sleep 0.1
done
xwininfo -id "$WID" | grep -q 'IsViewable' || fail "the first window was not shown again"
[ "$(xdotool search --name '^Marvaze$' | wc -l)" = 1 ] || fail "more than one Marvaze window"

# Escape on the menu ends the program with 0.
xdotool windowfocus --sync "$WID" || true
press Escape
wait_exit 10
[ "$STATUS" = 0 ] || fail "Escape on the menu ended with $STATUS"

# F11 with no window manager to answer it (none runs here) never holds the frame: after a hundred
# quick presses Escape is obeyed at once.
start_game
xdotool key --delay 0 $(printf 'F11 %.0s' $(seq 100))
press Escape
wait_exit 5
[ "$STATUS" = 0 ] || fail "Escape after quick F11 presses without a window manager: $STATUS"

# Enter starts a game; Escape returns to the menu; the close button ends it from the menu.
start_game
press Return
sleep 0.5
press Escape
sleep 0.5
kill -0 "$PID" 2>/dev/null || fail "Escape in a game ended the program"
"$X11_CLOSE" "$WID"
wait_exit 10
[ "$STATUS" = 0 ] || fail "closing the window on the menu ended with $STATUS"

# The close button in a game ends the program with 0 too.
start_game
press Return
sleep 0.5
"$X11_CLOSE" "$WID"
wait_exit 10
[ "$STATUS" = 0 ] || fail "closing the window in a game ended with $STATUS"

# A crashed first instance does not block the next start.
start_game
kill -9 "$PID"
wait "$PID" 2>/dev/null
start_game
press Escape
wait_exit 10
[ "$STATUS" = 0 ] || fail "start after a crashed instance ended with $STATUS"

# A start while the first copy quits: held still, the first takes the Escape and the new copy's
# request in the same frame, and goes; the new copy runs.
start_game
first=$PID
kill -STOP "$first"
xdotool key Escape
"$MARVAZE" >"$LOG" 2>&1 &
PID=$!
sleep 0.3
kill -CONT "$first"
wait "$first" || fail "the first copy ended with $? on Escape"
find_window
xdotool windowfocus --sync "$WID" || true
sleep 0.5
press Escape
wait_exit 10
[ "$STATUS" = 0 ] || fail "the copy started while the first quit ended with $STATUS"


# No usable GL: the device error box, owned by the window, then exit status 255.
launch MESA_GL_VERSION_OVERRIDE=3.0 "$MARVAZE"
find_box "D3初期化ｴﾗｰ "
[ -n "$BOX" ] || fail "no error box with the caption for a failed device ($(kill -0 "$PID" 2>/dev/null && echo running || echo ended): $(cat "$LOG"))"
sleep 0.3
"$X11_CLOSE" "$BOX"
wait_exit 10
[ "$STATUS" = 255 ] || fail "a failed device ended with $STATUS, not 255"
grep -q '^marvaze: OpenGL 3.3 could not be started: .' "$LOG" ||
    fail "stderr does not say in English what failed"
echo "device failure box test passed"

# While the box is up: SIGTERM ends the game, and killing it takes the box's process along and
# frees the single-instance claim.
for signal in TERM KILL; do
    launch MESA_GL_VERSION_OVERRIDE=3.0 "$MARVAZE"
    find_box "D3初期化ｴﾗｰ "
    [ -n "$BOX" ] || fail "no error box for a failed device"
    children=$(pgrep -P "$PID")
    kill -$signal "$PID"
    wait_exit 5
    [ "$STATUS" != timeout ] || fail "SIG$signal did not end the game while its box was up"
    for _ in $(seq 30); do
        alive=$(for c in $children; do kill -0 "$c" 2>/dev/null && echo "$c"; done)
        [ -z "$alive" ] && break
        sleep 0.1
    done
    [ -z "$alive" ] || { kill -9 $alive; fail "the box's process outlived the game (SIG$signal)"; }
done
start_game
press Escape
wait_exit 10
[ "$STATUS" = 0 ] || fail "the start after a killed box ended with $STATUS"

# No sound card: the game runs silent and says so in one line, with no library noise.
if [ ! -e /dev/snd ]; then
    driver=$SDL_AUDIODRIVER
    unset SDL_AUDIODRIVER
    start_game
    "$X11_CLOSE" "$WID"
    wait_exit 10
    export SDL_AUDIODRIVER=$driver
    [ "$STATUS" = 0 ] || fail "the game without sound ended with $STATUS"
    # The game's own lines: a sanitized build reports system libraries' leaks after them.
    lines=$(awk '/^=+$|^==[0-9]+==/ { exit } NF { n++ } END { print n + 0 }' "$LOG")
    [ "$lines" = 1 ] || { cat "$LOG"; fail "$lines lines on stderr"; }
    grep -q 'no audio device' "$LOG" || fail "no word of the silent sound"
fi

# No display to show a window on: the game says so and leaves with 255 instead of running unseen
# on a display-less driver (used only when SDL_VIDEODRIVER names one).
nowhere=""
for n in $(seq 150 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { nowhere=":$n"; break; }
done
for display in unset $nowhere; do
    if [ "$display" = unset ]; then
        env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 10 "$MARVAZE" 2>"$LOG"
    else
        env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=$display timeout 10 "$MARVAZE" 2>"$LOG"
    fi
    status=$?
    [ "$status" = 255 ] || fail "with DISPLAY $display the game ended with $status, not 255"
    grep -q 'window cannot be opened: no display' "$LOG" ||
        { cat "$LOG" >&2; fail "with DISPLAY $display no word of the display"; }
done
