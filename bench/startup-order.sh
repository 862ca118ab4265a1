#!/usr/bin/env bash
# startup-order.sh [BUILD_DIR] — writes app/program/startup-order.txt: the functions of the program
# that run until its first frame, in the order valgrind's callgrind first meets them, then the
# read-only data they read (valgrind's lackey: every load, a few minutes), for the linker to place
# side by side (app/program/CMakeLists.txt). A menu started from a disc reads the pages of
# the program it touches from there; scattered over the whole code, a few hundred kilobytes of start
# code touch almost every page. Run it again after larger changes; names no longer in the program
# are skipped, and functions missing from the list are only placed after the others.
# Needs valgrind. The menu ends at its first frame (CDMENU_AT_FIRST_FRAME=exit), with nothing run after.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
program=$(realpath "$build/cdmenu")  # absolute, as a start from a disc names it
disc=$(realpath "$build/disc")
command -v valgrind >/dev/null || { echo "startup-order.sh: valgrind is needed" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export CDMENU_AT_FIRST_FRAME=exit
valgrind --tool=callgrind --demangle=no --callgrind-out-file="$work/calls" "$program" --headless \
  --data "$disc" --root "$disc" >/dev/null 2>"$work/log"
nm --defined-only "$program" | awk '$2 ~ /^[tTwW]$/ {print $3}' >"$work/defined"
# The loads of .rodata, by 64-byte line, relative to the program's start (valgrind loads a
# position-independent program at 0x108000, any other where it was linked).
range=$(readelf -SW "$program" | awk '$2 == ".rodata" {print "0x" $4, "0x" $6}')
base=0
readelf -h "$program" | grep -q 'Type: *DYN' && base=0x108000
valgrind --tool=lackey --trace-mem=yes "$program" --headless --data "$disc" --root "$disc" \
  2>&1 >/dev/null | python3 -c '
import sys
start, size, base = (int(v, 16) for v in sys.argv[1:4])
lo, hi = base + start, base + start + size
lines = set()
for line in sys.stdin:
    p = line.split()
    if len(p) == 2 and p[0] in ("L", "M"):
        a = int(p[1].split(",")[0], 16)
        if lo <= a < hi:
            lines.add((a - base) >> 6 << 6)
print("\n".join(str(a) for a in sorted(lines)))
' $range $base >"$work/lines"
nm -S --defined-only "$program" | awk 'NF == 4 && $3 ~ /^[rRvVu]$/' >"$work/data"
python3 - "$work/calls" "$work/defined" "$work/lines" "$work/data" app/program/startup-order.txt <<'PY'
import bisect, re, sys
calls, defined, lines, data, out = sys.argv[1:]
names = set(open(defined).read().split())
order, seen = [], set()
for line in open(calls):
    m = re.match(r"c?fn=\(\d+\) (\S+)$", line.rstrip("\n"))
    if m and m.group(1) in names and m.group(1) not in seen:
        seen.add(m.group(1))
        order.append(m.group(1))
if len(order) < 100:
    sys.exit(f"startup-order.sh: only {len(order)} functions found; did the menu start?")
functions = len(order)
symbols = sorted((int(a, 16), int(n, 16), name) for a, n, _, name in (l.split() for l in open(data)))
starts = [s[0] for s in symbols]
for a in (int(v) for v in open(lines).read().split()):
    i = bisect.bisect_right(starts, a + 63) - 1
    while i >= 0 and symbols[i][0] + symbols[i][1] > a:
        if symbols[i][2] not in seen:
            seen.add(symbols[i][2])
            order.append(symbols[i][2])
        i -= 1
if len(order) == functions:
    sys.exit("startup-order.sh: no read-only data read; has valgrind moved the program?")
open(out, "w").write("\n".join(order) + "\n")
print(f"{out}: {functions} functions, {len(order) - functions} read-only objects")
PY
