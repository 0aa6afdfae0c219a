#!/usr/bin/env bash
# The Debian package: its files checked with Debian's own tools, then the package installed on
# this machine, the game started from elsewhere, and the package removed without a trace.
# Usage: run.sh DEB LINUX_BUILD (for screen_probe). Needs root or sudo, and DISPLAY.
# Whether it passes or fails, it leaves the machine as it found it.
set -o pipefail
deb=$(realpath "$1")
linux_build=$(realpath "$2")
cd "$(dirname "$0")/../.." || exit 1
source_tree=$(pwd -P)
. tests/window/lib.sh /usr/games/marvaze
PROBE=$linux_build/tests/screen_probe
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
# Waits for another apt or dpkg to finish rather than failing on its lock.
apt() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=300 "$@"; }

work=$(mktemp -d)
SHOTS=$work/shots
mkdir "$SHOTS" "$work/elsewhere"
installed=""
cleanup() {
    [ -z "$PID" ] || kill -9 "$PID" 2>/dev/null
    [ -z "$installed" ] || apt purge marvaze >/dev/null 2>&1
    rm -rf "$work" "$LOG" "$RUNTIME_DIR"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Lintian finds no error and no warning; what it reports at the info level is printed.
lintian --fail-on error,warning --display-info "$deb" >"$work/lintian" 2>&1
status=$?
grep -v 'root privileges' "$work/lintian"
[ "$status" = 0 ] || fail "lintian found errors or warnings"

dpkg-deb -x "$deb" "$work/root" || fail "cannot unpack $deb"
out=$(desktop-file-validate "$work/root/usr/share/applications/marvaze.desktop" 2>&1) ||
    fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net --pedantic "$work"/root/usr/share/metainfo/*.metainfo.xml 2>&1)
echo "$out" | grep -q 'Validation was successful\.$' || fail "appstreamcli: $out"
page=$work/root/usr/share/man/man6/marvaze.6.gz
LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" \
    >/dev/null 2>"$work/man" || fail "man cannot render the page"
[ ! -s "$work/man" ] || fail "man warns: $(cat "$work/man")"

# Installing brings in nothing but the package (every library it needs is here already), so
# removing it takes away all that the test put on the machine.
state=$(dpkg-query -W -f='${db:Status-Status}' marvaze 2>/dev/null)
[ -z "$state" ] || [ "$state" = not-installed ] ||
    fail "marvaze is $state here already; remove it before running this test"
others=$(apt-get install -s "$deb" 2>/dev/null | grep '^Inst ' | grep -v '^Inst marvaze ')
[ -z "$others" ] || fail "installing the package would install more: $others"
# What of the package's paths is on disk beforehand (/usr/share/icons/hicolor, say).
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\.||; s|/$||' | grep . >"$work/paths"
while read -r path; do [ -e "$path" ] && echo "$path"; done <"$work/paths" >"$work/before"

installed=yes
apt install "$deb" >"$work/apt" 2>&1 || fail "apt-get install: $(cat "$work/apt")"
dpkg -L marvaze | grep -vx '/\.' >"$work/listed" || fail "dpkg knows no marvaze after installing it"

version=$(dpkg-deb -f "$deb" Version)
out=$(cd / && PATH=/usr/games:$PATH marvaze --version 2>&1)
[ "$out" = "Marvaze $version" ] || fail "marvaze --version from / printed '$out'"
# The manual page says every option the program's help lists.
man "$page" 2>/dev/null | col -b >"$work/page"
options=$("$MARVAZE" --help | grep -o -- '--[a-z]*')
[ -n "$options" ] || fail "marvaze --help lists no options"
for option in $options; do
    grep -q -- "$option" "$work/page" || fail "the manual page does not say $option"
done

# Started from an unrelated folder it plays from the installed data: the menu over the
# demonstration, and Escape ends it with 0.
cd "$work/elsewhere" || fail "no folder to start from"
start_game
[ "$(readlink "/proc/$PID/cwd")" = /usr/share/games/marvaze ] ||
    fail "the game reads its data from $(readlink "/proc/$PID/cwd"), not the installed folder"
sleep 1
expect_menu_over_demonstration
press Escape
wait_exit 10
[ "$STATUS" = 0 ] || fail "Escape on the menu ended the installed game with $STATUS"
# From the top of the source tree it still prefers the data/ there.
cd "$source_tree" || fail "cannot return to the source tree"
start_game
[ "$(readlink "/proc/$PID/cwd")" = "$source_tree" ] ||
    fail "started in the source tree it did not read the data/ there"
press Escape
wait_exit 10
[ "$STATUS" = 0 ] || fail "the installed game started in the source tree ended with $STATUS"

apt remove marvaze >"$work/apt" 2>&1 || fail "apt-get remove: $(cat "$work/apt")"
left=$(while read -r path; do
    [ -e "$path" ] && ! grep -qxF "$path" "$work/before" && echo "$path"
done <"$work/listed")
[ -z "$left" ] || fail "left behind after removal: $left"
installed=""
echo "Debian package test passed ($(wc -l <"$work/listed") paths installed and removed)"
