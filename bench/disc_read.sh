#!/usr/bin/env bash
# disc_read.sh [BUILD_DIR] [DISC] [PROGRAM] — what a menu started from an optical disc brings in from
# it before the first frame: the program's own pages and those of the libraries beside it, and the
# data files read. PROGRAM (default BUILD_DIR/cdmenu; dist/cdmenu for the packaged one, which brings
# its lib/, fonts/ and libunpack32.so) is copied beside a copy of DISC (default BUILD_DIR/disc), so
# that it starts from there as from the disc.
#
# Program pages: the resident file-backed pages (Rss in /proc/PID/smaps) of every mapping of a file
# in the disc copy, at the first frame. The menu stops itself there (CDMENU_AT_FIRST_FRAME=stop: once
# idle, that is after the first frame has been presented), with nothing run after it. The files
# were dropped from the page cache first; what the kernel read of them (its read-ahead included) is
# shown beside, from mincore() after the stop. Data files: opened and read before the first frame,
# traced with strace in a second run (ended there by CDMENU_AT_FIRST_FRAME=exit).
#
# Model times: the bytes at 1.2 MB/s (8x CD), 3.6 MB/s (24x CD) and 22.2 MB/s (16x DVD), and 100 ms
# for every data file opened or seek, and for every separate run of program pages the kernel read.
# A Windows build (CDMENU_WINDOWS_BUILD, default build/windows) adds an estimate for cdmenu.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
disc=$(realpath "${2:-$build/disc}")
program=$(realpath "${3:-$build/cdmenu}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The disc: the sample disc, and the program beside it (a packaged one with its whole folder).
copy=$work/disc
cp -r "$disc" "$copy"
if [ -e "$(dirname "$program")/autorun.sh" ]; then
  cp -r "$(dirname "$program")"/. "$copy/"
else
  cp "$program" "$copy/"
  [ -d "$(dirname "$program")/fonts" ] && cp -r "$(dirname "$program")/fonts" "$copy/"
fi
menu=$copy/$(basename "$program")
[ -d "$copy/lib" ] && export LD_LIBRARY_PATH=$copy/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
export SDL_AUDIODRIVER=none

python3 - "$copy" "$menu" <<'PY' >"$work/pages"
import ctypes, ctypes.util, mmap, os, subprocess, sys, time
copy, menu = sys.argv[1], sys.argv[2]
page = os.sysconf("SC_PAGE_SIZE")
files = [os.path.join(d, f) for d, _, fs in os.walk(copy) for f in fs]
# Cold: every file of the disc copy out of the page cache.
for f in files:
    fd = os.open(f, os.O_RDONLY)
    os.fsync(fd)
    os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
    os.close(fd)
p = subprocess.Popen([menu, "--headless", "--data", copy, "--root", copy], stdout=subprocess.DEVNULL,
                     stderr=subprocess.PIPE, env=dict(os.environ, CDMENU_AT_FIRST_FRAME="stop"))
for _ in range(6000):
    if p.poll() is not None:
        sys.exit(f"disc_read.sh: the menu ended ({p.returncode}) before its first frame: {p.stderr.read()[:300]}")
    with open(f"/proc/{p.pid}/stat") as stat:
        if stat.read().rsplit(")", 1)[1].split()[0] == "T":
            break
    time.sleep(0.01)
rss, segments = {}, {}
path = None
for line in open(f"/proc/{p.pid}/smaps"):
    parts = line.split()
    if len(parts) >= 5 and "-" in parts[0] and not parts[0].endswith(":"):
        path = parts[5] if len(parts) >= 6 else None
        perms = parts[1]
    elif parts and parts[0] == "Rss:" and path and path.startswith(copy + "/"):
        rss[path] = rss.get(path, 0) + int(parts[1]) * 1024
        segments.setdefault(path, []).append(f"{perms} {int(parts[1])} KB")
# What the kernel read of each file: its pages in the cache, and in how many separate runs.
libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.mincore.argtypes = [ctypes.c_void_p, ctypes.c_size_t, ctypes.c_char_p]
cached, runs = {}, {}
for f in files:
    size = os.path.getsize(f)
    if size == 0:
        continue
    fd = os.open(f, os.O_RDONLY)
    libc.mmap.restype = ctypes.c_void_p
    libc.mmap.argtypes = [ctypes.c_void_p, ctypes.c_size_t, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_long]
    addr = libc.mmap(None, size, mmap.PROT_READ, mmap.MAP_SHARED, fd, 0)
    pages = (size + page - 1) // page
    vec = ctypes.create_string_buffer(pages)
    libc.mincore(ctypes.c_void_p(addr), size, vec)
    libc.munmap.argtypes = [ctypes.c_void_p, ctypes.c_size_t]
    libc.munmap(ctypes.c_void_p(addr), size)
    os.close(fd)
    bits = [b & 1 for b in vec.raw]
    n = sum(bits)
    if n and f in rss:
        cached[f] = n * page
        runs[f] = sum(1 for i, b in enumerate(bits) if b and (i == 0 or not bits[i - 1]))
p.kill()
p.wait()
report = p.stderr.read().decode(errors="replace").strip()
if report:
    sys.exit(f"disc_read.sh: the menu wrote before its first frame: {report[:200]}")
for f in sorted(rss):
    print(f"{f[len(copy) + 1:]}\t{os.path.getsize(f)}\t{rss[f]}\t{cached.get(f, 0)}\t{runs.get(f, 0)}\t"
          + ", ".join(segments[f]))
PY

# The data files, traced in a run of their own.
CDMENU_AT_FIRST_FRAME=exit strace -f -qq -e trace=openat,read,pread64,lseek,close -o "$work/trace" \
  "$menu" --headless --data "$copy" --root "$copy" >/dev/null
python3 - "$work/trace" "$copy" "$work/pages" <<'PY'
import os, re, sys
trace, disc, pages = sys.argv[1], sys.argv[2].rstrip("/") + "/", sys.argv[3]
fds, files, reads, seeks = {}, [], 0, 0
for line in open(trace):
    m = re.search(r'openat\(AT_FDCWD, "([^"]+)", [^)]*\) = (\d+)', line)
    if m:
        path, fd = m.group(1), m.group(2)
        # Mapped files (the program's libraries) are counted by their pages, below.
        if path.startswith(disc) and not re.search(r"\.so(\.|$)", path):
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
print(f"before the first frame, from the disc ({disc})")
print(f"  data files opened: {len(files)}")
for f in files:
    print("    " + f[len(disc):])
print(f"  data bytes read: {reads}, seeks: {seeks}")
resident = cached = runs = 0
print("  mapped files: size, resident at the first frame (Rss), read by the kernel (read-ahead included)")
for line in open(pages):
    name, size, rss, cache, nruns, segments = line.rstrip("\n").split("\t")
    print(f"    {name:<24} {int(size):>10} {int(rss):>10} {int(cache):>10} in {nruns} runs")
    print(f"      resident by mapping: {segments}")
    resident += int(rss)
    cached += int(cache)
    runs += int(nruns)
total = reads + resident
print(f"  in all: {total} bytes ({reads} data + {resident} program pages); "
      f"the kernel read {reads + cached} with its read-ahead")
for name, rate in (("8x CD", 1.2e6), ("24x CD", 3.6e6), ("16x DVD", 22.16e6)):
    t = total / rate + 0.1 * (len(files) + seeks + runs)
    print(f"  model time, {name:<8} {t:6.2f} s ({total / rate:.2f} s transfer, "
          f"{len(files) + seeks + runs} seeks at 100 ms)")
PY

windows=${CDMENU_WINDOWS_BUILD:-build/windows}/cdmenu.exe
# The Windows program cannot be started here as from a disc; its figure is estimated from its own
# sections and how much of the same code and read-only data the Linux program touches. Its link
# does not place the start-up functions together: take the shares of a Linux program linked without
# that (PROGRAM), or the estimate comes out low.
if [ -f "$windows" ] && command -v x86_64-w64-mingw32-objdump >/dev/null; then
  python3 - "$menu" "$windows" "$work/pages" <<'PY'
import os, subprocess, sys
menu, exe, pages = sys.argv[1:]
linux = {}
for line in subprocess.run(["size", "-A", menu], capture_output=True, text=True, check=True).stdout.splitlines():
    p = line.split()
    if len(p) >= 3 and p[0].startswith("."):
        linux[p[0]] = int(p[1])
win = {}
for line in subprocess.run(["x86_64-w64-mingw32-objdump", "-h", exe], capture_output=True, text=True,
                           check=True).stdout.splitlines():
    p = line.split()
    if len(p) >= 7 and p[1].startswith("."):
        win[p[1]] = int(p[2], 16)
code = readonly = 0
for line in open(pages):
    name, _, _, _, _, segments = line.rstrip("\n").split("\t")
    if name != os.path.basename(menu):
        continue
    for seg in segments.split(", "):
        perms, kb, _ = seg.split()
        if "x" in perms:
            code += int(kb) * 1024
        elif perms.startswith("r-"):
            readonly += int(kb) * 1024
# Linux: what of .text was resident, and of everything read-only (the rest of the file's loaded part).
text_share = code / linux[".text"]
ro_linux = sum(v for k, v in linux.items() if k in (".rodata", ".eh_frame", ".eh_frame_hdr", ".gcc_except_table",
                                                  ".data.rel.ro", ".rela.dyn", ".dynsym", ".dynstr", ".gnu.hash"))
ro_share = min(1.0, readonly / ro_linux)
estimate = win.get(".text", 0) * text_share + win.get(".rdata", 0) * ro_share + 4096
print(f"  Windows estimate for {exe} ({os.path.getsize(exe)} bytes): .text {win.get('.text', 0)} x {text_share:.2f}"
      f" + .rdata {win.get('.rdata', 0)} x {ro_share:.2f} (the shares resident on Linux) = {estimate / 1e6:.2f} MB"
      f" of program pages, before the data files")
PY
fi
