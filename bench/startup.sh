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
# No sound device: Xvfb has none, and SDL's dummy driver would add its thread's join (one buffer,
# ~100 ms) to the process exit, which is not start-up. The menu runs on silently without audio.
export SDL_AUDIODRIVER=none

# One timing appended to $1: wall time and CPU time (user + system, all threads) in microseconds.
# perf counts exactly the program, to the microsecond; without perf, date and time's 10 ms ticks
# stand in, and then include the cost of starting /usr/bin/time itself.
use_perf=
if command -v perf > /dev/null && perf stat -x, -e duration_time,task-clock -o /dev/null true 2> /dev/null; then
  use_perf=1
fi
measure() {
  local out=$1; shift
  if [ -n "$use_perf" ]; then
    perf stat -x, -e duration_time,task-clock -o "$work/cpu" -- "$@" > /dev/null 2> "$work/err" || {
      echo "startup.sh: '$*' failed:" >&2; cat "$work/err" >&2; exit 1; }
    awk -F, '/duration_time/ {w = $1 / 1000} /task-clock/ {c = $1 * 1000} END {printf "%d %d\n", w, c}' \
      "$work/cpu" >> "$out"
  else
    local t0 t1
    t0=$(date +%s%N)
    /usr/bin/time -f '%U %S' -o "$work/mem" "$@" > /dev/null 2> "$work/err" || {
      echo "startup.sh: '$*' failed:" >&2; cat "$work/err" >&2; exit 1; }
    t1=$(date +%s%N)
    tail -1 "$work/mem" | awk -v w=$(( (t1 - t0) / 1000 )) '{printf "%d %d\n", w, ($1 + $2) * 1000000}' >> "$out"
  fi
}
# Peak resident memory in KiB appended to $1.mem, from runs of their own so that the timing runs carry
# no wrapper.
memory() {
  local out=$1; shift
  /usr/bin/time -f '%M' -o "$work/mem" "$@" > /dev/null 2>&1 || true
  tail -1 "$work/mem" >> "$out.mem"
}

source bench/startup-report.sh

menu_args=(--data "$disc" --root "$disc" --script "$work/empty.script")

# Warm the file cache once.
"$menu" --headless "${menu_args[@]}" > /dev/null 2>&1 || true

for _ in $(seq "$runs"); do measure "$work/headless" "$menu" --headless "${menu_args[@]}"; done
for _ in 1 2 3; do memory "$work/headless" "$menu" --headless "${menu_args[@]}"; done

have_display=
if [ -x /usr/bin/Xvfb ]; then
  display=:$(( 90 + RANDOM % 500 ))
  /usr/bin/Xvfb "$display" -screen 0 1024x768x24 -noreset -nolisten tcp > /dev/null 2>&1 &
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
  for _ in 1 2 3; do
    memory "$work/sdl" "$menu" "${menu_args[@]}"
    memory "$work/minimal" "$minimal"
  done
fi

echo "start-up to the first presented frame, median of $runs runs (sample disc: $disc)"
echo "  machine load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
row "menu, headless" "$work/headless"
if [ -n "$have_display" ]; then
  row "menu, SDL on Xvfb" "$work/sdl"
  row "minimal SDL2 program" "$work/minimal"
  awk -v a="$(median "$work/sdl" 1)" -v b="$(median "$work/minimal" 1)" -v c="$(median "$work/sdl" 2)" \
    -v d="$(median "$work/minimal" 2)" 'BEGIN {printf "  menu / minimal SDL2: %.2fx wall, %.2fx cpu\n", a / b, c / d}'
else
  echo "  (no Xvfb: the SDL comparison was skipped)"
fi
echo "targets: headless under 15 ms CPU and 20 MB peak memory; SDL within 2x of the minimal program"
