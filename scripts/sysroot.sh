#!/usr/bin/env bash
# sysroot.sh — prints the path of the Debian 11 (bullseye, glibc 2.31) sysroot that the portable
# build compiles against, making it first if it is missing: a copy of the bare Debian 11 that
# check-portable.sh runs the disc in (scripts/chroot.sh: one debootstrap for both) plus the -dev
# packages the menu links, and SDL 2.26 (the menu needs 2.0.22 or later; Debian 11 has 2.0.14)
# built there from Debian 12's source package into usr/local, opening X11, Wayland and the sound
# servers at run time as Debian's own does. Kept under $CDMENU_CHROOT_CACHE (default /var/cache/cdmenu), one folder
# per version key, so that CI makes it once. Needs root to make it.
set -euo pipefail
version=bullseye-1
cache=${CDMENU_CHROOT_CACHE:-/var/cache/cdmenu}
root=$cache/sysroot-$version
packages=(libc6-dev libfreetype-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev
  libfontconfig-dev libexpat1-dev libbrotli-dev libbz2-dev libzip-dev libdeflate-dev
  libsdl2-dev build-essential dpkg-dev wayland-protocols libwayland-bin)
sdl=2.26.5+dfsg-1
if [ ! -e "$root/.complete" ]; then
  base=$(CDMENU_CHROOT_CACHE=$cache "$(dirname "$0")/chroot.sh" bullseye)
  exec 9>"$cache/.sysroot-$version.lock"
  flock 9
fi
if [ ! -e "$root/.complete" ]; then
  log=$(mktemp /tmp/cdmenu-sysroot-XXXXXX.log)
  rm -rf "$root.new"
  mkdir -p "$root.new"
  echo "sysroot: making $root (once)" >&2
  {
    # Not what check runs mount or leave there for the moment.
    tar -C "$base" --one-file-system --exclude='./check-*' -cf - . | tar -C "$root.new" -xpf - &&
      chroot "$root.new" apt-get update -q &&
      chroot "$root.new" /usr/bin/env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
        --no-install-recommends "${packages[@]}" &&
      echo 'deb-src http://deb.debian.org/debian bookworm main' >"$root.new/etc/apt/sources.list.d/sdl-src.list" &&
      chroot "$root.new" apt-get update -q &&
      chroot "$root.new" /bin/sh -ec "mkdir -p /usr/src/sdl2; cd /usr/src/sdl2; apt-get source -q libsdl2=$sdl
        cd libsdl2-*/; ./configure --prefix=/usr/local --disable-static --enable-x11-shared \
          --enable-wayland-shared --enable-pulseaudio-shared --enable-alsa-shared
        make -j$(nproc); make install; strip --strip-unneeded /usr/local/lib/libSDL2-2.0.so.0.*
        cd /; rm -rf /usr/src/sdl2" &&
      chroot "$root.new" apt-get clean
  } >"$log" 2>&1 || { tail -30 "$log" >&2; exit 1; }
  rm -f "$log"
  # Libraries' .so links that point to absolute paths would leave the sysroot when the linker
  # follows them from outside; make them relative.
  find "$root.new/usr/lib" "$root.new/usr/lib64" -type l -lname '/*' | while read -r l; do
    ln -sfn "$(realpath -m --relative-to="$(dirname "$l")" "$root.new$(readlink "$l")")" "$l"
  done
  touch "$root.new/.complete"
  mv "$root.new" "$root"
fi
echo "$root"
