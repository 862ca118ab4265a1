#!/usr/bin/env bash
# build.sh [release|debug|sanitize|portable] [targets...] — configures once, then builds into
# build/<type>. portable: release, compiled against the Debian 11 sysroot (scripts/sysroot.sh) for
# glibc 2.31, without tests and benchmarks; what scripts/package.sh puts into dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
type=${1:-release}; shift || true
case "$type" in
  release) cmake_type=Release ;;
  debug) cmake_type=Debug ;;
  sanitize) cmake_type=Sanitize ;;
  portable) cmake_type=Release ;;
  *) echo "build.sh: unknown build type '$type' (release, debug, sanitize, portable)" >&2; exit 2 ;;
esac
dir=${CDMENU_BUILD_DIR:-build/$type}
extra=()
if [ "$type" = portable ]; then
  extra=(-DCMAKE_TOOLCHAIN_FILE=cmake/PortableToolchain.cmake -DCDMENU_SYSROOT="$(./scripts/sysroot.sh)"
    -DCDMENU_TESTS=OFF -DCDMENU_BENCH=OFF)
fi
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=$cmake_type "${extra[@]}" ${CDMENU_CMAKE_ARGS:-} >/dev/null
fi
if (($#)); then
  cmake --build "$dir" --target "$@"
else
  cmake --build "$dir"
fi
