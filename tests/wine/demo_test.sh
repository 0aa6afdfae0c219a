# marvaze.exe under Wine plays the committed demo, timed, to the committed digest: one demo, one
# world on every platform.
. "$(dirname "$0")/lib.sh"

read -r digest frames <tests/demos/menu-and-game.digest
out=$(timeout 300 "$MARVAZE" --timedemo tests/demos/menu-and-game.demo 2>"$LOG" | tr -d '\r')
echo "$out"
echo "$out" | grep -q "^timedemo: $frames frames in .* digest $digest\$" ||
    fail "marvaze.exe timed the committed demo to '$out' ($(cat "$LOG")), not $frames frames and digest $digest"
