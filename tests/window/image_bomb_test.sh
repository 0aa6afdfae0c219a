# Title and team images that fit every limit on a file but whose pixel data inflates to 4.2 GB:
# the game says once for each that it refuses it, shows its menu without them as promptly as
# ever, keeps to its usual memory and leaves on Escape.
. "$(dirname "$0")/lib.sh"

folder=$(mktemp -d)
SHOTS=$folder
trap 'rm -rf "$folder"' EXIT
cp -r data "$folder/data"
"$(dirname "$MARVAZE")/tests/png_bomb" "$folder/data/title.png" || fail "no image written"
cp "$folder/data/title.png" "$folder/data/team0.png"
cd "$folder" || fail "no folder to play in"

started=$(date +%s%N)
launch "$MARVAZE"
find_window
for _ in $(seq 100); do
    near "$(fit "$(shot menu)" gamestart.png 120 120)" 45 && break
    sleep 0.1
done
shown=$((($(date +%s%N) - started) / 1000000))
sleep 2 # the menu asks for its title at every frame
peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$PID/status")
echo "menu shown after $shown ms; peak resident memory $((peak / 1024)) MiB"
near "$(fit "$SHOTS/menu.png" gameselect.png 120 120)" 20 || fail "no menu after $shown ms"
[ "$shown" -lt 10000 ] || fail "the menu took $shown ms"
# The sanitizers' own memory is not the game's.
[ -n "${MARVAZE_SANITIZED:-}" ] || [ "$peak" -lt $((150 * 1024)) ] || fail "peak of $peak KiB"
for image in title.png team0.png; do
    said=$(grep -c "data/$image: Corrupt PNG" "$LOG")
    [ "$said" = 1 ] || { cat "$LOG" >&2; fail "the refusal of $image said $said times"; }
done
xdotool windowfocus --sync "$WID" || true
press Escape
wait_exit 10
[ "$STATUS" = 0 ] || fail "Escape on the menu ended with $STATUS"
