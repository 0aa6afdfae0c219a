#!/usr/bin/env bash
# Installs what building, playing and testing need on Debian 12 (only what is missing).
# `scripts/setup.sh windows` installs the Windows cross toolchain and Wine instead, `scripts/setup.sh
# web` emscripten and what tests the page (headless Chromium, the DevTools client), and
# `scripts/setup.sh deb` adds what making and checking the Debian package needs.
set -euo pipefail
packages=(cmake g++ make pkg-config libsdl2-dev libepoxy-dev libglm-dev libstb-dev libgtest-dev
          libbenchmark-dev libgl1-mesa-dri libegl-mesa0 libx11-dev xvfb xauth xdotool x11-utils
          xfonts-base openbox imagemagick fonts-dejavu-core clang libclang-rt-14-dev)
if [ "${1:-}" = windows ]; then
    # mingw-w64 with its posix thread model, GoogleTest's sources for the cross build, Wine (64-bit)
    # to run the result, and zip for the package.
    packages=(cmake make mingw-w64 googletest libglm-dev libstb-dev wine wine64 zip unzip)
elif [ "${1:-}" = deb ]; then
    packages+=(dpkg-dev file lintian desktop-file-utils appstream man-db)
elif [ "${1:-}" = web ]; then
    packages=(cmake make emscripten googletest libglm-dev libstb-dev zip unzip chromium
              python3-websockets imagemagick)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
