#!/usr/bin/env bash
# disc_read.sh [BUILD_DIR] [DISC] [PROGRAM] — what start-up reads from an optical disc before the
# first frame is presented: the files opened and the bytes read under the disc root, traced with
# strace, and a model time for an 8x CD drive: 1.2 MB/s, and 100 ms for every file opened or seek.
# PROGRAM (default BUILD_DIR/cdmenu; e.g. dist/cdmenu) is counted apart: the files the loader opens
# beside it (its libraries) and their size, since a menu started from the disc loads them from there.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
disc=$(realpath "${2:-$build/disc}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The script runs once the menu is idle, that is after the first frame; its screenshot marks that.
printf 'screenshot %s/first-frame.png\n' "$work" >"$work/script.txt"
program=$(realpath "${3:-$build/cdmenu}")
strace -f -qq -e trace=openat,read,pread64,lseek,close -o "$work/trace" \
  "$program" --headless --data "$disc" --root "$disc" --script "$work/script.txt" >/dev/null
python3 - "$work/trace" "$disc" "$program" <<'PY'
import os, re, sys
trace, disc, program = sys.argv[1], sys.argv[2].rstrip("/") + "/", sys.argv[3]
beside = os.path.dirname(program) + "/"
fds, files, reads, seeks = {}, [], 0, 0
libs = set()
for line in open(trace):
    m = re.search(r'openat\(AT_FDCWD, "([^"]+)", [^)]*\) = (\d+)', line)
    if m:
        path, fd = m.group(1), m.group(2)
        if path.endswith("first-frame.png"):
            break
        if path.startswith(beside) and not path.startswith(disc):
            libs.add(path)
        if path.startswith(disc):
            fds[fd] = path
            files.append(path)
        continue
    m = re.search(r'(read|pread64)\((\d+), .*\) = (\d+)', line)
    if m and m.group(2) in fds:
        reads += int(m.group(3))
        continue
    m = re.search(r'lseek\((\d+), (-?\d+), SEEK_(SET|CUR|END)\) = (\d+)', line)
    if m and m.group(1) in fds and not (m.group(3) == "CUR" and m.group(2) == "0"):
        seeks += 1
    m = re.search(r'close\((\d+)\)', line)
    if m:
        fds.pop(m.group(1), None)
model = reads / 1.2e6 + 0.1 * (len(files) + seeks)
print(f"disc files opened before the first frame: {len(files)}")
for f in files:
    print("  " + f[len(disc):])
print(f"bytes read from them: {reads}")
print(f"seeks: {seeks}")
print(f"model time on an 8x CD drive: {model:.3f} s")
size = sum(os.path.getsize(p) for p in libs) + os.path.getsize(program)
print(f"program: {os.path.getsize(program)} bytes, and {len(libs)} files beside it opened by the loader "
      f"({size} bytes in all, mapped: only the pages used are read)")
PY
