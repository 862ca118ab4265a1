#!/usr/bin/env bash
# package.sh — builds dist/, what goes onto a disc: the cdmenu program and libunpack32.so, lib/ with
# the shared libraries a desktop may lack (SDL2 and what it and libunpack32.so load; the menu opens
# SDL2 from lib/ when the system has none, libunpack32.so finds the rest through $ORIGIN/lib), fonts/
# with Liberation and DejaVu (read by path before fontconfig), and autorun.sh. The programs come from
# the portable build (build.sh portable: against a Debian 11 sysroot) and lib/ from that sysroot, so
# that dist/ runs with glibc 2.31 or later; every file is checked for that. CDMENU_PACKAGE_BUILD=release
# packs this machine's release build and libraries instead (runs only where its glibc does).
# A Windows build in build/windows (or $CDMENU_WINDOWS_BUILD) adds cdmenu.exe and UNPACK32.DLL.
set -euo pipefail
cd "$(dirname "$0")/.."
type=${CDMENU_PACKAGE_BUILD:-portable}
case "$type" in
  portable | release) ;;
  *) echo "package: CDMENU_PACKAGE_BUILD must be portable or release, not '$type'" >&2; exit 2 ;;
esac
build=${CDMENU_BUILD_DIR:-build/$type}
CDMENU_BUILD_DIR=$build ./scripts/build.sh "$type" cdmenu unpack32
glibc_max=2.31
if [ "$type" = portable ]; then
  sysroot=$(./scripts/sysroot.sh)
  # The sysroot's loader resolves what the programs need among the sysroot's libraries (its own
  # SDL in usr/local first), as a Debian 11 system would.
  searchpath=$sysroot/usr/local/lib:$sysroot/usr/lib/x86_64-linux-gnu
  libdir=$sysroot/usr/lib/x86_64-linux-gnu
  needs() { "$sysroot/lib64/ld-linux-x86-64.so.2" --library-path "$searchpath" --list "$1"; }
  find_lib() { for d in $sysroot/usr/local/lib "$libdir"; do [ -e "$d/$1" ] && echo "$d/$1" && return; done; true; }
  sdl_hint="remake the sysroot: scripts/sysroot.sh"
else
  libdir=$(dirname "$(/sbin/ldconfig -p | awk '$1 == "libSDL2-2.0.so.0" && /x86-64/ {print $NF; exit}')")
  sdl_hint="install libsdl2-2.0-0"
  needs() { ldd "$1"; }
  find_lib() { [ -e "$libdir/$1" ] && echo "$libdir/$1"; true; }
fi
dist=dist
rm -rf "$dist"
mkdir -p "$dist/lib" "$dist/fonts"

install -m 755 "$build/cdmenu" "$dist/cdmenu"
install -m 644 "$build/libunpack32.so" "$dist/libunpack32.so"
install -m 755 tools/discimage/autorun.sh "$dist/autorun.sh"
strip --strip-unneeded "$dist/cdmenu" "$dist/libunpack32.so"

# glibc and the loader belong to the system; everything else the programs load comes along.
system_lib() {
  case "$(basename "$1")" in
    ld-linux*.so* | libc.so.* | libm.so.* | libpthread.so.* | libdl.so.* | librt.so.* | libresolv.so.* | \
      libutil.so.* | libanl.so.* | libmvec.so.*) return 0 ;;
  esac
  return 1
}
# The menu opens SDL2 at run time (the system's first, else this copy), and SDL opens its display
# and input libraries at run time: a desktop has them, a bare system not.
dlopened=(libSDL2-2.0.so.0 libX11.so.6 libX11-xcb.so.1 libXext.so.6 libXcursor.so.1 libXi.so.6 libXfixes.so.3 libXrandr.so.2
  libXss.so.1 libXrender.so.1 libxkbcommon.so.0 libwayland-client.so.0 libwayland-cursor.so.0
  libwayland-egl.so.1 libdecor-0.so.0)
[ -n "$(find_lib libSDL2-2.0.so.0)" ] || { echo "package: libSDL2-2.0.so.0 not found ($sdl_hint)" >&2; exit 1; }
roots=("$dist/cdmenu" "$dist/libunpack32.so")
for l in "${dlopened[@]}"; do
  f=$(find_lib "$l")
  if [ -n "$f" ]; then roots+=("$f"); fi
done
for f in "${roots[@]}"; do
  case "$f" in "$dist"/*) ;; *) system_lib "$f" || cp -L "$f" "$dist/lib/" ;; esac
  needs "$f" | awk '$2 == "=>" && $3 ~ /^\// {print $3}' | while read -r dep; do
    system_lib "$dep" || cp -L "$dep" "$dist/lib/"
  done
done
chmod 644 "$dist"/lib/*
[ "$type" = release ] || [ ! -e "$dist/lib/libstdc++.so.6" ] ||
  { echo "package: the portable build must link the C++ runtime statically" >&2; exit 1; }
patchelf --set-rpath '$ORIGIN/lib' "$dist/libunpack32.so"
# A run path on the program would put lib/ before the system when it opens SDL2; it gets one only
# when it links shared libraries that are not the system's (a build without CDMENU_STATIC_DEPS).
if needs "$dist/cdmenu" | awk '$2 == "=>" && $3 ~ /^\// {print $3}' | while read -r dep; do
  system_lib "$dep" || echo "$dep"
done | grep -q .; then
  patchelf --set-rpath '$ORIGIN/lib' "$dist/cdmenu"
else
  patchelf --remove-rpath "$dist/cdmenu"
fi
for l in "$dist"/lib/*; do patchelf --set-rpath '$ORIGIN' "$l"; done

# The faces the windows use (Arial and MS Sans Serif as Liberation Sans, Verdana as DejaVu Sans, no
# italics): the menu opens every font of the folder at start, and each file costs a slow drive a seek.
fonts=(/usr/share/fonts/truetype/liberation/LiberationSans-{Regular,Bold}.ttf
  /usr/share/fonts/truetype/dejavu/DejaVuSans{,-Bold}.ttf)
for f in "${fonts[@]}"; do
  if [ -e "$f" ]; then install -m 644 "$f" "$dist/fonts/"; fi
done
install -m 644 /usr/share/doc/fonts-liberation/copyright "$dist/fonts/LICENSE-Liberation.txt"
install -m 644 /usr/share/doc/fonts-dejavu-core/copyright "$dist/fonts/LICENSE-DejaVu.txt"

win=${CDMENU_WINDOWS_BUILD:-build/windows}
for f in cdmenu.exe UNPACK32.DLL; do
  if [ -e "$win/$f" ]; then install -m 755 "$win/$f" "$dist/$f"; fi
done

# Self-contained: with an empty environment every program and library finds all it needs.
missing=0
for f in "$dist/cdmenu" "$dist/libunpack32.so" "$dist"/lib/*; do
  if env -i /usr/bin/ldd "$f" | grep -q "not found"; then
    echo "package: $f: $(env -i /usr/bin/ldd "$f" | grep "not found" | tr -s ' \t' ' ')" >&2
    missing=1
  fi
done
[ "$missing" = 0 ] || exit 1
# The glibc each file needs: the newest symbol version it asks for.
newest_glibc() { objdump -T "$1" | { grep -o 'GLIBC_[0-9.]*' || true; } | sort -uV | tail -1; }
too_new=0
for f in "$dist/cdmenu" "$dist/libunpack32.so" "$dist"/lib/*; do
  v=$(newest_glibc "$f")
  if [ -n "$v" ] && [ "$(printf '%s\n' "${v#GLIBC_}" "$glibc_max" | sort -V | tail -1)" != "$glibc_max" ]; then
    [ "$type" = release ] ||
      echo "package: $f needs $v: $(objdump -T "$f" | grep -E "GLIBC_${v#GLIBC_}[^.0-9]" | awk '{print $NF}' | xargs)" >&2
    too_new=1
  fi
done
if [ "$too_new" = 1 ]; then
  if [ "$type" = portable ]; then
    echo "package: FAILED: dist/ must run with glibc $glibc_max; the files above need a newer one" >&2
    exit 1
  fi
  echo "package: warning: the release build's dist/ needs a newer glibc than $glibc_max" >&2
fi
glibc=$(for f in "$dist/cdmenu" "$dist/libunpack32.so" "$dist"/lib/*; do newest_glibc "$f"; done | sort -uV | tail -1)
echo "package: $dist ($type build): $(du -sh "$dist" | cut -f1), $(ls "$dist/lib" | wc -l) libraries, needs ${glibc/_/ } or later"
