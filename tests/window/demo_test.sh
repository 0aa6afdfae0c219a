# Demos in the real program: a run recorded with real key events plays back in step and shows the
# same frames each time; Escape stops a playback; the committed demo times to its committed digest;
# bad files and paths are refused before any window opens; a recording that cannot be written
# any more lets the game play on.
. "$(dirname "$0")/lib.sh"

SHOTS=$(mktemp -d)
trap 'rm -rf "$SHOTS"' EXIT
run=$SHOTS/run.demo

# Recorded with real keys: the menu, a game flown with the guns, Escape to the menu, Escape.
start_game --mute --record "$run"
sleep 3
press Return
sleep 0.5
xdotool keydown Up keydown space
sleep 1.5
xdotool keyup Up keyup space
sleep 0.5
press Escape
sleep 1
press Escape
wait_exit 15
[ "$STATUS" = 0 ] || fail "the recording run ended with $STATUS"
[ -s "$run" ] || fail "no demo was written"

# Played back whole, by itself, in step to its end.
start_game --mute --playdemo "$run"
wait_exit 60
[ "$STATUS" = 0 ] || fail "the playback ended with $STATUS: $(cat "$LOG")"
grep -q 'out of step' "$LOG" && fail "the playback went out of step: $(cat "$LOG")"

# The same frames each time: held at a frame of the menu and one of the game, twice over.
menu_frames=$(python3 - "$run" <<'EOF'
import struct, sys
b = open(sys.argv[1], 'rb').read()
i = 7 + b[6] + 6  # the header, then the first session's start
frames = 0
while b[i] == ord('F'):
    i += 3
    n = shift = 0
    while True:
        n |= (b[i] & 0x7f) << shift
        shift += 7
        i += 1
        if b[i - 1] < 0x80: break
    frames += n
print(frames)
EOF
)
[ "$menu_frames" -gt 20 ] || fail "the demo's menu is only $menu_frames frames"
for frame in 20 $((menu_frames + 15)); do
    for take in 1 2; do
        start_game --mute --playdemo "$run" --pause-at "$frame"
        sleep $((frame / 20 + 2))
        shot "frame-$frame-$take" >/dev/null
        press Escape
        wait_exit 15
        [ "$STATUS" = 0 ] || fail "the playback held at $frame ended with $STATUS"
    done
    differ=$(compare -metric AE "$SHOTS/frame-$frame-1.png" "$SHOTS/frame-$frame-2.png" null: 2>&1)
    [ "$differ" = 0 ] || fail "frame $frame differs between two playbacks: $differ pixels"
done
expect_menu_pictures "$SHOTS/frame-20-1.png"
near "$(fit "$SHOTS/frame-$((menu_frames + 15))-1.png" life.png 80 440)" 20 ||
    fail "frame $((menu_frames + 15)) of the playback shows no game"

# Escape stops a playback at once.
start_game --mute --playdemo tests/demos/menu-and-game.demo
sleep 1
press Escape
wait_exit 5
[ "$STATUS" = 0 ] || fail "Escape did not end the playback: $STATUS"

# The committed demo, timed in a real window, ends in the committed digest.
out=$(timeout 120 "$MARVAZE" --timedemo tests/demos/menu-and-game.demo 2>"$LOG")
echo "$out"
read -r digest frames <tests/demos/menu-and-game.digest
echo "$out" | grep -q "^timedemo: $frames frames in .* digest $digest\$" ||
    fail "the committed demo timed to '$out', not $frames frames and digest $digest"

# Refused before any window opens, with one line and 2.
printf 'MVZD\002\000\0051.0.0' >"$SHOTS/newer.demo"
printf 'MVZD\001' >"$SHOTS/short.demo"
truncate -s 17M "$SHOTS/huge.demo"
echo "my notes" >"$SHOTS/notes.txt"
refused() {
    local why=$1
    shift
    out=$(timeout 10 "$MARVAZE" "$@" 2>"$LOG")
    status=$?
    [ "$status" = 2 ] || fail "'$*' ended with $status, not 2"
    grep -q -- "$why" "$LOG" || fail "'$*' said '$(cat "$LOG")', not '$why'"
    [ "$(wc -l <"$LOG")" -le 14 ] || fail "'$*' said too much"
}
refused "no such file" --playdemo "$SHOTS/absent.demo"
refused "not a regular file" --timedemo "$SHOTS"
refused "not a demo" --playdemo "$SHOTS/notes.txt"
refused "newer format" --playdemo "$SHOTS/newer.demo"
refused "cut short in its header" --timedemo "$SHOTS/short.demo"
refused "larger than" --playdemo "$SHOTS/huge.demo"
refused "is a folder" --record "$SHOTS"
refused "cannot be written" --record "$SHOTS/no/such/folder.demo"
refused "not a demo; not overwritten" --record "$SHOTS/notes.txt"
[ "$(cat "$SHOTS/notes.txt")" = "my notes" ] || fail "a file that is no demo was overwritten"
refused "one demo at a time" --record "$run" --playdemo "$run"
refused "one demo at a time" --timedemo "$run" --record "$SHOTS/x.demo"

# The disk fills during a recording (its file held to the size it has): said once, the game plays
# on. A file size limit signals as well as failing the write (the shell passes its ignoring on),
# and holds every file the game writes: its output goes through a pipe.
GAME_ARGS=(--mute --record "$SHOTS/full.demo")
(trap '' XFSZ; exec "$MARVAZE" "${GAME_ARGS[@]}") > >(cat >"$LOG") 2>&1 &
PID=$!
find_window
xdotool windowfocus --sync "$WID" || true
prlimit --pid "$PID" --fsize="$(stat -c %s "$SHOTS/full.demo")" || fail "no file size limit"
press Return
press Escape
sleep 1
[ "$(grep -c 'cannot be written' "$LOG")" = 1 ] || fail "a failed recording was not said once: $(cat "$LOG")"
kill -0 "$PID" || fail "the game ended when its recording failed"
press Return
press Escape
sleep 1
press Escape
wait_exit 15
[ "$STATUS" = 0 ] || fail "the game whose recording failed ended with $STATUS"
[ "$(grep -c 'cannot be written' "$LOG")" = 1 ] || fail "the failed recording was said again"
echo "demo tests passed"
