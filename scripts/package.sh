#!/usr/bin/env bash
# Builds the Debian package build/package/kolviplayer_<version>_amd64.deb
# with CPack's DEB generator and checks it with lintian, which must report
# no errors. The build is build/release, as scripts/run.sh makes it (or
# another build folder given as the one argument).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build/release}
out="$top/build/package"
"$top/scripts/install-deps.sh" --package
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLVI_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target kolviplayer kolvi_webengine kolvi_lyrics_module kolvi_icons kolvi_docs
rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" || { cat "$out/cpack.log"; exit 1; }
rm -rf "$out/_CPack_Packages"
deb=$(ls "$out"/kolviplayer_*_amd64.deb)
echo "Package: $deb"
dpkg-deb --field "$deb" Depends Recommends
echo "lintian:"
lintian --fail-on error "$deb"
