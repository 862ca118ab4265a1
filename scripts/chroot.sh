#!/usr/bin/env bash
# chroot.sh SUITE — prints the path of a bare Debian SUITE (debootstrap minbase: no -dev packages, no
# fonts), making it first if it is missing. Kept under $CDMENU_CHROOT_CACHE (default
# /var/cache/cdmenu), one folder per version key, and made by one process at a time. check-portable.sh
# starts the packaged disc in it; sysroot.sh starts the Debian 11 sysroot from a copy of it. Needs root
# to make it.
set -euo pipefail
suite=$1
version=$suite-minbase-1
cache=${CDMENU_CHROOT_CACHE:-/var/cache/cdmenu}
root=$cache/chroot-$version
if [ ! -x "$root/bin/sh" ]; then
  mkdir -p "$cache"
  exec 9>"$cache/.chroot-$version.lock"
  flock 9
  if [ ! -x "$root/bin/sh" ]; then
    log=$(mktemp /tmp/cdmenu-chroot-XXXXXX.log)
    rm -rf "$root.new"
    echo "chroot: making $root (once)" >&2
    debootstrap --variant=minbase "$suite" "$root.new" http://deb.debian.org/debian >"$log" 2>&1 ||
      { tail -20 "$log" >&2; exit 1; }
    rm -f "$log"
    mv "$root.new" "$root"
  fi
fi
echo "$root"
