# An installed game starts from another working directory and finds its data.
. "$(dirname "$0")/lib.sh"

prefix=$(mktemp -d)
elsewhere=$(mktemp -d)
trap 'rm -rf "$prefix" "$elsewhere"' EXIT
cmake --install "$(dirname "$MARVAZE")" --prefix "$prefix" >/dev/null || fail "install failed"
for f in bin/marvaze share/marvaze/data/sky.x share/marvaze/data/title.png \
         share/applications/marvaze.desktop share/icons/hicolor/128x128/apps/marvaze.png; do
    [ -e "$prefix/$f" ] || fail "install did not put $f"
done
grep -q '^Exec=marvaze$' "$prefix/share/applications/marvaze.desktop" || fail "desktop entry"

cd "$elsewhere"
MARVAZE="$prefix/bin/marvaze"
start_game
sleep 1
grep -q 'no data folder' "$LOG" && fail "installed game did not find its data"
grep -q 'sky.x' "$LOG" && fail "installed game could not read its sky"
press Escape
wait_exit 10
[ "$STATUS" = 0 ] || fail "installed game ended with $STATUS"

# With no data anywhere it says where it looked and runs on.
rm -rf "$prefix/share/marvaze"
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
echo "install test passed"
