#!/usr/bin/env bash
# tidy.sh [--changed | REGEX] — clang-tidy (the repo's .clang-tidy files) over every source file of
# the program's folders, the tests and the benchmarks (or those whose path matches REGEX) and the
# headers they include from those folders: through the release build's compilation database, and
# through the Windows build's for the files only Windows compiles and those with Windows-only code of
# their own (as x86_64-w64-mingw32, on mingw-w64's headers), TIDY_JOBS (default 2) at a time. Files
# whose preprocessed source, compile command and checks are unchanged take their result from the
# cache (scripts/tidy.py; TIDY_CACHE names another folder).
# Prints each finding; fails when there is one or when clang-tidy cannot process a file.
# A whole run that finds nothing on a committed tree records HEAD in .ci/tidy-base. --changed checks
# only what changed since that commit (the files and those that include a changed header,
# scripts/tidy-scope.py), or the whole tree when the base is too old to count (more than a day of
# commits behind HEAD).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${CDMENU_BUILD_DIR:-build/release}
windows=${CDMENU_WINDOWS_BUILD_DIR:-build/windows}
folders='base|gfx|platform|gui|flat|media|zip|skin|app|tools|tests|bench'
filter=${1:-"^$root/($folders)/.*\.cpp$"}
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  echo "tidy: the Windows sources need mingw-w64 (./scripts/setup.sh windows)" >&2
  exit 2
fi
# Configured only: clang-tidy needs the compile commands, not the programs. Configuring again lists
# the files added since.
configure() {
  if [ -f "$2/build.ninja" ]; then
    cmake "$2" >/dev/null
  else
    CDMENU_BUILD_DIR=$2 ./scripts/build.sh "$1" --configure
  fi
}
configure release "$build"
configure windows "$windows"
whole=0
[ $# -gt 0 ] || whole=1
if [ "${1:-}" = --changed ]; then
  scope=$(python3 scripts/tidy-scope.py "$root" "$folders" "$build" "$windows")
  first=${scope%%$'\n'*}
  if [ "${first%%:*}" = all ]; then
    echo "tidy: the whole tree (${first#all: })"
    filter="^$root/($folders)/.*\.cpp$" whole=1
  else
    files=$(tail -n +2 <<<"$scope")
    if [ -z "$files" ]; then
      echo "tidy: nothing to check: no source changed ${first#files }"
      exit 0
    fi
    echo "tidy: $(wc -l <<<"$files") files changed, include a changed header or compile otherwise ${first#files }"
    filter="^($(sed 's/[^A-Za-z0-9_/-]/\\&/g' <<<"$files" | paste -sd'|'))$"
  fi
fi
python3 scripts/tidy.py "$root" "$build" "$filter" "$folders" "$windows"
# The whole committed tree is clean: later runs with --changed start from here.
if ((whole)) && [ -z "$(git status --porcelain -- . ':!.ci/tidy-base')" ]; then
  head=$(git rev-parse HEAD)
  if [ "$(grep -v '^#' .ci/tidy-base 2>/dev/null)" != "$head" ]; then
    { grep '^#' .ci/tidy-base 2>/dev/null || true; echo "$head"; } >.ci/tidy-base.new
    mv .ci/tidy-base.new .ci/tidy-base
    echo "tidy: .ci/tidy-base moved to ${head:0:12} (commit it)"
  fi
fi
