#!/usr/bin/env bash
# startup-wine.sh [WINDOWS_BUILD] [RUNS] — start-up of cdmenu.exe on the sample disc to its first
# presented frame under Wine on Xvfb, against bench/minimal_win32.exe (a Win32 program presenting
# one 640x480 frame) in the same run, alternating. Medians of wall and CPU time, peak memory.
#
# The menu ends after its first frame through an empty script, as in bench/startup.sh. One
# wineserver is kept running for all runs, so each run pays for starting a Windows process, not
# for starting Wine's server; a console program's whole run (cmd /c exit) is shown as Wine's floor.
# Build first: ./scripts/build.sh release cdmenu sampledisc && ./scripts/build.sh windows
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/windows}" && pwd)
runs=${2:-15}
disc=$(cd "${CDMENU_HOST_BUILD:-build/release}/disc" && pwd)
menu=$build/cdmenu.exe
minimal=$build/bench/minimal_win32.exe
for f in "$menu" "$minimal" "$disc/Menue.dat" /usr/bin/time /usr/bin/Xvfb; do
  [ -e "$f" ] || { echo "startup-wine: $f is missing" >&2; exit 2; }
done
work=$(mktemp -d /tmp/cdmenu-bench-wine-XXXXXX)
source scripts/wine-env.sh
xvfb_pid=
cleanup() {
  "$server" -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_xvfb || { echo "startup-wine: Xvfb did not start" >&2; exit 1; }
"$wine" wineboot --init >"$work/wineboot.log" 2>&1
# Without a window manager Wine waits about two seconds at every managed window's end for one to
# answer; windows Wine places itself end at once, as they do on Windows.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >"$work/reg.log" 2>&1
# No sound device here (as in bench/startup.sh): no audio driver, rather than ALSA's failed probes.
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >>"$work/reg.log" 2>&1
"$server" -w
"$server" -p  # stays up between the runs

mkdir -p "$work/fonts"
cp /usr/share/fonts/truetype/liberation/*.ttf /usr/share/fonts/truetype/dejavu/*.ttf "$work/fonts/"
: >"$work/empty.script"
winpath() { echo "Z:${1//\//\\}"; }
menu_args=(--data "$(winpath "$disc")" --root "$(winpath "$disc")" --fonts "$(winpath "$work/fonts")"
  --script "$(winpath "$work/empty.script")")

# One run appended to $1: wall time and CPU time (user + system) in microseconds; its peak resident
# memory in KiB to $1.mem.
measure() {
  local out=$1 t0 t1; shift
  t0=$(date +%s%N)
  /usr/bin/time -f '%U %S %M' -o "$work/time" "$wine" "$@" >/dev/null 2>"$work/err" || {
    echo "startup-wine: '$*' failed:" >&2; grep -v '^ALSA' "$work/err" >&2; exit 1; }
  t1=$(date +%s%N)
  tail -1 "$work/time" | awk -v w=$(((t1 - t0) / 1000)) '{printf "%d %d\n", w, ($1 + $2) * 1000000}' >>"$out"
  tail -1 "$work/time" | awk '{print $3}' >>"$out.mem"
}
source bench/startup-report.sh

# Warm the file cache and Wine's own DLLs once each.
measure "$work/warm" "$menu" "${menu_args[@]}"
measure "$work/warm" "$minimal"
for _ in $(seq "$runs"); do
  measure "$work/menu" "$menu" "${menu_args[@]}"
  measure "$work/minimal" "$minimal"
  measure "$work/console" cmd /c exit
done

echo "start-up to the first presented frame under $("$wine" --version) on Xvfb, median of $runs runs"
echo "  machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
row "cdmenu.exe" "$work/menu"
row "minimal Win32 program" "$work/minimal"
row "Wine's floor: cmd /c exit" "$work/console"
awk -v a="$(median "$work/menu" 1)" -v b="$(median "$work/minimal" 1)" -v c="$(median "$work/menu" 2)" \
  -v d="$(median "$work/minimal" 2)" 'BEGIN {printf "  cdmenu.exe / minimal: %.2fx wall, %.2fx cpu\n", a / b, c / d}'
echo "target: within 2x of the minimal program"
