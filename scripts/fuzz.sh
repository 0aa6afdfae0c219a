#!/usr/bin/env bash
# Fuzzes the mesh reader, the image decoding, the sound reader and the demo reader, each in turn.
#   scripts/fuzz.sh [SECONDS]  hunts for SECONDS each (default 60) from a random seed, growing a
#                              corpus in build-fuzz/corpus-TARGET/ from one run to the next.
#   scripts/fuzz.sh --runs N   tries N inputs each from a fixed seed and reads no corpus folder: the
#                              same commit gives the same verdict every time (the test command).
# Both first replay the inputs that once crashed (tests/fuzz/regressions/TARGET/), then fuzz from
# them and the seeds: the game's own files and small files using every template the reader knows,
# with a dictionary of the format's words. A crash leaves its input in build-fuzz/crashes-TARGET/
# and fails the run; copy it into tests/fuzz/regressions/TARGET/ with the fix so it stays a test.
set -euo pipefail
cd "$(dirname "$0")/.."
# The seeds' order is part of what a fixed seed fixes: sort names the same way everywhere.
export LC_ALL=C
runs=""
seconds=60
if [ "${1:-}" = --runs ]; then
    runs=${2:?"--runs needs a number"}
else
    seconds=${1:-60}
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# Runs the fuzzer with its output kept in build-fuzz/TARGET.log: the last lines when it passes,
# the report without the progress lines when it fails.
fuzz() {
    local log=build-fuzz/$target.log
    if "build-fuzz/tests/fuzz/${target}_fuzz" "$@" >"$log" 2>&1; then
        grep -E "DONE|^Done |^Executed " "$log" | tail -n 2
        return
    fi
    grep -v '^#[0-9]' "$log" | tail -n 60
    echo "fuzz: $target failed; its input is in build-fuzz/crashes-$target/" >&2
    return 1
}

for target in xfile image wav demo; do
    crashes=build-fuzz/crashes-$target
    mkdir -p "$crashes" "tests/fuzz/regressions/$target"
    # A reader that asks for more than 256 MB at once for an input of 64 KB fails at that call,
    # whatever the timing.
    options=(-max_len=65536 -malloc_limit_mb=256 -rss_limit_mb=2048 -timeout=10
        -artifact_prefix="$crashes/")
    case $target in
        xfile) seeds=(data/*.x tests/fuzz/corpus/xfile/*.x) options+=(-dict=tests/fuzz/xfile.dict) ;;
        image) seeds=(data/*.png tests/fuzz/corpus/image/*.png) ;;
        wav) seeds=(data/*.wav) ;;
        demo) seeds=(tests/fuzz/corpus/demo/*.demo) ;;
    esac
    regressions=("tests/fuzz/regressions/$target"/*)
    if [ -e "${regressions[0]}" ]; then
        echo "== $target: ${#regressions[@]} regressions"
        fuzz "${options[@]}" "${regressions[@]}"
    else
        regressions=()
    fi
    if [ -n "$runs" ]; then
        echo "== $target: $runs inputs from seed 1"
        # Seeds named in order, no corpus folder read or written, no reloading on a timer, and no
        # hints from the values the readers compare (some are heap addresses, which move from run
        # to run): nothing but the seed decides which inputs are tried.
        inputs=("${seeds[@]}" "${regressions[@]}")
        fuzz "${options[@]}" -seed=1 -runs="$runs" -reload=0 -use_cmp=0 -use_memmem=0 \
            -seed_inputs="$(IFS=,; echo "${inputs[*]}")"
    else
        echo "== $target: $seconds seconds"
        corpus=build-fuzz/corpus-$target
        mkdir -p "$corpus"
        cp "${seeds[@]}" "$corpus"/
        fuzz "${options[@]}" -max_total_time="$seconds" "$corpus" "tests/fuzz/regressions/$target"
    fi
done
