#!/usr/bin/env bash
# test.sh [release|sanitize|windows|windows32] — sets up, builds and runs every test ("windows": the
# cross-built test programs under Wine, see test-windows.sh, then the window end to end, e2e-wine.sh;
# "windows32": the i686 build's test programs under 32-bit Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
type=${1:-release}
if [ "$type" = windows ] || [ "$type" = windows32 ]; then
  ./scripts/setup.sh windows
  # The host build makes the built-in skin and the pictures the window is compared with.
  CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} ./scripts/build.sh release cdmenu sampledisc
  CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} ./scripts/build.sh "$type"
  if [ "$type" = windows32 ]; then
    CDMENU_WINE_ARCH=win32 exec ./scripts/test-windows.sh
  fi
  rc=0
  ./scripts/test-windows.sh || rc=1
  ./scripts/e2e-wine.sh || rc=1
  exit $rc
fi
./scripts/setup.sh
if [ "$type" = sanitize ]; then export CDMENU_CMAKE_ARGS="${CDMENU_CMAKE_ARGS:-} -DCDMENU_BENCH=OFF"; fi
./scripts/build.sh "$type"
cd "${CDMENU_BUILD_DIR:-build/$type}"
ctest --output-on-failure -j"$(nproc)" --timeout 300
