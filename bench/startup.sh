#!/usr/bin/env bash
# startup.sh [BUILD_DIR] [RUNS] — start-up of the menu on the sample disc to its first presented
# frame: headless, and on a display (Xvfb) with SDL, each compared in the same run with a minimal
# SDL2 program that opens a 640x480 window and presents one frame. Peak memory from /usr/bin/time.
#
# The menu ends after its first frame through an empty script: script commands run when the loop
# is first idle, which is after the first paint has been presented.
# Build first: ./scripts/build.sh release cdmenu sampledisc minimal_sdl
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-21}
menu=$build/cdmenu
minimal=$build/bench/minimal_sdl
disc=$build/disc
for f in "$menu" "$minimal" "$disc/Menue.dat"; do
  [ -e "$f" ] || { echo "startup.sh: $f is missing (build cdmenu, sampledisc and minimal_sdl)" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "startup.sh: /usr/bin/time is needed for peak memory" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
: > "$work/empty.script"
# No sound device in a benchmark: the audio driver's start is not the menu's.
export SDL_AUDIODRIVER=dummy

# One measurement: wall time in microseconds and peak resident memory in KiB, appended to $1.
measure() {
  local out=$1; shift
  local t0 t1
  t0=$(date +%s%N)
  /usr/bin/time -f %M -o "$work/mem" "$@" > /dev/null 2> "$work/err" || {
    echo "startup.sh: '$*' failed:" >&2; cat "$work/err" >&2; exit 1; }
  t1=$(date +%s%N)
  echo "$(( (t1 - t0) / 1000 )) $(tail -1 "$work/mem")" >> "$out"
}

# Median of column $2 of file $1.
median() { sort -n -k"$2","$2" "$1" | awk -v c="$2" '{v[NR]=$c} END {print v[int((NR+1)/2)]}'; }
peak() { sort -n -k2,2 "$1" | tail -1 | awk '{print $2}'; }

menu_args=(--data "$disc" --root "$disc" --script "$work/empty.script")

# Warm the file cache once.
"$menu" --headless "${menu_args[@]}" > /dev/null 2>&1 || true

for _ in $(seq "$runs"); do measure "$work/headless" "$menu" --headless "${menu_args[@]}"; done

have_display=
if [ -x /usr/bin/Xvfb ]; then
  display=:$(( 90 + RANDOM % 500 ))
  /usr/bin/Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
  done
  export DISPLAY=$display
  have_display=1
fi

if [ -n "$have_display" ]; then
  "$minimal" > /dev/null 2>&1 || true
  # Alternate the two so that both see the same machine load.
  for _ in $(seq "$runs"); do
    measure "$work/sdl" "$menu" "${menu_args[@]}"
    measure "$work/minimal" "$minimal"
  done
fi

ms() { awk -v u="$1" 'BEGIN {printf "%.1f ms", u / 1000}'; }
mb() { awk -v k="$1" 'BEGIN {printf "%.1f MB", k / 1024}'; }

echo "start-up to the first presented frame, median of $runs runs (sample disc: $disc)"
printf '  %-28s %12s   peak memory %s\n' "menu, headless" "$(ms "$(median "$work/headless" 1)")" \
  "$(mb "$(peak "$work/headless")")"
if [ -n "$have_display" ]; then
  sdl=$(median "$work/sdl" 1)
  min=$(median "$work/minimal" 1)
  printf '  %-28s %12s   peak memory %s\n' "menu, SDL on Xvfb" "$(ms "$sdl")" "$(mb "$(peak "$work/sdl")")"
  printf '  %-28s %12s   peak memory %s\n' "minimal SDL2 program" "$(ms "$min")" "$(mb "$(peak "$work/minimal")")"
  awk -v a="$sdl" -v b="$min" 'BEGIN {printf "  menu / minimal SDL2: %.2fx\n", a / b}'
else
  echo "  (no Xvfb: the SDL comparison was skipped)"
fi
echo "targets: headless under 50 ms; SDL within 2x of the minimal program; peak memory under 40 MB"
