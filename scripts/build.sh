#!/usr/bin/env bash
# build.sh [release|debug|sanitize|portable|windows|windows32] [--configure | targets...] — configures
# once, then builds into build/<type> (--configure: configures only). sanitize: clang with ASan +
# UBSan, the libraries also instrumented for libFuzzer, so that one build runs the whole suite and
# the fuzz targets (scripts/fuzz.sh); no benchmarks. portable: release, compiled
# against the Debian 11 sysroot (scripts/sysroot.sh) for glibc 2.31, without tests and benchmarks;
# what scripts/package.sh puts into dist/. windows: cross-compiled with mingw-w64 on the libraries of
# scripts/windows-deps.sh; windows32: the same for 32-bit Windows (i686).
set -euo pipefail
cd "$(dirname "$0")/.."
type=${1:-release}; shift || true
configure_only=0
if [ "${1:-}" = --configure ]; then configure_only=1; shift; fi
case "$type" in
  release) cmake_type=Release ;;
  debug) cmake_type=Debug ;;
  sanitize) cmake_type=Sanitize ;;
  portable) cmake_type=Release ;;
  windows | windows32) cmake_type=Release ;;
  *) echo "build.sh: unknown build type '$type' (release, debug, sanitize, portable, windows, windows32)" >&2; exit 2 ;;
esac
dir=${CDMENU_BUILD_DIR:-build/$type}
extra=()
if [ "$type" = sanitize ]; then
  # A folder configured with another compiler (GCC, before the fuzz targets moved here) starts afresh.
  if [ -f "$dir/CMakeCache.txt" ] && ! { grep -q '^CMAKE_CXX_COMPILER:FILEPATH=.*clang' "$dir/CMakeCache.txt" &&
    grep -q '^CDMENU_FUZZ:BOOL=ON' "$dir/CMakeCache.txt"; }; then
    rm -rf "$dir"
  fi
  export CC=clang CXX=clang++
  extra=(-DCDMENU_FUZZ=ON -DCDMENU_BENCH=OFF)
fi
if [ "$type" = portable ]; then
  extra=(-DCMAKE_TOOLCHAIN_FILE=cmake/PortableToolchain.cmake -DCDMENU_SYSROOT="$(./scripts/sysroot.sh)"
    -DCDMENU_TESTS=OFF -DCDMENU_BENCH=OFF)
fi
if [ "$type" = windows ] || [ "$type" = windows32 ]; then
  arch=x86_64
  if [ "$type" = windows32 ]; then arch=i686; fi
  prefix=$(CDMENU_WINDOWS_ARCH=$arch ./scripts/windows-deps.sh)
  # New library versions mean a new cache folder: configure afresh against it.
  if [ -f "$dir/CMakeCache.txt" ] && ! grep -qx "CDMENU_MINGW_PREFIX:PATH=$prefix" "$dir/CMakeCache.txt"; then
    rm -rf "$dir"
  fi
  # The built-in skin and the icon come from the host build's disc tool (cmake/Windows.cmake). Make
  # them first, and configure again a folder set up while they were missing: the program would
  # otherwise start without its window pictures.
  if [ ! -f build/release/generated/BuiltinSkinData.cpp ]; then
    CDMENU_BUILD_DIR='' CDMENU_CMAKE_ARGS='' ./scripts/build.sh release sampledisc
  fi
  if [ -f "$dir/build.ninja" ] && ! grep -q builtinskin "$dir/build.ninja"; then
    cmake -S . -B "$dir" >/dev/null
  fi
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-$arch.cmake \
      -DCDMENU_MINGW_PREFIX="$prefix" -DCDMENU_BENCH=OFF ${CDMENU_CMAKE_ARGS:-} >/dev/null
  fi
fi
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=$cmake_type "${extra[@]}" ${CDMENU_CMAKE_ARGS:-} >/dev/null
fi
if ((configure_only)); then
  exit 0
elif (($#)); then
  cmake --build "$dir" --target "$@"
else
  cmake --build "$dir"
fi
