#!/usr/bin/env bash
# e2e-wine.sh — cdmenu.exe's real Win32 window under Wine on Xvfb, driven by xdotool on the sample
# disc: the window is frameless (exactly 640x480, the root shows right beside it), it follows a drag
# on the skin, a click on a category shows its list, a double click on the thumbnail opens the
# full-screen view, and Escape and a click close it. The screenshots are compared with the Linux
# build's headless pictures of the same pages (same fonts), apart from the rotating banner. Then a
# skin window shaped by a Mask2 outline (tests/shaped_window.exe): its shape, its drag, and a click
# in a cut corner that passes it by. Last, the menu again with the desktop at 150 % (LogPixels 144).
# Needs build/windows/cdmenu.exe and build/release (cdmenu, sampledisc); run by ./scripts/test.sh windows.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${CDMENU_BUILD_DIR:-build/windows}" && pwd)
host=$(cd "${CDMENU_HOST_BUILD:-build/release}" && pwd)
for f in "$build/cdmenu.exe" "$build/tests/shaped_window.exe" "$host/cdmenu" "$host/disc/Menue.dat"; do
  [ -e "$f" ] || { echo "e2e-wine: $f is missing (./scripts/build.sh release cdmenu sampledisc; ./scripts/build.sh windows)" >&2; exit 2; }
done
for t in Xvfb xdotool xwininfo import convert; do
  command -v $t >/dev/null || { echo "e2e-wine: $t missing (./scripts/setup.sh)" >&2; exit 2; }
done
work=$(mktemp -d /tmp/cdmenu-e2e-wine-XXXXXX)
source scripts/wine-env.sh
unset WAYLAND_DISPLAY
xvfb_pid=
cleanup() {
  "$server" -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
start=$(date +%s)
fail() {
  echo "e2e-wine: FAILED: $*" >&2
  mkdir -p "$build/test-logs"
  cp "$work"/*.png "$work"/*.log "$build/test-logs/" 2>/dev/null || true
  echo "e2e-wine: 0 passed, 1 failed"
  exit 1
}

# A black root (-br), so that any pixel outside our windows is known.
start_xvfb -br || fail "Xvfb did not start"

"$wine" wineboot --init >"$work/wineboot.log" 2>&1 || fail "wineboot"
"$server" -w
echo "e2e-wine: Wine prefix ready in $(($(date +%s) - start)) s ($("$wine" --version))"

# Both builds draw with the same faces, from one folder.
mkdir -p "$work/fonts"
cp /usr/share/fonts/truetype/liberation/*.ttf /usr/share/fonts/truetype/dejavu/*.ttf "$work/fonts/"
winpath() { echo "Z:${1//\//\\}"; }

# ---- helpers ------------------------------------------------------------------------------------
# poll TIMEOUT_S WHAT COMMAND...: runs COMMAND until it succeeds, or fails the test.
poll() {
  local timeout=$1 what=$2; shift 2
  local end=$(($(date +%s) + timeout))
  until "$@"; do
    [ "$(date +%s)" -lt "$end" ] || fail "$what (no change within $timeout s)"
    sleep 0.1
  done
}
shot() { import -window root "$work/$1.png"; }
# pixel FILE X Y -> "r g b"
pixel() { convert "$work/$1.png" -crop "1x1+$2+$3" +repage -depth 8 rgb:- | od -An -tu1 | xargs; }
# The window's picture out of a screenshot at its current place.
crop_window() { convert "$work/$1.png" -crop "640x480+$wx+$wy" +repage "$work/$2.png"; }
# same_page SHOT REF MIN: equal outside the banner place (it rotates on a timer).
same_page() {
  for f in "$1" "$2"; do
    convert "$work/$f.png" -fill black -draw "rectangle 10,390 190,470" "$work/$f-masked.png"
  done
  python3 scripts/compare-png.py "$work/$1-masked.png" "$work/$2-masked.png" "$3" >"$work/compare.log" 2>&1 ||
    fail "$1 differs from the Linux picture $2: $(cat "$work/compare.log")"
  echo "e2e-wine:   $1 vs $2: $(cat "$work/compare.log")"
}
geometry() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
}
mapped() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
# The full-screen view: a viewable window of the menu covering the screen.
find_view() {
  view=
  for w in $(xdotool search --class cdmenu.exe 2>/dev/null); do
    if mapped "$w" && xwininfo -id "$w" | grep -q 'Width: 1024' && xwininfo -id "$w" | grep -q 'Height: 768'; then
      view=$w
      return 0
    fi
  done
  return 1
}
view_gone() { ! mapped "$view"; }
pixel_is() { shot poll; [ "$(pixel poll "$1" "$2")" = "$3" ]; }

# ---- the Linux pictures of the same pages ---------------------------------------------------------
disc=$host/disc
printf '%s\n' "screenshot $work/ref-start.png" 'click 80 162' "screenshot $work/ref-list.png" >"$work/ref.script"
"$host/cdmenu" --headless --data "$disc" --root "$disc" --fonts "$work/fonts" --script "$work/ref.script" \
  >"$work/ref.log" 2>&1 || fail "the Linux reference run: $(cat "$work/ref.log")"

# ---- start ------------------------------------------------------------------------------------------
t0=$(date +%s)
"$wine" "$build/cdmenu.exe" --data "$(winpath "$disc")" --root "$(winpath "$disc")" --fonts "$(winpath "$work/fonts")" \
  >"$work/menu.log" 2>&1 &
menu_pid=$!
main=
find_main() { main=$(xdotool search --onlyvisible --class cdmenu.exe 2>/dev/null | head -n1) && [ -n "$main" ]; }
poll 60 "the menu's window appears" find_main
geometry
# The first paint: the skin's top-left pixel as the Linux picture has it.
want=$(pixel ref-start 0 0)
poll 20 "the first frame is painted" pixel_is "$wx" "$wy" "$want"
echo "e2e-wine: window up after $(($(date +%s) - t0)) s at $wx,$wy"

# ---- frameless -------------------------------------------------------------------------------------
[ "$ww" = 640 ] && [ "$wh" = 480 ] || fail "the window is ${ww}x$wh, not 640x480"
# No frame of the window manager's or Wine's: the X window sits straight on the root.
parent=$(xwininfo -children -id "$main" | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
[ "$parent" = "$root" ] || fail "the window has a frame (parent $parent)"
shot start
crop_window start win-start
# The skin reaches each corner of the 640x480 rectangle, and the root shows right outside it.
for p in "0 0" "639 0" "0 479" "639 479"; do
  set -- $p
  [ "$(pixel win-start "$1" "$2")" = "$(pixel ref-start "$1" "$2")" ] || fail "skin corner $1,$2"
done
for p in "$((wx - 1)) $wy" "$wx $((wy - 1))" "$((wx + 640)) $((wy + 479))" "$((wx + 639)) $((wy + 480))"; do
  set -- $p
  [ "$(pixel start "$1" "$2")" = "0 0 0" ] || fail "pixel $1,$2 outside the window is not the root's"
done
same_page win-start ref-start 0.999
echo "e2e-wine: ok: frameless 640x480, skin to the edges, root beside it"

# drag X0 Y0: presses the left button at X0,Y0 and moves it by 120,60 in five steps. The first step
# waits until the window has followed it: a loaded machine may enter the system's move loop after
# the rest of the steps, and a release seen before that loop is a click, not a drag.
drag() {
  local x0=$1 y0=$2 sx=$wx sy=$wy
  xdotool mousemove "$x0" "$y0" mousedown 1 mousemove "$((x0 + 24))" "$((y0 + 12))"
  first_step() { geometry; [ "$wx" = $((sx + 24)) ] && [ "$wy" = $((sy + 12)) ]; }
  poll 10 "the window follows the first step of the drag" first_step
  for i in 2 3 4 5; do xdotool mousemove "$((x0 + i * 24))" "$((y0 + i * 12))"; done
  xdotool mouseup 1
}

# ---- dragged by the skin ----------------------------------------------------------------------------
# A point of the bare skin in the title bar, right of the title.
ox=$wx oy=$wy
drag $((wx + 420)) $((wy + 10))
moved() { geometry; [ "$wx" = $((ox + 120)) ] && [ "$wy" = $((oy + 60)) ]; }
poll 10 "the window follows the drag by 120,60" moved
# The picture went along: the skin's corner is at the new place, the old corner shows the root.
poll 10 "the window is painted at its new place" pixel_is "$wx" "$wy" "$want"
[ "$(pixel poll "$ox" "$oy")" = "0 0 0" ] || fail "the old place of the window still shows it"
echo "e2e-wine: ok: dragged by the skin from $ox,$oy to $wx,$wy"

# ---- a category shows its list ------------------------------------------------------------------------
xdotool mousemove "$((wx + 80))" "$((wy + 162))" click 1
# The list heading's bar.
hx=100 hy=137
want_list=$(pixel ref-list $hx $hy)
[ "$want_list" != "$(pixel ref-start $hx $hy)" ] || fail "the reference pages do not differ at $hx,$hy"
poll 10 "the category's list appears" pixel_is $((wx + hx)) $((wy + hy)) "$want_list"
# Paints may still be on their way: compare once the whole page has arrived.
list_done() {
  shot list
  crop_window list win-list
  convert "$work/win-list.png" -fill black -draw "rectangle 10,390 190,470" "$work/a.png"
  convert "$work/ref-list.png" -fill black -draw "rectangle 10,390 190,470" "$work/b.png"
  python3 scripts/compare-png.py "$work/a.png" "$work/b.png" 0.999 >/dev/null 2>&1
}
poll 10 "the program page matches the Linux picture" list_done
same_page win-list ref-list 0.999
echo "e2e-wine: ok: a click on the first category shows its list and the first program's page"

# ---- full-screen view: a double click opens it, Escape closes it -----------------------------------
open_view() {
  xdotool mousemove "$((wx + 345))" "$((wy + 150))" click --repeat 2 --delay 80 1
  poll 20 "a double click on the thumbnail opens the full-screen view" find_view
  # Black around the picture, the picture in the middle.
  poll 10 "the full-screen view is painted" pixel_is 4 4 "0 0 0"
  [ "$(pixel poll 1019 763)" = "0 0 0" ] || fail "the full-screen view is not black at its corner"
  local colours
  colours=$(convert "$work/poll.png" -crop 600x400+212+150 +repage -format %k info:)
  [ "$colours" -gt 50 ] || fail "no screenshot in the full-screen view ($colours colours)"
}
open_view
xdotool key Escape
poll 20 "Escape closes the full-screen view" view_gone
# The key went to the view only: the program page is still open behind it.
poll 10 "the program page shows again" list_done
echo "e2e-wine: ok: double click opens the full-screen view, Escape closes it"

open_view
xdotool mousemove 60 700 click 1
poll 20 "a click closes the full-screen view" view_gone
poll 10 "the program page shows again" list_done
echo "e2e-wine: ok: a click closes the full-screen view"

xdotool mousemove "$((wx + 320))" "$((wy + 240))" key alt+F4
ended() { ! kill -0 "$menu_pid" 2>/dev/null; }
poll 20 "Alt+F4 ends the menu" ended

# ---- shaped: a skin window whose outline comes from a Mask2 block --------------------------------
# The menu's window is a plain rectangle; tests/wine/shaped_window.cpp reads an outline as a shaped
# skin's form would: teal 640x480 with its four corners cut 40 pixels square.
"$wine" "$build/tests/shaped_window.exe" >"$work/shaped.log" 2>&1 &
shaped_pid=$!
find_shaped() { main=$(xdotool search --onlyvisible --name '^cdmenu-shaped' 2>/dev/null | head -n1) && [ -n "$main" ]; }
# The title counts the presses that reached the skin.
presses_are() { [ "$(xdotool getwindowname "$main" 2>/dev/null)" = "cdmenu-shaped $1" ]; }
poll 60 "the shaped window appears" find_shaped
geometry
teal="0 128 128"
poll 20 "the shaped window is painted" pixel_is $((wx + 320)) $((wy + 240)) "$teal"
# outline SHOT: the skin inside the outline up to its edges, the root in the cut corners.
outline() {
  local name=$1 p
  shot "$name"
  for p in "320 240" "40 0" "599 0" "0 40" "639 40" "0 439" "639 439" "40 479" "599 479" "40 39" "39 40"; do
    set -- $p
    [ "$(pixel "$name" $((wx + $1)) $((wy + $2)))" = "$teal" ] || { echo "$1,$2 is not the skin" >"$work/outline.log"; return 1; }
  done
  for p in "0 0" "39 39" "600 0" "639 39" "0 440" "39 479" "600 479" "639 440"; do
    set -- $p
    [ "$(pixel "$name" $((wx + $1)) $((wy + $2)))" = "0 0 0" ] || { echo "$1,$2 is not the root" >"$work/outline.log"; return 1; }
  done
}
poll 10 "the window has its outline" outline shaped
echo "e2e-wine: ok: the outline from Mask2 is the window's shape (skin to its edges, root in the cut corners)"
# Dragged by the skin, the outline goes along.
ox=$wx oy=$wy
drag $((wx + 320)) $((wy + 240))
poll 10 "the shaped window follows the drag by 120,60" moved
poll 10 "the outline is at the new place" outline shaped-moved
# A click in a cut corner passes the window by; one on the skin reaches it. Right clicks: a left
# press on the skin is the system's move loop when the window still finds the button down, and
# whether it does after a quick click depends on when Wine reads the release.
xdotool mousemove "$((wx + 5))" "$((wy + 5))" click 3
xdotool mousemove "$((wx + 320))" "$((wy + 240))" click 3
poll 10 "the click on the skin reaches it" presses_are 1
xdotool key Escape
shaped_ended() { ! kill -0 "$shaped_pid" 2>/dev/null; }
poll 20 "Escape closes the shaped window" shaped_ended
wait "$shaped_pid" || fail "shaped_window.exe failed: $(cat "$work/shaped.log")"
presses=$(tr -d '\r' <"$work/shaped.log" | sed -n 's/^presses //p')
[ "$presses" = 1 ] || fail "the skin got ${presses:-no} presses, not 1 (the click on it): $(cat "$work/shaped.log")"
echo "e2e-wine: ok: dragged by its skin; a click in a cut corner does not reach it"

# ---- at 150 %: LogPixels 144 --------------------------------------------------------------------
# The window opens at 960x720 with the picture the Linux build draws at 1.5, and a click at the
# scaled place of the first category reaches it.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >"$work/reg.log" 2>&1 ||
  fail "setting LogPixels: $(cat "$work/reg.log")"
"$server" -w
printf '%s\n' "screenshot $work/ref15-start.png" 'click 80 162' "screenshot $work/ref15-list.png" >"$work/ref15.script"
"$host/cdmenu" --headless --scale 1.5 --data "$disc" --root "$disc" --fonts "$work/fonts" --script "$work/ref15.script" \
  >"$work/ref15.log" 2>&1 || fail "the Linux reference run at 1.5: $(cat "$work/ref15.log")"
"$wine" "$build/cdmenu.exe" --data "$(winpath "$disc")" --root "$(winpath "$disc")" --fonts "$(winpath "$work/fonts")" \
  >"$work/menu15.log" 2>&1 &
menu_pid=$!
poll 60 "the menu's window appears at 150 %" find_main
geometry
[ "$ww" = 960 ] && [ "$wh" = 720 ] || fail "at 150 % the window is ${ww}x$wh, not 960x720"
# scaled_page SHOT REF: the window's picture equals the Linux one at 1.5 outside the banner.
scaled_page() {
  shot "$1"
  convert "$work/$1.png" -crop "960x720+$wx+$wy" +repage -fill black -draw "rectangle 15,585 285,705" "$work/a.png"
  convert "$work/$2.png" -fill black -draw "rectangle 15,585 285,705" "$work/b.png"
  python3 scripts/compare-png.py "$work/a.png" "$work/b.png" 0.999 >"$work/compare.log" 2>&1
}
poll 20 "the first frame at 150 % is the Linux picture at 1.5" scaled_page win15-start ref15-start
xdotool mousemove "$((wx + 120))" "$((wy + 243))" click 1
poll 20 "a click at 150 % shows the category's page as at 1.5" scaled_page win15-list ref15-list
echo "e2e-wine: ok: at 150 % the window is 960x720, drawn as the Linux build draws it, and clicks land ($(cat "$work/compare.log"))"
xdotool mousemove "$((wx + 480))" "$((wy + 360))" key alt+F4
poll 20 "Alt+F4 ends the menu" ended

# The Mask2 outline at 1.5: the skin to the scaled edges, the root in the corners cut 60 pixels.
"$wine" "$build/tests/shaped_window.exe" 1.5 >"$work/shaped15.log" 2>&1 &
shaped_pid=$!
poll 60 "the shaped window appears at 1.5" find_shaped
geometry
[ "$ww" = 960 ] && [ "$wh" = 720 ] || fail "at 1.5 the shaped window is ${ww}x$wh, not 960x720"
outline15() {
  local p
  shot shaped15
  for p in "480 360" "60 0" "899 0" "0 60" "959 60" "0 659" "959 659" "60 719" "899 719"; do
    set -- $p
    [ "$(pixel shaped15 $((wx + $1)) $((wy + $2)))" = "$teal" ] || { echo "$1,$2 is not the skin" >"$work/outline.log"; return 1; }
  done
  for p in "0 0" "59 59" "900 0" "959 59" "0 660" "59 719" "900 719" "959 660"; do
    set -- $p
    [ "$(pixel shaped15 $((wx + $1)) $((wy + $2)))" = "0 0 0" ] || { echo "$1,$2 is not the root" >"$work/outline.log"; return 1; }
  done
}
poll 10 "the outline at 1.5 is the window's shape" outline15
xdotool mousemove "$((wx + 480))" "$((wy + 360))" key Escape
poll 20 "Escape closes the shaped window at 1.5" shaped_ended
echo "e2e-wine: ok: at 150 % the Mask2 outline scales with the window (skin to its scaled edges, root in the cut corners)"
echo "e2e-wine: $(($(date +%s) - start)) s in all"
echo "e2e-wine: 1 passed, 0 failed"
