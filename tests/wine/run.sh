#!/usr/bin/env bash
# The Windows build under Wine: the headless suite, the Direct3D 9 tests, the real marvaze.exe in
# an X window and, when given, the package. Usage: run.sh BUILD_WINDOWS BUILD_LINUX [ZIP]
# Needs DISPLAY (an X server; scripts/test.sh starts Xvfb). One fresh Wine prefix per run.
set -euo pipefail
windows_build=$(realpath "$1")
export LINUX_BUILD=$(realpath "$2")
zip=${3:-}
here=$(dirname "$(realpath "$0")")

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() { wineserver -k 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
# DirectSound wants a usable default ALSA device; with no sound card a null one does.
printf 'pcm.!default { type null }\n' >"$work/asound.conf"
export ALSA_CONFIG_PATH=$work/asound.conf
timed() {
    local start=$SECONDS
    "$@"
    echo "($(($SECONDS - start)) s: $*)"
}
timed wineboot -i >/dev/null 2>&1

timed wine "$windows_build/marvaze_tests.exe" --gtest_brief=1
if [ -f "$windows_build/marvaze_d3d9_tests.exe" ]; then
    timed wine "$windows_build/marvaze_d3d9_tests.exe" --gtest_brief=1
fi

export WINDOWS_EXE=$windows_build/marvaze.exe
export MARVAZE_WINE=$work/marvaze
printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$WINDOWS_EXE" >"$MARVAZE_WINE"
chmod +x "$MARVAZE_WINE"
timed bash "$here/program_test.sh"
timed bash "$here/demo_test.sh"
[ -z "$zip" ] || timed bash "$here/package_test.sh" "$(realpath "$zip")"
