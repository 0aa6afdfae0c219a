# The unzipped package, started from an unrelated folder, finds the data beside the exe.
. "$(dirname "$0")/lib.sh"
zip=$1
unpacked=$(mktemp -d)
elsewhere=$(mktemp -d)
unzip -q "$zip" -d "$unpacked" || fail "cannot unzip $zip"
exe=$(find "$unpacked" -name marvaze.exe)
[ -n "$exe" ] || fail "no marvaze.exe in the package"
[ -f "$(dirname "$exe")/data/sky.x" ] || fail "no data/ beside marvaze.exe"
cd "$elsewhere"
MARVAZE=$(mktemp)
printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$exe" >"$MARVAZE"
chmod +x "$MARVAZE"
start_game
wait_picture
xwininfo -root -tree | grep -qF '"error":' && fail "the packaged game did not find its data"
near "$(fit "$(shot package)" title.png 320 50)" 20 || fail "no title: the data was not found"
activate
press Escape
wait_exit 15
[ "$STATUS" = 0 ] || fail "the packaged game ended with $STATUS"
rm -rf "$unpacked" "$elsewhere" "$MARVAZE"
echo "package test passed"
