#!/usr/bin/env bash
# tidy.sh [REGEX] — clang-tidy (the repo's .clang-tidy) over every source file of the program's
# folders (or those whose path matches REGEX), through the release build's compilation database.
# Prints each finding; fails when there is one or when clang-tidy cannot process a file.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${CDMENU_BUILD_DIR:-build/release}
folders='base|gfx|platform|gui|flat|media|zip|skin|app|tools'
filter=${1:-"^$root/($folders)/.*\.cpp$"}
if [ ! -f "$build/compile_commands.json" ]; then
  ./scripts/build.sh release
fi
runner=$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)
tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
if [ -z "$runner" ] || [ -z "$tidy" ]; then
  echo "tidy: clang-tidy is not installed (scripts/setup.sh installs it)" >&2
  exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# GCC's flags that clang does not know would stop clang-tidy on those files.
sed 's/ -fno-gnu-unique//g' "$build/compile_commands.json" >"$work/compile_commands.json"
start=$(date +%s)
status=0
"$runner" -clang-tidy-binary "$tidy" -p "$work" -j "${TIDY_JOBS:-2}" -quiet "$filter" >"$work/log" 2>&1 ||
  status=$?
# The runner's exit code tells only of files that could not be processed; findings are counted from
# its output, without the colours it adds.
sed 's/\x1b\[[0-9;]*m//g' "$work/log" >"$work/plain"
findings=$(grep -E '^/.*:[0-9]+:[0-9]+: (warning|error):' "$work/plain" | sort -u || true)
echo "tidy: $(grep -c "^$tidy " "$work/plain" || true) files, $(($(date +%s) - start)) s"
if [ -n "$findings" ]; then
  echo "$findings"
  echo "tidy: $(echo "$findings" | wc -l) finding(s)"
  exit 1
fi
if [ "$status" -ne 0 ]; then
  grep -E 'error|Error' "$work/plain" | head -40
  echo "tidy: clang-tidy failed on some file" >&2
  exit 1
fi
echo "tidy: no findings"
