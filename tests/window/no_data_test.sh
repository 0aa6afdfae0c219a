# The game started from a folder with no data/, with none beside it nor installed (the installed
# game finding its data is the Debian package's test, tests/deb/run.sh).
. "$(dirname "$0")/lib.sh"

elsewhere=$(mktemp -d)
trap 'rm -rf "$elsewhere"' EXIT
cd "$elsewhere"

# With no data anywhere it says where it looked and runs on.
start_game
sleep 1
grep -q 'no data folder found; looked for data/ in: '"$elsewhere" "$LOG" ||
    fail "no message naming the folders looked in"
find_box error
[ -n "$BOX" ] || fail "no error box for the missing sky"
"$X11_CLOSE" "$BOX"
sleep 0.5
kill -0 "$PID" 2>/dev/null || fail "the game did not run on without data"
"$X11_CLOSE" "$WID"
wait_exit 10
[ "$STATUS" = 0 ] || fail "game without data ended with $STATUS"
echo "no data test passed"
