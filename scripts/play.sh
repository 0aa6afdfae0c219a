#!/usr/bin/env bash
# Sets up, builds and plays from the repository root (the game reads data/ from there).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec ./build/marvaze
