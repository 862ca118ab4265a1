#!/usr/bin/env bash
# test.sh [release|sanitize] — sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
type=${1:-release}
./scripts/setup.sh
if [ "$type" = sanitize ]; then export CDMENU_CMAKE_ARGS="${CDMENU_CMAKE_ARGS:-} -DCDMENU_BENCH=OFF"; fi
./scripts/build.sh "$type"
cd "${CDMENU_BUILD_DIR:-build/$type}"
ctest --output-on-failure -j"$(nproc)" --timeout 300
