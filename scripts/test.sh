#!/usr/bin/env bash
# test.sh [release|sanitize|windows] — sets up, builds and runs every test ("windows": the
# cross-built test programs under Wine, see test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
type=${1:-release}
if [ "$type" = windows ]; then
  ./scripts/setup.sh windows
  CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} ./scripts/build.sh windows
  exec ./scripts/test-windows.sh
fi
./scripts/setup.sh
if [ "$type" = sanitize ]; then export CDMENU_CMAKE_ARGS="${CDMENU_CMAKE_ARGS:-} -DCDMENU_BENCH=OFF"; fi
./scripts/build.sh "$type"
cd "${CDMENU_BUILD_DIR:-build/$type}"
ctest --output-on-failure -j"$(nproc)" --timeout 300
