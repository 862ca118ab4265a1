#!/usr/bin/env bash
# run.sh — sets up, builds and starts the menu: a window where there is a display,
# a headless preview of every page otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh release
bin=build/release/cdmenu
[ -x "$bin" ] || { echo "run.sh: the build left no $bin" >&2; exit 1; }
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin" "$@"
fi
out=build/preview
rm -rf "$out"
"$bin" --headless --preview "$out" "$@" || true
echo "run.sh: no display here; the menu was rendered headless. Pictures and report: $PWD/$out"
