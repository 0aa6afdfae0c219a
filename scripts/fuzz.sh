#!/usr/bin/env bash
# Fuzzes the mesh reader and the image decoding for SECONDS each (default 60), starting from the
# game's own files. A crash leaves its input in build-fuzz/ and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in xfile image; do
    corpus=build-fuzz/corpus-$target
    mkdir -p "$corpus"
    if [ "$target" = xfile ]; then cp data/*.x "$corpus"/; else cp data/*.png "$corpus"/; fi
    (cd build-fuzz && "./tests/fuzz/${target}_fuzz" -max_total_time="$seconds" -max_len=65536 \
        -rss_limit_mb=2048 -print_final_stats=1 "corpus-$target" 2>&1 | tail -n 12)
done
