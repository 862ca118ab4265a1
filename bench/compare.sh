#!/usr/bin/env bash
# compare.sh OLD_BUILD NEW_BUILD [REPETITIONS] — every Google Benchmark program present in both
# builds, run old and new in turns in the same sitting, one table: median CPU time per benchmark
# before and after, and the peer ratios (ratio_cpu/ratio_wall counters) where a benchmark has them.
# The machine's load changes during a long run; running the pairs back to back keeps it fair.
set -euo pipefail
old=${1:?usage: compare.sh OLD_BUILD NEW_BUILD [REPETITIONS]}
new=${2:?usage: compare.sh OLD_BUILD NEW_BUILD [REPETITIONS]}
reps=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for path in "$new"/bench/bench_*; do
  name=$(basename "$path")
  [ -x "$old/bench/$name" ] || continue
  for side in old new; do
    dir=$old
    [ "$side" = new ] && dir=$new
    # Relative data paths inside the benchmarks resolve against the build they belong to.
    (cd "$dir" && "./bench/$name" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
      --benchmark_out="$work/$name.$side.json" --benchmark_out_format=json > "$work/$name.$side.out" \
      2> "$work/$name.$side.err") || {
      echo "compare.sh: $side $name failed:" >&2
      tail -5 "$work/$name.$side.err" >&2
    }
  done
done

python3 - "$work" <<'EOF'
import glob, json, os, sys

work = sys.argv[1]

def medians(path):
    try:
        data = json.load(open(path))
    except (OSError, ValueError):
        return {}
    out = {}
    for b in data.get("benchmarks", []):
        if b.get("aggregate_name") != "median":
            continue
        name = b["run_name"]
        out[name] = b
    return out

def fmt(b, key):
    if b is None or key not in b:
        return "-"
    return f"{b[key]:.3g}"

print(f"| benchmark | cpu before | cpu after | after/before | peer ratio_cpu before | after |")
print(f"|---|---|---|---|---|---|")
for oldf in sorted(glob.glob(os.path.join(work, "*.old.json"))):
    prog = os.path.basename(oldf)[: -len(".old.json")]
    before = medians(oldf)
    after = medians(os.path.join(work, prog + ".new.json"))
    for name in before:
        b, a = before[name], after.get(name)
        unit = b.get("time_unit", "")
        ratio = "-"
        if a is not None and b["cpu_time"] > 0:
            ratio = f"{a['cpu_time'] / b['cpu_time']:.2f}"
        print(f"| {name} | {fmt(b, 'cpu_time')} {unit} | {fmt(a, 'cpu_time')} {unit} | {ratio} "
              f"| {fmt(b, 'ratio_cpu')} | {fmt(a, 'ratio_cpu')} |")
    # Programs that print their own peer ratios ("... 2.35x memcpy") after the table.
    for side in ("old", "new"):
        try:
            lines = open(os.path.join(work, f"{prog}.{side}.out")).read().splitlines()
        except OSError:
            continue
        for line in lines:
            if "_median" in line and "x " in line and "ns" not in line:
                print(f"|   {prog} {side}: {' '.join(line.split())} | | | | | |")
EOF
