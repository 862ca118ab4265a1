#!/usr/bin/env bash
# test-windows.sh — runs every test program of build/windows under Wine (64-bit) in a fresh,
# throw-away Wine prefix, without a display. Prints one line per program and exits 1 when any fails.
# Run by ./scripts/test.sh windows after the build; CDMENU_BUILD_DIR overrides the build folder.
# CDMENU_WINE_ARCH=win32 runs build/windows32 under 32-bit Wine instead (./scripts/test.sh windows32).
set -euo pipefail
cd "$(dirname "$0")/.."
default_build=build/windows
[ "${CDMENU_WINE_ARCH:-win64}" != win32 ] || default_build=build/windows32
build=$(cd "${CDMENU_BUILD_DIR:-$default_build}" && pwd)

work=$(mktemp -d /tmp/cdmenu-wine-XXXXXX)
source scripts/wine-env.sh
[ -x "$wine" ] || { echo "test-windows: $wine missing (./scripts/setup.sh windows)" >&2; exit 2; }
# No window on a display.
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  "$server" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start=$(date +%s)
"$wine" wineboot --init >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }
# Windows without a display: Wine's null graphics driver (the window backend's tests make windows).
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >"$work/reg.log" 2>&1
"$server" -w
echo "test-windows: Wine prefix ($wine_arch) ready in $(($(date +%s) - start)) s"

# The fonts the tests ask for lie beside the test programs, as on a disc.
mkdir -p "$build/tests/fonts"
cp -u /usr/share/fonts/truetype/liberation/*.ttf /usr/share/fonts/truetype/dejavu/*.ttf "$build/tests/fonts/" 2>/dev/null || true

# The menu's tests start on the sample disc, which the host build makes (CDMENU_RELEASE_DIR).
release=${CDMENU_RELEASE_DIR:-build/release}
if [ -d "$release/disc" ]; then
  rm -rf "$build/disc"
  cp -r "$release/disc" "$build/disc"
else
  echo "test-windows: no sample disc in $release (./scripts/build.sh release sampledisc); test_app needs it" >&2
fi

# Wine's drive Z: is the root of the host's file system.
export CDMENU_BUILD="Z:${build//\//\\}"

failed=0
for exe in "$build"/tests/test_*.exe; do
  name=$(basename "$exe" .exe)
  log=$work/$name.log
  t0=$(date +%s)
  set +e
  (cd "$build/tests" && timeout 900 "$wine" "$exe" --gtest_brief=1 ${CDMENU_GTEST_ARGS:-}) >"$log" 2>&1
  rc=$?
  set -e
  # Wine's console ends lines with CR LF.
  passed=$(tr -d '\r' <"$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?.*/\1/p' | tail -n1)
  # --gtest_brief prints no summary of failures: each failed test has one line with its time.
  failing=$(tr -d '\r' <"$log" | grep -cE '^\[  FAILED  \] .* \([0-9]+ ms\)$' || true)
  echo "test-windows: $name: exit $rc, ${passed:-0} passed, ${failing:-0} failed ($(($(date +%s) - t0)) s)"
  if [ "$rc" -ne 0 ]; then
    failed=1
    grep -E '^\[  FAILED  \]|Failure|error' "$log" | head -n 40
    mkdir -p "$build/test-logs" && cp "$log" "$build/test-logs/"
  fi
done
echo "test-windows: $(($(date +%s) - start)) s in all"
exit $failed
