#!/usr/bin/env bash
# box-loop.sh PROGRAM DISC ROUNDS — on the X display of $DISPLAY, with no window manager: opens the
# search by keyboard, searches for a term without hits and closes the "nothing found" box with
# Enter, ROUNDS times; then copies a program into a scratch folder (the progress window comes and
# goes) and opens the search by keyboard once more; then ends the menu with Alt+F4. Fails when a step
# does not reach its next state within half a minute (a loaded machine starts slowly) or the menu
# ends early; a failure shows where the menu stood. The X server must run with -noreset: otherwise
# each xdotool that leaves as its last client resets it, and a menu connecting then finds no display.
set -u
program=$1 disc=$2 rounds=$3

"$program" --data "$disc" --root "$disc" &
pid=$!

# The menu's windows, mapped or not, and where each of its threads waits.
where() {
  local w
  for w in $(xdotool search --pid "$pid" 2>/dev/null); do
    xwininfo -id "$w" 2>/dev/null | grep -E 'Window id|Map State|Absolute upper-left|Width|Height'
  done
  grep -E '^State' "/proc/$pid/status" 2>/dev/null
  if command -v gdb >/dev/null; then
    timeout 60 gdb -p "$pid" -batch -ex 'thread apply all bt 12' 2>/dev/null | grep -E '^(Thread|#)'
  fi
}

fail() {
  echo "box-loop: $*" >&2
  kill -0 "$pid" 2>/dev/null && where >&2
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  exit 1
}

# Waits until the menu shows n windows (the menu, and the dialog or the box on top), with or without
# the box ("Information").
shows() {
  local n=$1 box=$2 shown boxes end=$((SECONDS + 30))
  while ((SECONDS < end)); do
    kill -0 "$pid" 2>/dev/null || fail "the menu ended (round $round)"
    shown=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)
    boxes=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Information$' 2>/dev/null | wc -l)
    [ "$shown" -eq "$n" ] && [ "$boxes" -eq "$box" ] && return 0
    sleep 0.02
  done
  fail "round $round: $shown windows shown ($boxes boxes) instead of $n ($box)"
}

round=0
shows 1 0
for ((round = 1; round <= rounds; round++)); do
  xdotool key ctrl+f
  shows 2 0
  xdotool type xyzzy
  xdotool key Return
  shows 2 1
  xdotool key Return
  shows 1 0
done
# The second category's first program can be copied (the window stands centred at 192,144).
round=copy
target=$(mktemp -d)/kopie
xdotool mousemove 250 327 click 1
# "Kopieren" answers once the program's page is built: clicked until the folder dialog shows.
end=$((SECONDS + 30))
until [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" -eq 2 ]; do
  ((SECONDS < end)) || fail "the folder dialog did not open"
  xdotool mousemove 674 589 click 1
  sleep 0.3
done
xdotool key ctrl+a
xdotool type "$target"
xdotool key Return
end=$((SECONDS + 30))
until [ -e "$target/pixelwerk21.zip" ]; do
  ((SECONDS < end)) || fail "nothing was copied into $target"
  sleep 0.02
done
shows 1 0
# The keyboard is still with the menu once the progress window is gone.
xdotool key ctrl+f
shows 2 0
xdotool key Escape
shows 1 0
xdotool key alt+F4
wait "$pid"
