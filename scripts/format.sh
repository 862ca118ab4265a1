#!/usr/bin/env bash
# format.sh [--check] — applies (or checks) the project's clang-format style on every source file.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.h' '*.cpp' | grep -v '^assets/' || true)
[ -n "$files" ] || exit 0
if [ "${1:-}" = "--check" ]; then
  clang-format --dry-run --Werror $files
else
  clang-format -i $files
fi
