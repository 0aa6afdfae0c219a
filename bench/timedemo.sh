#!/usr/bin/env bash
# The committed demo timed on every ring in one run, the rings taking turns: the Linux build in an
# X window, the Windows build under Wine in the same X server, and the browser build in headless
# Chromium. Each line ends in the world's final digest, which must be the same on all three.
# Needs the three builds (scripts/play.sh or cmake --preset default, scripts/windows.sh,
# scripts/web.sh) and an X server in DISPLAY.
#
#   bench/timedemo.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
demo=tests/demos/menu-and-game.demo
[ -n "${DISPLAY:-}" ] || { echo "timedemo.sh: no DISPLAY (start Xvfb)" >&2; exit 1; }
site=$(mktemp -d)
export XDG_RUNTIME_DIR=$site
trap 'rm -rf "$site"' EXIT
unzip -q dist/Marvaze-*-web.zip -d "$site"
folder=$(ls -d "$site"/Marvaze-*-web)
cp "$demo" "$folder"
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-marvaze} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for _ in $(seq "$rounds"); do
    echo "linux   $(SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy build/marvaze --timedemo "$demo")"
    echo "wine    $(wine build-windows/marvaze.exe --timedemo "$demo" 2>/dev/null | tr -d '\r')"
    echo "browser $(/usr/bin/python3 bench/web/page_bench.py --timedemo "$folder" "$(basename "$demo")")"
done | tee "$site/runs.txt"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
# Median frames a second of each ring.
for ring in linux wine browser; do
    awk -v r="$ring" '$1 == r { for (i = 1; i <= NF; i++) if ($(i + 1) == "frames" && $(i + 2) == "a") print $i }' \
        "$site/runs.txt" | sort -g | awk -v r="$ring" '{ v[NR] = $1 } END { printf "%s: median %s frames a second\n", r, v[int((NR + 1) / 2)] }'
done
