# A key released while the window had no focus does not stay held.
. "$(dirname "$0")/lib.sh"

xmessage -name other "another window" &
OTHER_PID=$!
trap 'kill $OTHER_PID 2>/dev/null' EXIT
OTHER=$(timeout 20 xdotool search --sync --name '^other$' | head -n 1)
[ -n "$OTHER" ] || fail "no second window to move the focus to"

start_game
# Up held on the menu, released while another window has the focus.
xdotool keydown Up
sleep 0.3
xdotool windowfocus --sync "$OTHER"
sleep 0.2
xdotool keyup Up
sleep 0.2
xdotool windowfocus --sync "$WID"
sleep 0.3
# Were Up still held, the menu would ignore Enter; it starts a game instead, where Escape only
# returns to the menu.
press Return
sleep 0.3
press Escape
sleep 0.5
kill -0 "$PID" 2>/dev/null || fail "Enter was ignored after the focus came back: a key stayed held"
"$X11_CLOSE" "$WID"
wait_exit 10
[ "$STATUS" = 0 ] || fail "closing ended with $STATUS"
echo "focus test passed"
