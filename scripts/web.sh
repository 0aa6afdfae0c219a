#!/usr/bin/env bash
# Builds the browser game on Debian 12 with emscripten and packages it:
# dist/Marvaze-<version>-web.zip, a static folder (index.html, marvaze.js, marvaze.wasm,
# marvaze.data with the game's data, icon.png) that any web server can host.
# `scripts/web.sh serve [PORT]` also unpacks it into dist/ and serves it on 127.0.0.1.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh web
cmake --preset web >/dev/null
cmake --build --preset web --target marvaze
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-web/CMakeCache.txt)
name=Marvaze-$version-web
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name" dist
cp build-web/marvaze.html "$stage/$name/index.html"
cp build-web/marvaze.js build-web/marvaze.wasm build-web/marvaze.data "$stage/$name/"
cp data/icons/128.png "$stage/$name/icon.png"
rm -f "dist/$name.zip"
(cd "$stage" && zip -qr -X "$OLDPWD/dist/$name.zip" "$name")
echo "dist/$name.zip"
if [ "${1:-}" = serve ]; then
    port=${2:-8000}
    rm -rf "dist/$name"
    unzip -q "dist/$name.zip" -d dist
    # 127.0.0.1 is a secure origin: the page may use Web Locks there.
    echo "Marvaze is served at http://127.0.0.1:$port/ (Ctrl+C stops it)"
    exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory "dist/$name" "$port"
fi
