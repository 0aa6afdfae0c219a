#!/usr/bin/env bash
# Builds the Debian package on Debian 12: a Release build in build-deb/ with Debian's hardening
# flags, packaged by CPack into dist/marvaze_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh deb
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# CMake reads no CPPFLAGS: the preprocessor's flags (_FORTIFY_SOURCE) go with the compiler's.
CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS) -Wl,--as-needed"
export CFLAGS CXXFLAGS LDFLAGS
cmake --preset deb >/dev/null
cmake --build --preset deb
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-deb/CMakeCache.txt)
# A new version needs its entry in the changelog and its release in the AppStream metadata.
[ "$(dpkg-parsechangelog -l packaging/changelog -S Version)" = "$version" ] ||
    { echo "packaging/changelog has no entry for $version on top" >&2; exit 1; }
grep -q "<release version=\"$version\"" packaging/*.metainfo.xml ||
    { echo "the metainfo in packaging/ has no release $version" >&2; exit 1; }
cpack --preset deb >/dev/null
mkdir -p dist
rm -f dist/marvaze_*_amd64.deb
cp "build-deb/marvaze_${version}_amd64.deb" dist/
echo "dist/marvaze_${version}_amd64.deb"
