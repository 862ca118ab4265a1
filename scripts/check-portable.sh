#!/usr/bin/env bash
# check-portable.sh — proves that the disc runs on a bare system: packages dist/, writes the sample
# disc's image with discimage, unpacks it into minimal Debian 12 and Debian 11 systems (debootstrap
# minbase: no -dev packages, no fonts; Debian 11 has the oldest glibc dist/ supports, 2.31) and
# starts the menu in each through autorun.sh with an empty environment, headless (--preview must be
# clean) and on this machine's Xvfb (a screenshot of the start page). Needs root for the chroots;
# they are cached under $CDMENU_CHROOT_CACHE (default /var/cache/cdmenu), one per version key
# (scripts/chroot.sh). --prepare makes only what the check downloads (the chroots, the sysroot of
# the portable build; mostly waiting on the network), so that CI can have it done while it builds.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --prepare ]; then
  ./scripts/chroot.sh bullseye >/dev/null
  ./scripts/sysroot.sh >/dev/null
  ./scripts/chroot.sh bookworm >/dev/null
  exit 0
fi
build=${CDMENU_BUILD_DIR:-build/release}
./scripts/package.sh
# The image tool and the sample disc come from this machine's build.
CDMENU_BUILD_DIR=$build ./scripts/build.sh release discimage sampledisc

work=$(mktemp -d /tmp/cdmenu-portable-XXXXXX)
xvfb_pid=
root=
unmount() {
  if [ -n "$root" ]; then
    umount "$root/tmp/.X11-unix" 2>/dev/null || true
    umount "$root/proc" 2>/dev/null || true
    rm -rf "${root:?}$run"
  fi
}
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  unmount
  rm -rf "$work"
}
trap cleanup EXIT

"$build/discimage" "$build/disc" "$work/softbox.iso"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
mkdir -p "$build/portable"
# Each run has its own folder in the chroots, which other checks may be using at the same time.
run=/check-$$

# check_in SUITE: the disc in a minbase chroot of SUITE.
check_in() {
  local suite=$1
  root=$(./scripts/chroot.sh "$suite")
  if ls "$root"/usr/share/fonts 2>/dev/null | grep -q .; then
    echo "check-portable: the $suite chroot has fonts installed; it must not" >&2
    exit 1
  fi
  echo "check-portable: $suite: $(chroot "$root" /usr/bin/ldd --version | head -1)"

  rm -rf "${root:?}$run"
  osirrox -indev "$work/softbox.iso" -extract / "$root$run/disc" 2>"$work/osirrox.log" ||
    { cat "$work/osirrox.log"; exit 1; }
  mkdir -p "$root$run/out" "$root/proc" "$root/tmp/.X11-unix"
  mount -t proc proc "$root/proc"

  echo "check-portable: $suite: headless preview in the chroot"
  chroot "$root" /usr/bin/env -i $run/disc/autorun.sh --headless --preview $run/out/preview
  grep -q "No problems found." "$root$run/out/preview/report.txt" || { cat "$root$run/out/preview/report.txt"; exit 1; }

  echo "check-portable: $suite: the menu on Xvfb, started in the chroot"
  mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  printf 'wait 300\nscreenshot %s\nexpect-visible bRubrik2\nclick bBeenden2\n' $run/out/start.png >"$root$run/out/script.txt"
  chroot "$root" /usr/bin/env -i DISPLAY="$display" SDL_AUDIODRIVER=dummy $run/disc/autorun.sh --script $run/out/script.txt
  # The picture on the display matches the headless start page outside the banner place.
  python3 scripts/compare-png.py "$root$run/out/start.png" "$root$run/out/preview/00 Startseite.png" 0.9
  cp "$root$run/out/start.png" "$build/portable/chroot-$suite-xvfb-start.png"
  cp "$root$run/out/preview/report.txt" "$build/portable/chroot-$suite-report.txt"
  unmount
  root=
}
check_in bookworm
check_in bullseye
echo "check-portable: passed (pictures in $build/portable)"
