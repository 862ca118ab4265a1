#!/usr/bin/env bash
# windows-deps.sh — builds the libraries of the Windows program from Debian's source packages
# (FreeType, libjpeg-turbo, libpng, libzip, libdeflate, and GoogleTest from the googletest package)
# as static mingw-w64 libraries for CDMENU_WINDOWS_ARCH (x86_64, the default, or i686), into a
# cache folder outside the work tree named after their versions. Prints that folder on stdout; does nothing else when it is already complete.
# zlib is Debian's ready-made libz-mingw-w64-dev.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${CDMENU_WINDOWS_ARCH:-x86_64}
case "$arch" in
  x86_64) cache_name=mingw64 ;;
  i686) cache_name=mingw32 ;;
  *) echo "windows-deps: CDMENU_WINDOWS_ARCH must be x86_64 or i686, not '$arch'" >&2; exit 2 ;;
esac
triple=$arch-w64-mingw32
toolchain=$root/cmake/mingw-w64-$arch.cmake
cache_base=${CDMENU_DEPS_CACHE:-/var/cache/cdmenu}
jobs=${CDMENU_JOBS:-2}
# Raise when the recipe below changes in a way that changes the libraries.
recipe=1

log() { echo "windows-deps: $*" >&2; }

# name of the source package for each library, in build order
sources=(libdeflate libpng1.6 libjpeg-turbo freetype libzip)

# The versions apt would fetch, from the .dsc names (no network: the index is local); one apt run,
# as each costs seconds.
uris=$(apt-get source --print-uris -qq "${sources[@]}" 2>/dev/null || true)
src_version() {
  sed -n "s/^'[^']*' $1_\\(.*\\)\\.dsc .*/\\1/p" <<<"$uris" | head -n1
}

versions=""
for s in "${sources[@]}"; do
  v=$(src_version "$s")
  if [ -z "$v" ]; then
    log "no source package '$s' known to apt (run ./scripts/setup.sh windows)"
    exit 1
  fi
  versions+="$s=$v "
done
gtest_version=$(dpkg-query -W -f '${Version}' googletest)
zlib_version=$(dpkg-query -W -f '${Version}' libz-mingw-w64-dev)
gcc_version=$("$triple-gcc-posix" -dumpversion)
versions+="googletest=$gtest_version zlib=$zlib_version gcc=$gcc_version recipe=$recipe"
hash=$(printf '%s' "$versions" | sha256sum | cut -c1-12)
prefix=$cache_base/$cache_name-$hash

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

log "building into $prefix ($versions)"
start=$(date +%s)
# Installed straight into the final folder (the CMake and pkg-config files record it); only the
# .complete stamp makes it count, so an interrupted build is thrown away and started again.
rm -rf "$prefix"
mkdir -p "$prefix"
work=$(mktemp -d /tmp/cdmenu-windows-deps.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

cmake_cross() {  # cmake_cross SRC BUILD [options...]
  local src=$1 bld=$2
  shift 2
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCDMENU_MINGW_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_POSITION_INDEPENDENT_CODE=OFF "$@" >"$bld.configure.log" 2>&1 ||
    { cat "$bld.configure.log" >&2; return 1; }
  cmake --build "$bld" -j"$jobs" >"$bld.build.log" 2>&1 || { tail -n 60 "$bld.build.log" >&2; return 1; }
  cmake --install "$bld" >/dev/null
}

fetch() {  # fetch SOURCE-PACKAGE -> prints the unpacked folder
  apt-get source -qq "$1" >"fetch-$1.log" 2>&1 || { cat "fetch-$1.log" >&2; return 1; }
  find . -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -n1
}

# libdeflate 1.14 builds with its own Makefile, which knows the MinGW target from the compiler
# (and names the static library libdeflatestatic.lib there).
dir=$(fetch libdeflate)
log "libdeflate"
make -C "$dir" -j"$jobs" CC="$triple-gcc-posix" AR="$triple-ar" libdeflatestatic.lib \
  >libdeflate.build.log 2>&1 || { tail -n 40 libdeflate.build.log >&2; exit 1; }
install -D -m644 "$dir/libdeflatestatic.lib" "$prefix/lib/libdeflate.a"
install -D -m644 "$dir/libdeflate.h" "$prefix/include/libdeflate.h"

dir=$(fetch libpng1.6)
log "libpng"
cmake_cross "$dir" png-build -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DPNG_BUILD_ZLIB=OFF

dir=$(fetch libjpeg-turbo)
log "libjpeg-turbo"
cmake_cross "$dir" jpeg-build -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
  -DWITH_JAVA=OFF -DWITH_CRT_DLL=ON

dir=$(fetch freetype)
log "freetype"
cmake_cross "$dir" freetype-build -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_BROTLI=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON

dir=$(fetch libzip)
log "libzip"
cmake_cross "$dir" zip-build -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF \
  -DENABLE_OPENSSL=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_COMMONCRYPTO=OFF \
  -DENABLE_WINDOWS_CRYPTO=OFF -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF \
  -DBUILD_DOC=OFF

# GoogleTest: the googletest package ships its sources.
log "googletest"
cmake_cross /usr/src/googletest gtest-build -DINSTALL_GTEST=ON -DBUILD_GMOCK=ON

printf '%s\n' $versions >"$prefix/versions.txt"
touch "$prefix/.complete"
log "done in $(($(date +%s) - start)) s"
echo "$prefix"
