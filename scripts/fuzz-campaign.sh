#!/usr/bin/env bash
# fuzz-campaign.sh [TARGET...] — a long fuzzing campaign on the targets built by fuzz.sh, one job
# at a time at the lowest priority, in turns of CDMENU_CAMPAIGN_TURN seconds (default 600) per
# target, until each has run CDMENU_CAMPAIGN_GOAL executions (default 10 million). The targets are
# those of CDMENU_FUZZ_BUILD_DIR (default build/sanitize, the CI's ASan build); for throughput point it at
# a lean build (tests/fuzz/README.md) and pass libFuzzer flags in CDMENU_CAMPAIGN_FLAGS.
# Corpus: build/campaign/corpus/<target>/ (seeded from tests/fuzz/corpus/); logs, crash inputs and
# the table STATUS.md in CDMENU_CAMPAIGN_DIR (default /var/tmp/fuzz-campaign). Merge the grown corpus
# back with -merge=1 (see tests/fuzz/README.md).
set -uo pipefail
# nice alone does not hold the campaign back where the kernel weighs sessions against each other
# (autogroup): run in a session of its own and lower that session's weight too.
if [ -z "${CDMENU_CAMPAIGN_SESSION:-}" ] && command -v setsid >/dev/null; then
  CDMENU_CAMPAIGN_SESSION=1 exec setsid --wait "$0" "$@"
fi
echo 19 >/proc/self/autogroup 2>/dev/null || true
cd "$(dirname "$0")/.." || exit 1
build=${CDMENU_FUZZ_BUILD_DIR:-build/sanitize}
out=${CDMENU_CAMPAIGN_DIR:-/var/tmp/fuzz-campaign}
turn=${CDMENU_CAMPAIGN_TURN:-600}
goal=${CDMENU_CAMPAIGN_GOAL:-10000000}
read -r -a flags <<<"${CDMENU_CAMPAIGN_FLAGS:-}"
# Without a sanitizer allocator, glibc hands each large image buffer back to the kernel and faults
# it in again on the next input: half the time went to the kernel. Keep freed memory instead.
export GLIBC_TUNABLES=${GLIBC_TUNABLES:-glibc.malloc.mmap_threshold=268435456:glibc.malloc.trim_threshold=1073741824:glibc.malloc.top_pad=67108864}
mkdir -p "$out/findings"
targets=("$@")
if ((${#targets[@]} == 0)); then
  for src in tests/fuzz/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi

# Totals per target live in $out/<target>.total: executions, last cov, last ft.
table() {
  {
    echo "# Fuzz campaign (updated $(date -u '+%Y-%m-%d %H:%M UTC'))"
    echo
    echo "| target | executions | cov | ft | corpus files | findings |"
    echo "|---|---:|---:|---:|---:|---:|"
    for t in "${targets[@]}"; do
      read -r runs cov ft 2>/dev/null <"$out/$t.total" || { runs=0; cov=-; ft=-; }
      local files found
      files=$(find "build/campaign/corpus/$t" -type f 2>/dev/null | wc -l)
      # Slow units are no findings: a campaign stopped (SIGSTOP) while the machine is needed
      # reports the unit it was in as slow; a unit truly over -timeout is kept as a timeout.
      found=$(find "$out/findings/$t" -type f ! -name 'slow-unit-*' 2>/dev/null | wc -l)
      echo "| $t | $runs | $cov | $ft | $files | $found |"
    done
  } >"$out/STATUS.md.new" && mv "$out/STATUS.md.new" "$out/STATUS.md"
}

while :; do
  pending=0
  for t in "${targets[@]}"; do
    read -r runs cov ft 2>/dev/null <"$out/$t.total" || { runs=0; cov=-; ft=-; }
    ((runs >= goal)) && continue
    pending=1
    bin=$build/tests/fuzz/fuzz_$t
    [ -x "$bin" ] || continue
    corpus=build/campaign/corpus/$t
    if [ ! -d "$corpus" ]; then
      mkdir -p "$corpus"
      cp tests/fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null
    fi
    mkdir -p "$out/findings/$t"
    log=$out/$t.log
    echo "=== $(date -u '+%F %T') turn of $turn s" >>"$log"
    # -runs stops a target at its goal within the turn.
    nice -n 19 "$bin" -max_total_time="$turn" -runs=$((goal - runs)) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      "${flags[@]}" -artifact_prefix="$out/findings/$t/" "$corpus" >>"$log" 2>&1
    echo "=== exit $?" >>"$log"
    # This turn's numbers: the executions from the final stats, cov/ft from the last status line.
    last=$(tac "$log" | sed '/^=== .*turn of/q')
    n=$(grep -o 'stat::number_of_executed_units: [0-9]*' <<<"$last" | grep -o '[0-9]*$' | tail -1)
    c=$(grep -o 'cov: [0-9]*' <<<"$last" | head -1 | grep -o '[0-9]*$')
    f=$(grep -o 'ft: [0-9]*' <<<"$last" | head -1 | grep -o '[0-9]*$')
    echo "$((runs + ${n:-0})) ${c:-$cov} ${f:-$ft}" >"$out/$t.total"
    table
  done
  table
  ((pending)) || break
  sleep 1
done
