#!/usr/bin/env bash
# tidy.sh [REGEX] — clang-tidy (the repo's .clang-tidy) over every source file of the program's
# folders (or those whose path matches REGEX) and the headers they include from those folders,
# through the release build's compilation database, TIDY_JOBS (default 2) at a time. Files whose
# preprocessed source, compile command and checks are unchanged take their result from the cache
# (scripts/tidy.py; TIDY_CACHE names another folder).
# Prints each finding; fails when there is one or when clang-tidy cannot process a file.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${CDMENU_BUILD_DIR:-build/release}
folders='base|gfx|platform|gui|flat|media|zip|skin|app|tools'
filter=${1:-"^$root/($folders)/.*\.cpp$"}
if [ ! -f "$build/build.ninja" ]; then
  ./scripts/build.sh release
else
  # The database must list every file of this tree, also those added since the last build.
  cmake "$build" >/dev/null
fi
exec python3 scripts/tidy.py "$root" "$build" "$filter" "$folders"
