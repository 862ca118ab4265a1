#!/usr/bin/env bash
# fuzz.sh [SECONDS] — the CI's fuzz step: builds every libFuzzer target in the sanitizer build,
# build/sanitize (clang, ASan + UBSan, -DCDMENU_FUZZ=ON; after ./scripts/test.sh sanitize there is
# nothing left to build), and runs each from its corpus in tests/fuzz/corpus/<target>/ for SECONDS
# (default 25), two at a time. Fails on any crash, sanitizer finding, hang or leak; the inputs that
# caused them land in build/sanitize/findings/<target>/ (printed at the end). New coverage goes to
# build/sanitize/grown/<target>/, never into the kept corpus. CDMENU_FUZZ_BUILD_DIR names another
# fuzz build (a lean one, tests/fuzz/README.md).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${CDMENU_FUZZ_SECONDS:-25}}
dir=${CDMENU_FUZZ_BUILD_DIR:-build/sanitize}
start=$SECONDS

targets=()
for src in tests/fuzz/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
CDMENU_BUILD_DIR=$dir CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} \
  ./scripts/build.sh sanitize "${targets[@]/#/fuzz_}"
echo "fuzz: built ${#targets[@]} targets in $((SECONDS - start)) s"

findings=$dir/findings
rm -rf "$findings" "$dir/grown" "$dir/logs"
mkdir -p "$findings" "$dir/grown" "$dir/logs"

run_one() {
  local name=$1
  mkdir -p "$findings/$name" "$dir/grown/$name"
  if "$dir/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings/$name/" \
      "$dir/grown/$name" "tests/fuzz/corpus/$name" >"$dir/logs/$name.log" 2>&1; then
    echo "fuzz: $name: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$dir/logs/$name.log" | grep -o '[0-9]*$') runs, no finding"
  else
    echo "fuzz: $name: FAILED (log $dir/logs/$name.log):"
    grep -E 'ERROR|SUMMARY|Test unit written' "$dir/logs/$name.log" | head -5 | sed 's/^/  /'
    return 1
  fi
}
export -f run_one
export dir seconds findings

status=0
printf '%s\n' "${targets[@]}" | xargs -P 2 -I{} bash -c 'run_one {}' || status=1
echo "fuzz: $((SECONDS - start)) s in all; crash inputs (if any): $findings/"
if ((status)); then
  echo "fuzz: a target failed; fix the bug, then keep its input in tests/fuzz/corpus/<target>/" >&2
fi
exit $status
