#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Windows tree (build-win64) and runs its tests under wine64:
#   scripts/windows-tests.sh [PREFIX]
# PREFIX holds the Windows libraries (default /tmp/wdeps); scripts/build-windows-deps.sh builds
# them there first where they are missing. The tests run in a wine prefix of this run's own,
# made afresh and removed afterwards, so that no earlier run's settings or files play a part.
set -euo pipefail
# Wine creates windows (the dialog kit's tests) only on an X display: a virtual one where there
# is none.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a bash "$0" "$@"
fi
cd "$(dirname "$0")/.."
prefix=$(realpath -m "${1:-/tmp/wdeps}")
if [ ! -f "$prefix/lib/pkgconfig/libturbojpeg.pc" ] || [ ! -f "$prefix/bin/cjpeg.exe" ]; then
  bash scripts/build-windows-deps.sh "$prefix"
fi

export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
cmake -S . -B build-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DREELCRAFT_WERROR=ON -DREELCRAFT_CCACHE=ON -DREELCRAFT_WINDOWS_DEPS="$prefix"
cmake --build build-win64 -j 2

# Debian's wine64 package keeps its loader and server out of PATH.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all
trap '"$wineserver" -k 2> /dev/null || true; rm -rf "$WINEPREFIX"' EXIT
# Set up once, before the tests start wine two at a time. The server stays up from the start
# (until the trap ends it), so that no test meets one that is just going away.
"$wineserver" -p
"$wine" wineboot -i
# Now and then wine fails to start a program at all (a test ends in 0.01 s without a line of
# output): a failed test runs again, and only one that fails three times fails the run.
ctest --test-dir build-win64 --output-on-failure -j 2 --timeout 600 --repeat until-pass:3
