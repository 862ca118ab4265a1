#!/usr/bin/env bash
# build.sh [release|debug|sanitize] [targets...] — configures once, then builds into build/<type>.
set -euo pipefail
cd "$(dirname "$0")/.."
type=${1:-release}; shift || true
case "$type" in
  release) cmake_type=Release ;;
  debug) cmake_type=Debug ;;
  sanitize) cmake_type=Sanitize ;;
  *) echo "build.sh: unknown build type '$type' (release, debug, sanitize)" >&2; exit 2 ;;
esac
dir=${CDMENU_BUILD_DIR:-build/$type}
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=$cmake_type ${CDMENU_CMAKE_ARGS:-} >/dev/null
fi
if (($#)); then
  cmake --build "$dir" --target "$@"
else
  cmake --build "$dir"
fi
