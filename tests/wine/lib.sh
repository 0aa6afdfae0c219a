# Driving marvaze.exe under Wine in a real X window, with the Linux window tests' helpers. Set by
# tests/wine/run.sh: WINEPREFIX (made once per run), MARVAZE_WINE (a script that starts the exe
# under Wine) and LINUX_BUILD (the Linux build, for screen_probe and x11_close).
. "$(dirname "${BASH_SOURCE[0]}")/../window/lib.sh" "$MARVAZE_WINE"
X11_CLOSE=$LINUX_BUILD/tests/x11_close
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$LINUX_BUILD/CMakeCache.txt")
PROBE=$LINUX_BUILD/tests/screen_probe

# Wine makes its window the Windows foreground window on a click, not on an X focus change, and
# the game reads its keys only while it is in front.
activate() {
    xdotool mousemove --window "$WID" 320 240 click 1
    sleep 0.3
}
# Answers the box BOX with a click, which makes it Windows' foreground window, and Return. Wine
# lists the box's X window before it maps it, and maps it a moment before the box takes input:
# waits for it to show, then tries again until it is gone.
box_shown() { xwininfo -id "$BOX" 2>/dev/null | grep -q IsViewable; }
answer_box() {
    for _ in $(seq 100); do box_shown && break; sleep 0.1; done
    for _ in $(seq 5); do
        box_shown || return
        xdotool mousemove --window "$BOX" 10 10 click 1
        sleep 0.3
        xdotool key Return
        for _ in $(seq 20); do box_shown || return; sleep 0.1; done
    done
    fail "the box stayed"
}
# The window appears seconds before Wine's Direct3D draws into it: waits up to thirty seconds for
# a picture that is not all black.
wait_picture() {
    for _ in $(seq 30); do
        import -window "$WID" "$SHOTS/first.png" 2>/dev/null &&
            [ "$(convert "$SHOTS/first.png" -format '%[fx:mean > 0.05]' info:)" = 1 ] && return
        sleep 1
    done
    fail "the window stayed black"
}
# An ImageMagick fx expression over a region WxH+X+Y of a screenshot.
region() { convert "$1" -crop "$2" +repage -format "$3" info:; }
SHOTS=$(mktemp -d)
trap 'rm -rf "$SHOTS"' EXIT
