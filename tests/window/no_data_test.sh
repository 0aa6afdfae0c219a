# The game started from a folder with no data/, with none beside it nor installed (the installed
# game finding its data is the Debian package's test, tests/deb/run.sh): a box says so, and where
# it looked; answered, the game leaves with 255 and never opens its window.
. "$(dirname "$0")/lib.sh"

elsewhere=$(mktemp -d)
trap 'rm -rf "$elsewhere"' EXIT
cd "$elsewhere"

launch "$MARVAZE"
find_box "Marvaze cannot start"
[ -n "$BOX" ] || fail "no box for the missing data folder"
grep -q 'no data folder found; looked for data/ in: '"$elsewhere" "$LOG" ||
    fail "no message naming the folders looked in"
xdotool search --name '^Marvaze$' >/dev/null && fail "a game window opened without data"
"$X11_CLOSE" "$BOX"
wait_exit 10
[ "$STATUS" = 255 ] || fail "game without data ended with $STATUS, not 255"
echo "no data test passed"
