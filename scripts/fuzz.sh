#!/usr/bin/env bash
# Fuzzes the mesh reader, the image decoding, the sound reader and the demo reader for SECONDS each (default 60). Each run replays
# the inputs that once crashed (tests/fuzz/regressions/), then fuzzes from a seed corpus: the
# game's own files and small files using every template the reader knows, with a dictionary of
# the format's words. A crash leaves its input in build-fuzz/crashes-TARGET/ and fails the run;
# copy it into tests/fuzz/regressions/TARGET/ with the fix so it stays a test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in xfile image wav demo; do
    corpus=build-fuzz/corpus-$target
    crashes=build-fuzz/crashes-$target
    mkdir -p "$corpus" "$crashes" "tests/fuzz/regressions/$target"
    options=(-max_len=65536 -rss_limit_mb=2048 -timeout=10)
    if [ "$target" = xfile ]; then
        cp data/*.x tests/fuzz/corpus/xfile/*.x "$corpus"/
        options+=(-dict=tests/fuzz/xfile.dict)
    elif [ "$target" = image ]; then
        cp data/*.png "$corpus"/
    elif [ "$target" = demo ]; then
        cp tests/fuzz/corpus/demo/* "$corpus"/
    else
        cp data/*.wav "$corpus"/
    fi
    regressions=(tests/fuzz/regressions/$target/*)
    if [ -e "${regressions[0]}" ]; then
        "build-fuzz/tests/fuzz/${target}_fuzz" "${options[@]}" "${regressions[@]}" 2>&1 | tail -n 3
    fi
    "build-fuzz/tests/fuzz/${target}_fuzz" "${options[@]}" -max_total_time="$seconds" \
        -artifact_prefix="$crashes/" -print_final_stats=1 "$corpus" \
        "tests/fuzz/regressions/$target" 2>&1 | tail -n 12
done
