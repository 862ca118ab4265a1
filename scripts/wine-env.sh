# wine-env.sh — sourced by the scripts that run the Windows build under Wine. Needs $work (a
# throw-away folder of the caller's): finds wine64 and wineserver, points Wine at a prefix in $work
# that never installs Mono or Gecko nor holds a crashed program in its debugger (with
# CDMENU_WINE_ARCH=win32: the 32-bit loader in a 32-bit prefix, for the i686 build), and gives
# start_xvfb [XVFB_OPTIONS...], which starts an Xvfb of 1024x768 for DISPLAY (its pid in xvfb_pid;
# the caller kills it) and fails when it does not come up.
wine_arch=${CDMENU_WINE_ARCH:-win64}
if [ "$wine_arch" = win32 ]; then
  # Debian's wine32:i386 loader; /usr/bin/wine would fall back to wine64 without it.
  wine=/usr/lib/wine/wine
else
  wine=$(command -v wine64 || true)
  [ -n "$wine" ] || wine=/usr/lib/wine/wine64
fi
server=$(command -v wineserver || true)
[ -n "$server" ] || server=/usr/lib/wine/wineserver64
export WINESERVER=$server
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEARCH=$wine_arch
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d;winedbg.exe=d"

start_xvfb() {
  local display=:$((600 + RANDOM % 300))
  Xvfb "$display" -screen 0 1024x768x24 -noreset "$@" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
  export DISPLAY=$display
  [ -e "/tmp/.X11-unix/X${display#:}" ]
}
