#!/usr/bin/env bash
# The browser build's figures, in one run: the package's sizes raw and gzipped, the world's work
# under node against the native build (alternating), the start to the first frame in headless
# Chromium, and the captured frame on WebGL 2 against the native OpenGL device (both software
# renderers here: SwiftShader and llvmpipe).
#
#   bench/web/run.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-3}
scripts/web.sh >/dev/null
cmake --build --preset web --target world_steps frame_replay >/dev/null
cmake --preset default >/dev/null
cmake --build --preset default --target world_steps frame_replay >/dev/null
site=$(mktemp -d)
trap 'rm -rf "$site"' EXIT
zip=$(ls dist/Marvaze-*-web.zip)
unzip -q "$zip" -d "$site"
folder=$(ls -d "$site"/Marvaze-*-web)

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "sizes (bytes, raw and gzip -9):"
total=0
for file in "$folder"/*; do
    raw=$(stat -c %s "$file")
    packed=$(gzip -9 -c "$file" | wc -c)
    total=$((total + packed))
    printf '  %-14s %8d %8d\n' "$(basename "$file")" "$raw" "$packed"
done
printf '  %-14s %8s %8d\n' "all, gzipped" "" "$total"
printf '  %-14s %8d\n' "$(basename "$zip")" "$(stat -c %s "$zip")"

echo "the world, median microseconds a frame (native, then node), $rounds rounds:"
for _ in $(seq "$rounds"); do
    build/bench/world_steps | sed 's/^/  native /'
    node build-web/world_steps.js | sed 's/^/  node   /'
done | tee "$site/world.txt"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for count in 230 2000; do
    native=$(awk -v n="$count" '$1 == "native" && $3 == n { print $5 }' "$site/world.txt" | median)
    node=$(awk -v n="$count" '$1 == "node" && $3 == n { print $5 }' "$site/world.txt" | median)
    awk -v n="$count" -v a="$native" -v b="$node" \
        'BEGIN { printf "  %d objects: node/native %.2f (%.1f against %.1f us)\n", n, b / a, b, a }'
done

echo "the captured frame on the native OpenGL device:"
for _ in $(seq "$rounds"); do
    SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy build/bench/frame_replay 60 | sed 's/^/  /'
done
/usr/bin/python3 bench/web/page_bench.py "$folder" build-web 7
