#!/usr/bin/env bash
# check-parity.sh — the Windows program under Wine and the Linux program draw the sample disc alike:
# both render every page with `--headless --preview`, taking their fonts from the same folder
# (--fonts), and every page must have the same pixels (the PNG bytes may differ with the encoder).
# Needs build/release (with its sample disc) and build/windows; CDMENU_RELEASE_DIR and
# CDMENU_BUILD_DIR name others. Exits 1 on any difference, listing the pages.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=$(cd "${CDMENU_RELEASE_DIR:-build/release}" && pwd)
windows=$(cd "${CDMENU_BUILD_DIR:-build/windows}" && pwd)
for f in "$linux/cdmenu" "$linux/disc/Menue.dat" "$windows/cdmenu.exe" "$windows/fonts"; do
  [ -e "$f" ] || { echo "check-parity: $f missing (./scripts/build.sh release; ./scripts/build.sh windows)" >&2; exit 2; }
done

work=$(mktemp -d /tmp/cdmenu-parity-XXXXXX)
source scripts/wine-env.sh
[ -x "$wine" ] || { echo "check-parity: wine64 missing (./scripts/setup.sh windows)" >&2; exit 2; }
cleanup() {
  "$server" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

rm -rf "$windows/parity"
# One disc and one fonts folder for both programs.
cp -r "$linux/disc" "$work/disc"
fonts=$windows/fonts
winpath() { echo "Z:${1//\//\\}"; }

start=$(date +%s)
(unset DISPLAY WAYLAND_DISPLAY
  "$linux/cdmenu" --headless --data "$work/disc" --root "$work/disc" --fonts "$fonts" --preview "$work/linux") \
  >"$work/linux.log" 2>&1 || { cat "$work/linux.log" >&2; exit 1; }
(unset DISPLAY WAYLAND_DISPLAY
  "$wine" wineboot --init >"$work/wineboot.log" 2>&1
  "$wine" "$windows/cdmenu.exe" --headless --data "$(winpath "$work/disc")" --root "$(winpath "$work/disc")" \
    --fonts "$(winpath "$fonts")" --preview "$(winpath "$work/windows")") \
  >"$work/windows.log" 2>&1 || { cat "$work/windows.log" >&2; exit 1; }

# Byte-equal files need no look; the others are compared by their pixels.
pages=0 differences=0
while IFS= read -r -d '' page; do
  name=$(basename "$page")
  pages=$((pages + 1))
  other=$work/windows/$name
  if [ ! -f "$other" ]; then
    echo "check-parity: only in the Linux preview: $name"
    differences=$((differences + 1))
  elif ! cmp -s "$page" "$other"; then
    if ! python3 scripts/compare-png.py "$page" "$other" 1.0 >"$work/compare.log" 2>&1; then
      echo "check-parity: differs: $name ($(cat "$work/compare.log"))"
      mkdir -p "$windows/parity" && cp "$page" "$windows/parity/linux-$name" && cp "$other" "$windows/parity/windows-$name"
      differences=$((differences + 1))
    fi
  fi
done < <(find "$work/linux" -maxdepth 1 -name '*.png' -print0 | sort -z)
extra=$(comm -13 <(ls "$work/linux" | grep '\.png$' | sort) <(ls "$work/windows" | grep '\.png$' | sort))
if [ -n "$extra" ]; then
  echo "check-parity: only in the Windows preview: $extra"
  differences=$((differences + 1))
fi
echo "check-parity: $pages pages, $differences differing ($(($(date +%s) - start)) s; differing pages in $windows/parity)"
[ "$pages" -gt 0 ] && [ "$differences" -eq 0 ]
