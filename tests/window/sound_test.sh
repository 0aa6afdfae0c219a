# The real program's sound, captured with SDL's disk audio driver: a game with the guns firing
# is louder than the menu's demonstration before it, M silences it and M again brings it back;
# started with --mute it is silent until M.
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE=${TMPDIR:-/tmp}/marvaze-sound-test.raw
. "$(dirname "$0")/lib.sh"
AUDIO_PROBE=$(dirname "$MARVAZE")/tests/audio_probe
rm -f "$SDL_DISKAUDIOFILE"

bytes() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }
# Prints "RMS PEAK" of the sound the game makes over the next $1 seconds, with the guns firing
# (Space held) when $2 is "guns".
listen() {
    local from
    from=$(bytes)
    [ "${2:-}" != guns ] || xdotool keydown space
    sleep "$1"
    [ "${2:-}" != guns ] || xdotool keyup space
    "$AUDIO_PROBE" "$SDL_DISKAUDIOFILE" "$from" "$(bytes)" || fail "no sound captured"
}

start_game
sleep 0.5
read -r menu_rms menu_peak <<<"$(listen 2)"
press Return
sleep 0.5
read -r game_rms game_peak <<<"$(listen 2 guns)"
echo "menu RMS $menu_rms (peak $menu_peak), game with guns RMS $game_rms (peak $game_peak)"
[ "$game_rms" -gt 500 ] || fail "a game with the guns firing is nearly silent (RMS $game_rms)"
[ "$game_rms" -gt "$menu_rms" ] || fail "the game ($game_rms) is not louder than the menu ($menu_rms)"

press m
sleep 0.3
read -r muted_rms muted_peak <<<"$(listen 1 guns)"
[ "$muted_peak" = 0 ] || fail "M did not silence the game (peak $muted_peak)"
press m
sleep 0.3
read -r back_rms back_peak <<<"$(listen 1)"
[ "$back_rms" -gt 100 ] || fail "M again did not bring the sound back (RMS $back_rms)"
"$X11_CLOSE" "$WID"
wait_exit 10
[ "$STATUS" = 0 ] || fail "closing ended with $STATUS"

rm -f "$SDL_DISKAUDIOFILE"
start_game --mute
press Return
sleep 0.5
read -r muted_rms muted_peak <<<"$(listen 1.5 guns)"
[ "$muted_peak" = 0 ] || fail "--mute did not start silent (peak $muted_peak)"
press m
sleep 0.3
read -r back_rms back_peak <<<"$(listen 1 guns)"
[ "$back_rms" -gt 100 ] || fail "M after --mute did not bring the sound (RMS $back_rms)"
"$X11_CLOSE" "$WID"
wait_exit 10
[ "$STATUS" = 0 ] || fail "closing ended with $STATUS"
rm -f "$SDL_DISKAUDIOFILE"
echo "sound test passed"

# A sound device that never answers (a sound server that accepts and stays silent, the disk
# driver's file a FIFO nobody reads) holds neither the menu nor Escape; one line says the game
# runs silent.
SHOTS=$(mktemp -d)
server=$SHOTS/pulse.sock
python3 - "$server" <<'PY' &
import socket, sys
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1])
s.listen(8)
held = []
while True:
    held.append(s.accept())
PY
SERVER=$!
trap 'kill $SERVER; rm -rf "$SHOTS"' EXIT
until [ -S "$server" ]; do sleep 0.1; done
mkfifo "$SHOTS/fifo"
export PULSE_SERVER=unix:$server SDL_DISKAUDIOFILE=$SHOTS/fifo
for driver in pulseaudio disk; do
    export SDL_AUDIODRIVER=$driver
    started=$(date +%s%N)
    start_game
    until near "$(fit "$(shot menu)" title.png 320 50)" 20; do
        [ $(($(date +%s%N) - started)) -lt 10000000000 ] || fail "no menu in 10 s ($driver)"
        sleep 0.1
    done
    shown=$((($(date +%s%N) - started) / 1000000))
    sleep 1.5
    press Escape
    wait_exit 5
    [ "$STATUS" = 0 ] || fail "Escape with a silent $driver device ended with $STATUS"
    echo "$driver never answering: menu after $shown ms"
    [ "$(grep -c '^marvaze:' "$LOG")" = 1 ] && grep -q '^marvaze: .*running silent' "$LOG" ||
        { cat "$LOG" >&2; fail "not one line of the silent sound ($driver)"; }
done
echo "silent device test passed"
