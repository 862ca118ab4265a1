#!/usr/bin/env bash
# startup-order.sh [BUILD_DIR] — writes app/program/startup-order.txt: the functions of the program
# that run until its first frame, in the order valgrind's callgrind first meets them, for the linker
# to place side by side (app/program/CMakeLists.txt). A menu started from a disc reads the pages of
# the program it touches from there; scattered over the whole code, a few hundred kilobytes of start
# code touch almost every page. Run it again after larger changes; names no longer in the program
# are skipped, and functions missing from the list are only placed after the others.
# Needs valgrind. The menu is stopped at its first frame as in disc_read.sh: a script line that fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
program=$build/cdmenu
disc=$build/disc
command -v valgrind >/dev/null || { echo "startup-order.sh: valgrind is needed" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'stop-at-the-first-frame\n' >"$work/stop.txt"
valgrind --tool=callgrind --demangle=no --callgrind-out-file="$work/calls" "$program" --headless \
  --data "$disc" --root "$disc" --script "$work/stop.txt" >/dev/null 2>"$work/log" || true
nm --defined-only "$program" | awk '$2 ~ /^[tTwW]$/ {print $3}' >"$work/defined"
python3 - "$work/calls" "$work/defined" app/program/startup-order.txt <<'PY'
import re, sys
calls, defined, out = sys.argv[1:]
names = set(open(defined).read().split())
order, seen = [], set()
for line in open(calls):
    m = re.match(r"c?fn=\(\d+\) (\S+)$", line.rstrip("\n"))
    if m and m.group(1) in names and m.group(1) not in seen:
        seen.add(m.group(1))
        order.append(m.group(1))
if len(order) < 100:
    sys.exit(f"startup-order.sh: only {len(order)} functions found; did the menu start?")
open(out, "w").write("\n".join(order) + "\n")
print(f"{out}: {len(order)} functions")
PY
