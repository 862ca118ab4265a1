#!/usr/bin/env bash
# test.sh [release|sanitize] — sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
type=${1:-release}
./scripts/setup.sh
./scripts/build.sh "$type"
cd "${CDMENU_BUILD_DIR:-build/$type}"
ctest --output-on-failure -j"$(nproc)" --timeout 300
