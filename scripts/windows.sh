#!/usr/bin/env bash
# Cross-builds the Windows game on Debian 12 and packages it:
# dist/Marvaze-<version>-windows-x64.zip with marvaze.exe, data/ and a README.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh windows
cmake --preset windows >/dev/null
cmake --build --preset windows --target marvaze
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
name=Marvaze-$version-windows-x64
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name/data" dist
cp build-windows/marvaze.exe "$stage/$name/"
# The icon is in the exe (data/icons/ are the Linux desktop's); the game reads the rest.
find data -maxdepth 1 -type f ! -name marvaze.ico -exec cp {} "$stage/$name/data/" \;
cat >"$stage/$name/README.txt" <<TEXT
Marvaze $version for Windows (7 or later, 64-bit)

Double-click marvaze.exe. Keep the data folder beside it: the game reads its pictures from there.
Nothing needs installing, and the game writes nothing.

Menu: Up/Down or W/S choose, Enter or Space confirm, Escape quits.
Flying: arrow keys steer and change speed, Space fires, Escape returns to the menu.
F11 switches between the window and the full screen.
TEXT
sed -i 's/$/\r/' "$stage/$name/README.txt"
rm -f "dist/$name.zip"
(cd "$stage" && zip -qr -X "$OLDPWD/dist/$name.zip" "$name")
echo "dist/$name.zip"
