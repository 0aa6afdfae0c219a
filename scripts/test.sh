#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build (with the real-window tests under Xvfb),
# the Debian package (installed on this machine and removed again), the Windows build under Wine,
# the browser build (under node and in headless Chromium), and a build with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

xvfb_pid=""
cleanup() { [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    for n in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
    done
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=$display
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default

# The Debian package: built, checked with Debian's tools, installed, played and removed.
scripts/deb.sh
tests/deb/run.sh dist/marvaze_*_amd64.deb build

# The Windows build: cross-built and packaged, then the headless suite, the Direct3D 9 tests, the
# real marvaze.exe and the unzipped package under Wine on the same X server.
scripts/windows.sh
cmake --build --preset windows
tests/wine/run.sh build-windows build dist/Marvaze-*-windows-x64.zip

# The browser build: packaged, the headless suite under node, then the unpacked page in headless
# Chromium, its frame compared with the normal build's on the same X server.
scripts/web.sh
cmake --build --preset web
ctest --preset web
site=$(mktemp -d)
unzip -q dist/Marvaze-*-web.zip -d "$site"
timeout 600 /usr/bin/python3 tests/web/page_test.py "$site"/Marvaze-*-web build
rm -rf "$site"

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize

# The file readers on the same fuzzed inputs at every run; scripts/fuzz.sh SECONDS hunts for more.
scripts/fuzz.sh --runs 50000
