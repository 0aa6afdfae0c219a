# Helpers for driving the real program in a real X window (Xvfb), with real key events.
set -u
MARVAZE=$(realpath "$1")
X11_CLOSE=$(dirname "$MARVAZE")/tests/x11_close
# The version the build says it is.
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$(dirname "$MARVAZE")/CMakeCache.txt" 2>/dev/null)
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# The window tests are about X: never let SDL fall back to a display-less driver.
export SDL_VIDEODRIVER=x11
PID=""
GAME_ARGS=()
# The game's output, and its single-instance rendezvous, private to this run: tests running beside
# each other (or beside a game someone plays) never meet.
LOG=$(mktemp)
RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR=$RUNTIME_DIR
# A failing test leaves no game behind to block the next start.
fail() {
    echo "FAIL: $*" >&2
    [ -z "$PID" ] || kill -9 "$PID" 2>/dev/null
    exit 1
}
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY: run under Xvfb (scripts/test.sh starts one)"

# Sets WID to the window of the game process PID (not some other copy's); empty when the game
# ended or no window came within twenty seconds.
look_for_window() {
    WID=""
    for _ in $(seq 200); do
        kill -0 "$PID" 2>/dev/null || return
        for w in $(xdotool search --name '^Marvaze$' 2>/dev/null); do
            [ "$(xdotool getwindowpid "$w" 2>/dev/null)" = "$PID" ] && WID=$w
        done
        [ -n "$WID" ] && return
        sleep 0.1
    done
}

find_window() {
    look_for_window
    if [ -z "$WID" ] && ! kill -0 "$PID" 2>/dev/null && grep -q 'x11 not available\|open X11 display' "$LOG"; then
        # A heavily loaded X server now and then refuses a connection; one more try.
        echo "note: the game could not reach the X server; starting it again" >&2
        "$MARVAZE" "${GAME_ARGS[@]}" >"$LOG" 2>&1 &
        PID=$!
        look_for_window
    fi
    kill -0 "$PID" 2>/dev/null || fail "the game ended at start (is another copy running?)"
    if [ -z "$WID" ]; then
        xwininfo -root -tree | grep -F '"' >&2
        cat "$LOG" >&2
        fail "no window titled Marvaze appeared for process $PID"
    fi
}

# Runs `env ARGS...` in the background (the game, with what it needs), setting PID; a start the X
# server refused (a heavily loaded one now and then does) is tried again, up to three times.
launch() {
    for _ in 1 2 3; do
        env "$@" >"$LOG" 2>&1 &
        PID=$!
        for _ in $(seq 10); do
            kill -0 "$PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -0 "$PID" 2>/dev/null && return
        grep -q 'x11 not available\|open X11 display' "$LOG" || return
        echo "note: the game could not reach the X server; starting it again" >&2
    done
}

# Starts the game in the background with the options given; sets PID and WID.
start_game() {
    GAME_ARGS=("$@")
    "$MARVAZE" "$@" >"$LOG" 2>&1 &
    PID=$!
    find_window
    xdotool windowfocus --sync "$WID" || true
    sleep 0.5
}

# In the sanitized build a leak is reported but does not change the exit status (the test
# command sets LSAN_OPTIONS=exitcode=0 and MARVAZE_SANITIZED): system libraries (Mesa, X, D-Bus)
# leak at every exit, often from code that LeakSanitizer cannot trace. A leak whose trace reaches
# the game's own code fails, as does any other sanitizer error. (A frame put down to the game's
# binary that the symbolizer cannot name is not its code: code run from memory just past the
# binary's segments, such as the software renderer's generated code, is reported under its name.)
check_sanitizer_log() {
    [ -n "${MARVAZE_SANITIZED:-}" ] || return 0
    local log="$LOG"
    if grep -q 'ERROR: AddressSanitizer\|runtime error:' "$log"; then
        cat "$log" >&2
        fail "the sanitizers found an error"
    fi
    local ours
    ours=$(awk -v source="$(pwd)/" -v binary="$MARVAZE+" '
        /^(Direct|Indirect) leak/ { report = $0; next }
        report != "" && /^$/ { report = ""; next }
        report != "" && index($0, binary) && !/ in / { next }
        report != "" { if (index($0, source) || index($0, binary)) { print report; print; report = "" } }
    ' "$log")
    [ -z "$ours" ] || fail "the game leaks: $ours"
}

# Waits for the game to end and sets STATUS to its exit status; SIGKILL after the timeout.
wait_exit() {
    local seconds=${1:-15}
    for _ in $(seq $((seconds * 10))); do
        if ! kill -0 "$PID" 2>/dev/null; then
            STATUS=0
            wait "$PID" || STATUS=$?
            check_sanitizer_log
            return
        fi
        sleep 0.1
    done
    kill -9 "$PID" 2>/dev/null
    wait "$PID" 2>/dev/null
    STATUS=timeout
}

# Sets BOX to the window titled CAPTION (xdotool cannot match UTF-8 titles; xwininfo lists
# them), waiting up to twenty seconds (a loaded machine is slow to fail a GL context); empty when
# none came.
find_box() {
    BOX=""
    for _ in $(seq 200); do
        BOX=$(xwininfo -root -tree | grep -F "\"$1\":" | awk '{print $1}' | head -n 1)
        [ -n "$BOX" ] && return
        sleep 0.1
    done
}

# Holds a key long enough for a 20-frames-a-second loop to see it.
press() {
    xdotool keydown "$1"
    sleep 0.2
    xdotool keyup "$1"
    sleep 0.3
}

# CPU ticks the game has used, and how many it uses in the next two seconds.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$PID/stat"; }
busy_for_two_seconds() { local a; a=$(cpu_ticks); sleep 2; echo $(($(cpu_ticks) - a)); }

# Minimised (which needs a window manager), nothing can be seen: the game draws nothing and
# costs far less.
expect_idle_when_minimised() {
    local shown hidden
    shown=$(busy_for_two_seconds)
    xdotool windowminimize --sync "$WID"
    sleep 0.5
    hidden=$(busy_for_two_seconds)
    echo "CPU ticks in two seconds: shown $shown, minimised $hidden"
    [ $((hidden * 3)) -lt "$shown" ] || fail "minimised it still costs $hidden ticks against $shown"
}

# Screenshots (into $SHOTS, which a test makes) and how well a data image fits the screen where
# the game draws it: the probe's mean colour difference. The Wine tests point PROBE at the Linux
# build's probe.
PROBE=$(dirname "$MARVAZE")/tests/screen_probe
DATA=$(pwd)/data
shot() { import -window "$WID" "$SHOTS/$1.png" || fail "no screenshot"; echo "$SHOTS/$1.png"; }
fit() { "$PROBE" "$1" "$DATA" "$2" "$3" "$4"; }
near() { awk -v d="$1" -v limit="$2" 'BEGIN { exit !(d < limit) }'; }
# The menu's pictures at their places on screenshot $1, the cursor on the first entry. The cursor
# frames cover a little of the entry under it, hence the looser fit there.
expect_menu_pictures() {
    near "$(fit "$1" title.png 320 50)" 20 || fail "no title at (320, 50)"
    near "$(fit "$1" gamestart.png 120 120)" 45 || fail "no GAME START at (120, 120)"
    near "$(fit "$1" gameover.png 120 170)" 45 || fail "no EXIT at (120, 170)"
    near "$(fit "$1" gameselect.png 120 120)" 20 || fail "the cursor is not on the first entry"
}
# The menu over its demonstration: the world moves between two screenshots a second apart, and
# the menu's pictures are at their places; sets MENU to the second screenshot.
expect_menu_over_demonstration() {
    local first
    first=$(shot menu-a)
    sleep 1
    MENU=$(shot menu-b)
    cmp -s "$first" "$MENU" && fail "the menu's picture did not change: no demonstration"
    expect_menu_pictures "$MENU"
}
