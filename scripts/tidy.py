#!/usr/bin/env python3
"""clang-tidy over the files of a compilation database, with a result cache.

tidy.py ROOT DATABASE_DIR REGEX FOLDERS — checks every file whose path matches REGEX, and the
headers it includes from ROOT/<one of FOLDERS, |-separated>/. A file is checked
again only when something its result depends on changed: its preprocessed source (so every header
it includes), its compile command, .clang-tidy, clang-tidy's version or this script. Results live in
TIDY_CACHE (default /var/cache/cdmenu/tidy-<version>/), one file per key, paths inside them written
relative to ROOT so that every checkout of the tree shares them. Prints the distinct findings and
exits 1 when there is one or when clang-tidy could not process a file; the full output of the files
with findings goes to DATABASE_DIR/tidy.log.
"""
import concurrent.futures
import hashlib
import json
import os
import re
import shlex
import shutil
import subprocess
import sys
import time

SALT = b"tidy.py 2"
# GCC's flags that clang does not know would stop clang-tidy on those files.
GCC_ONLY = {"-fno-gnu-unique"}


def is_warning_flag(a):
    # Warnings are the compilers' business (-Werror with GCC-only names stops clang-tidy); the
    # checks are .clang-tidy's.
    return a.startswith("-W") and not a.startswith(("-Wp,", "-Wl,", "-Wa,"))
FINDING = re.compile(r"^(/|@ROOT@).*:\d+:\d+: (warning|error):")


def find_tool(*names):
    for name in names:
        path = shutil.which(name)
        if path:
            return path
    return None


def arguments(entry):
    args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    return [a for a in args if a not in GCC_ONLY and not is_warning_flag(a)]


def preprocess_command(clangxx, args):
    # The compile command minus compiler and output, run through clang so that its view of the system headers is clang-tidy's.
    out = [clangxx]
    skip = False
    for a in args[1:]:
        if skip:
            skip = False
            continue
        if a in ("-o", "-MF", "-MT", "-MQ"):
            skip = True
            continue
        if a in ("-c", "-MD", "-MMD"):
            continue
        out.append(a)
    return out + ["-E", "-w"]


def main():
    root, dbdir, pattern, folders = sys.argv[1:5]
    root = os.path.realpath(root)
    # .clang-tidy's header filter cannot know where the tree lies; this one is anchored at its root.
    header_filter = "^%s/(%s)/" % (re.escape(root), folders)
    jobs = int(os.environ.get("TIDY_JOBS", "2"))
    tidy = find_tool("clang-tidy-14", "clang-tidy")
    clangxx = find_tool("clang++-14", "clang++")
    if not tidy or not clangxx:
        print("tidy: clang-tidy or clang++ is not installed (scripts/setup.sh installs them)",
              file=sys.stderr)
        return 2
    version = subprocess.run([tidy, "--version"], capture_output=True, text=True).stdout
    short = re.search(r"version (\d+(\.\d+)*)", version)
    cache = os.environ.get("TIDY_CACHE") or "/var/cache/cdmenu/tidy-%s" % (
        short.group(1) if short else "unknown")
    try:
        os.makedirs(cache, exist_ok=True)
    except OSError:
        cache = None
    with open(os.path.join(root, ".clang-tidy"), "rb") as f:
        config = f.read()

    with open(os.path.join(dbdir, "compile_commands.json")) as f:
        database = json.load(f)
    entries = {}
    regex = re.compile(pattern)
    for e in database:
        path = os.path.realpath(os.path.join(e["directory"], e["file"]))
        if regex.search(path) and path not in entries:
            entries[path] = e
    # clang-tidy reads the database itself; it gets one without GCC's own flags.
    work = os.path.join(dbdir, "tidy")
    os.makedirs(work, exist_ok=True)
    clean = []
    for e in database:
        e = dict(e)
        args = arguments(e)
        e.pop("command", None)
        e["arguments"] = args
        clean.append(e)
    with open(os.path.join(work, "compile_commands.json"), "w") as f:
        json.dump(clean, f)

    def relative(text):
        return text.replace(root + "/", "@ROOT@/").replace(root, "@ROOT@")

    def check(path):
        e = entries[path]
        args = arguments(e)
        pre = subprocess.run(preprocess_command(clangxx, args) + ["-o", "-"], cwd=e["directory"],
                             capture_output=True)
        key = None
        if pre.returncode == 0 and cache:
            h = hashlib.sha256()
            for part in (SALT, version.encode(), config, relative(shlex.join(args)).encode(),
                         relative(pre.stdout.decode("utf-8", "replace")).encode()):
                h.update(len(part).to_bytes(8, "little"))
                h.update(part)
            key = h.hexdigest()
            stored = os.path.join(cache, key)
            try:
                with open(stored) as f:
                    return path, json.load(f)["output"].replace("@ROOT@", root), 0, True
            except (OSError, ValueError, KeyError):
                pass
        run = subprocess.run([tidy, "-p", work, "--quiet", "--header-filter=" + header_filter, path],
                             capture_output=True, text=True)
        output = run.stdout + run.stderr
        if run.returncode == 0 and key:
            tmp = os.path.join(cache, "%s.%d.tmp" % (key, os.getpid()))
            with open(tmp, "w") as f:
                json.dump({"file": relative(path), "output": relative(output)}, f)
            os.replace(tmp, os.path.join(cache, key))
        return path, output, run.returncode, False

    start = time.time()
    findings = set()
    failed = []
    cached = 0
    with open(os.path.join(dbdir, "tidy.log"), "w") as log, \
            concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for path, output, rc, hit in pool.map(check, sorted(entries)):
            cached += hit
            mine = {line for line in output.splitlines() if FINDING.match(line)}
            if rc != 0:
                failed.append(path)
            if mine or rc != 0:
                log.write("=== %s\n%s\n" % (path, output))
            findings |= mine
    print("tidy: %d files (%d unchanged, from the cache), %d s" % (
        len(entries), cached, time.time() - start))
    for line in sorted(findings):
        print(line)
    if findings:
        print("tidy: %d finding(s); details in %s" % (len(findings), os.path.join(dbdir, "tidy.log")))
    if failed:
        print("tidy: clang-tidy failed on %s (see %s)" % (
            ", ".join(os.path.relpath(p, root) for p in failed), os.path.join(dbdir, "tidy.log")),
            file=sys.stderr)
    if findings or failed:
        return 1
    print("tidy: no findings")
    return 0


if __name__ == "__main__":
    sys.exit(main())
