# A whole play through the real program, seen in its pixels: the menu's demonstration, the cursor,
# a game with its lives counted down by crashes, game over, the menu again, and quitting. Set
# MARVAZE_SCREENSHOTS to a folder to keep the menu and game screenshots.
. "$(dirname "$0")/lib.sh"

SHOTS=$(mktemp -d)
trap 'rm -rf "$SHOTS"' EXIT

start_game
sleep 1

# The demonstration runs behind the menu.
expect_menu_over_demonstration

# Down moves the cursor to the second entry, Up brings it back.
press Down
sleep 0.8
c=$(shot menu-down)
near "$(fit "$c" gameselect.png 120 170)" 20 || fail "Down did not move the cursor"
press Up
sleep 0.8
near "$(fit "$(shot menu-up)" gameselect.png 120 120)" 20 || fail "Up did not move the cursor back"
[ -z "${MARVAZE_SCREENSHOTS:-}" ] || cp "$MENU" "$MARVAZE_SCREENSHOTS/menu.png"

# Enter starts a game: the life icon and three spare lives.
press Return
sleep 1
g=$(shot game)
near "$(fit "$g" life.png 80 440)" 20 || fail "no life icon in the game"
[ "$("$PROBE" "$g" "$DATA" digit 170 440)" = 3 ] || fail "the game does not show 3 spare lives"

# Holding keys flies and fires: climb with the guns going, then speed up.
xdotool keydown Up keydown space
sleep 1
xdotool keyup Up keyup space
xdotool keydown Right
sleep 0.5
xdotool keyup Right
[ -z "${MARVAZE_SCREENSHOTS:-}" ] || cp "$(shot game-flying)" "$MARVAZE_SCREENSHOTS/game.png"

# Diving into the surface costs the lives one by one; the count goes 3, 2, 1, 0.
xdotool keydown Down
seen=""
for _ in $(seq 600); do
    s=$(shot lives)
    if near "$(fit "$s" title.png 320 50)" 20; then break; fi
    d=$("$PROBE" "$s" "$DATA" digit 170 440)
    if [ "$d" != -1 ] && [ "${seen##* }" != "$d" ]; then seen="$seen $d"; fi
done
xdotool keyup Down
[ "$seen" = " 3 2 1 0" ] || fail "spare lives went '$seen', not 3 2 1 0"
near "$(fit "$(shot after)" title.png 320 50)" 20 || fail "the menu did not come back after game over"

# Escape on the menu ends the program with 0.
sleep 0.5
press Escape
wait_exit 10
[ "$STATUS" = 0 ] || { cat "$LOG"; fail "Escape on the menu ended with $STATUS"; }

# With data/ empty the game runs on: the sky's error box comes once, a key answers it.
empty=$(mktemp -d)
mkdir "$empty/data"
cp "$MARVAZE" "$empty/marvaze"
(cd "$empty" && exec ./marvaze) >"$LOG" 2>&1 &
PID=$!
find_box error
[ -n "$BOX" ] || fail "no error box for the missing sky"
xdotool windowfocus --sync "$BOX" 2>/dev/null || true
sleep 0.3
xdotool key Return
sleep 2
xwininfo -root -tree | grep -qF '"error":' && fail "the error box stayed or came again"
kill -0 "$PID" 2>/dev/null || fail "the game did not run on without data"
find_window
"$X11_CLOSE" "$WID"
wait_exit 10
rm -rf "$empty"
[ "$STATUS" = 0 ] || fail "the game without data ended with $STATUS"
echo "playthrough test passed"
