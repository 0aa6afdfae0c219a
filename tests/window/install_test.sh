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

# With no data anywhere a box says so, and where it looked; answered, the game leaves with 255
# and never opens its window.
rm -rf "$prefix/share/marvaze"
"$MARVAZE" >"$LOG" 2>&1 &
PID=$!
find_box "Marvaze cannot start"
[ -n "$BOX" ] || fail "no box for the missing data folder"
grep -q 'no data folder found; looked for data/ in: '"$elsewhere" "$LOG" ||
    fail "no message naming the folders looked in"
xdotool search --name '^Marvaze$' >/dev/null && fail "a game window opened without data"
"$X11_CLOSE" "$BOX"
wait_exit 10
[ "$STATUS" = 255 ] || fail "game without data ended with $STATUS, not 255"
echo "install test passed"
