#!/usr/bin/env bash
# startup-order.sh [BUILD_DIR...] — writes app/program/startup-order.txt: the functions of the program
# that run until its first frame, in the order valgrind's callgrind first meets them, then the
# read-only data they read (valgrind's lackey: every load, a few minutes), for the linker to place
# side by side (app/program/CMakeLists.txt). A menu started from a disc reads the pages of
# the program it touches from there; scattered over the whole code, a few hundred kilobytes of start
# code touch almost every page. Run it again after larger changes; names no longer in the program
# are skipped, and functions missing from the list are only placed after the others. Several builds
# (e.g. build/release build/portable, whose libraries differ) give one list: each adds what it runs
# that those before it did not.
# Needs valgrind. The menu ends at its first frame (CDMENU_AT_FIRST_FRAME=exit), with nothing run after.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- build/release
command -v valgrind >/dev/null || { echo "startup-order.sh: valgrind is needed" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export CDMENU_AT_FIRST_FRAME=exit
lists=()
for build in "$@"; do
  program=$(realpath "$build/cdmenu")  # absolute, as a start from a disc names it
  disc=$(realpath "$build/disc")
  out=$work/$(basename "$build")
  valgrind --tool=callgrind --demangle=no --callgrind-out-file="$out.calls" "$program" --headless \
    --data "$disc" --root "$disc" >/dev/null 2>"$out.log"
  nm --defined-only "$program" | awk '$2 ~ /^[tTwW]$/ {print $3}' >"$out.defined"
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
' $range $base >"$out.lines"
  nm -S --defined-only "$program" | awk 'NF == 4 && $3 ~ /^[rRvVu]$/' >"$out.data"
  lists+=("$out")
done
python3 - app/program/startup-order.txt "${lists[@]}" <<'PY'
import bisect, re, sys
out, builds = sys.argv[1], sys.argv[2:]
functions, objects, seen = [], [], set()
for build in builds:
    names = set(open(build + ".defined").read().split())
    found = 0
    for line in open(build + ".calls"):
        m = re.match(r"c?fn=\(\d+\) (\S+)$", line.rstrip("\n"))
        if m and m.group(1) in names:
            found += 1
            if m.group(1) not in seen:
                seen.add(m.group(1))
                functions.append(m.group(1))
    if found < 100:
        sys.exit(f"startup-order.sh: only {found} functions found in {build}; did the menu start?")
    symbols = sorted((int(a, 16), int(n, 16), name) for a, n, _, name in (l.split() for l in open(build + ".data")))
    starts = [s[0] for s in symbols]
    lines = [int(v) for v in open(build + ".lines").read().split()]
    if not lines:
        sys.exit(f"startup-order.sh: no read-only data read in {build}; has valgrind moved the program?")
    for a in lines:
        i = bisect.bisect_right(starts, a + 63) - 1
        while i >= 0 and symbols[i][0] + symbols[i][1] > a:
            if symbols[i][2] not in seen:
                seen.add(symbols[i][2])
                objects.append(symbols[i][2])
            i -= 1
open(out, "w").write("\n".join(functions + objects) + "\n")
print(f"{out}: {len(functions)} functions, {len(objects)} read-only objects")
PY
