#!/usr/bin/env bash
# Records tests/demos/menu-and-game.demo with the real program and real key events: the menu's
# demonstration for a while, GAME START, a whole game (guns held, diving into the ground until the
# last life is spent), the menu again, and Escape. The demo is committed; run this only to make it
# again (then commit the new demo and its digest, which the tests compare on every platform).
# Usage: tests/demos/record.sh BUILD_DIR (under an X display, e.g. xvfb-run).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
out=tests/demos/menu-and-game.demo
export SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
rm -f "$out"
"$build/marvaze" --mute --record "$out" &
pid=$!
wid=""
for _ in $(seq 100); do
    wid=$(xdotool search --name '^Marvaze$' 2>/dev/null | head -n 1) && [ -n "$wid" ] && break
    sleep 0.1
done
xdotool windowfocus --sync "$wid"
sleep 6                                  # the demonstration
xdotool keydown Down; sleep 0.2; xdotool keyup Down; sleep 0.5   # the cursor to EXIT and back
xdotool keydown Up; sleep 0.2; xdotool keyup Up; sleep 0.5
xdotool keydown Return; sleep 0.2; xdotool keyup Return
# The game: guns held; now and then faster, climbing, then diving into the ground.
xdotool keydown space
for life in 1 2 3 4; do
    xdotool keydown Right; sleep 1.5; xdotool keyup Right
    xdotool keydown Up; sleep 0.6; xdotool keyup Up
    sleep 1
    xdotool keydown Down; sleep 5; xdotool keyup Down
    sleep 3
done
xdotool keyup space
# Game over brings the menu back by itself; wait for it, then leave.
sleep 12
xdotool keydown Escape; sleep 0.2; xdotool keyup Escape
wait "$pid"
ls -l "$out"
"$build/marvaze" --timedemo "$out"
