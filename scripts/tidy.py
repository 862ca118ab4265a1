#!/usr/bin/env python3
"""clang-tidy over the files of compilation databases, with a result cache.

tidy.py ROOT DATABASE_DIR REGEX FOLDERS [WINDOWS_DATABASE_DIR] — checks every file of DATABASE_DIR's
compilation database whose path matches REGEX, and the headers it includes from
ROOT/<one of FOLDERS, |-separated>/. WINDOWS_DATABASE_DIR is a mingw-w64 build's: of its files,
those that DATABASE_DIR does not compile and those with Windows-only code of their own (`_WIN32`)
are checked too, as clang sees them for that target with the mingw-w64 GCC's C++ headers.

A file is checked again only when something its result depends on changed: its preprocessed source
(so every header it includes), its compile command, the .clang-tidy files above it, clang-tidy's
version or this script. Results live in TIDY_CACHE (default
/var/cache/cdmenu/tidy-<version>/), one file per key, paths inside them written relative to ROOT so
that every checkout of the tree shares them. A file is preprocessed again only when a file it read
last time changed its size or time (DATABASE_DIR/tidy/index.json). Prints the distinct findings and
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

# The header filter is not part of the key: raise this when the folders change in a way that
# changes what a file's result holds.
SALT = b"tidy.py 2"
# GCC's flags that clang does not know would stop clang-tidy on those files.
GCC_ONLY = {"-fno-gnu-unique", "-fno-keep-inline-dllexport"}
FINDING = re.compile(r"^(/|@ROOT@).*:\d+:\d+: (warning|error):")
MINGW_COMPILER = re.compile(r"([A-Za-z0-9_]+-w64-mingw32)-(g\+\+|c\+\+|gcc)[^/]*$")
# The files a preprocessed source was read from, by its line markers.
LINE_MARKER = re.compile(rb'^# \d+ "([^"]*)"', re.M)


def is_warning_flag(a):
    # Warnings are the compilers' business (-Werror with GCC-only names stops clang-tidy); the
    # checks are .clang-tidy's.
    return a.startswith("-W") and not a.startswith(("-Wp,", "-Wl,", "-Wa,"))


def find_tool(*names):
    for name in names:
        path = shutil.which(name)
        if path:
            return path
    return None


def arguments(entry):
    args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    return [a for a in args if a not in GCC_ONLY and not is_warning_flag(a)]


def mingw_flags(compiler):
    # clang 14 does not find Debian's mingw-w64 GCC by itself (its version folders are named
    # "12-posix"), so it gets the C++ header folders that GCC searches; the C headers of
    # /usr/<triple>/include and its own built-in ones it finds for the target.
    triple = MINGW_COMPILER.search(compiler).group(1)
    run = subprocess.run([compiler, "-x", "c++", "-E", "-v", "-"], input="", capture_output=True,
                         text=True)
    lines = run.stderr.splitlines()
    try:
        dirs = lines[lines.index("#include <...> search starts here:") + 1:
                     lines.index("End of search list.")]
    except ValueError:
        raise SystemExit("tidy: cannot read %s's include folders" % compiler)
    flags = ["--target=" + triple]
    for d in dirs:
        d = os.path.normpath(d.strip())
        if "/include/c++" in d:
            flags += ["-isystem", d]
    return flags


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


def load_database(dbdir):
    with open(os.path.join(dbdir, "compile_commands.json")) as f:
        database = json.load(f)
    for e in database:
        e["path"] = os.path.realpath(os.path.join(e["directory"], e["file"]))
    return database


def write_database(work, database):
    # clang-tidy reads the database itself; it gets one with the arguments the script chose, and
    # for a file compiled into several targets only the first command, the one the cache key has.
    os.makedirs(work, exist_ok=True)
    clean = {}
    for e in database:
        clean.setdefault(e["path"], {"directory": e["directory"], "file": e["path"],
                                     "arguments": e["args"]})
    clean = list(clean.values())
    with open(os.path.join(work, "compile_commands.json"), "w") as f:
        json.dump(clean, f)


def main():
    root, dbdir, pattern, folders = sys.argv[1:5]
    windows_dir = sys.argv[5] if len(sys.argv) > 5 else None
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

    def relative(text):
        return text.replace(root + "/", "@ROOT@/").replace(root, "@ROOT@")

    regex = re.compile(pattern)
    # One task per file and target: (path, database entry, folder of its clang-tidy database, target).
    tasks = []
    database = load_database(dbdir)
    for e in database:
        e["args"] = arguments(e)
    write_database(os.path.join(dbdir, "tidy"), database)
    host_paths = {e["path"] for e in database}
    seen = set()
    for e in database:
        if regex.search(e["path"]) and e["path"] not in seen:
            seen.add(e["path"])
            tasks.append((e["path"], e, os.path.join(dbdir, "tidy"), ""))
    if windows_dir:
        database = load_database(windows_dir)
        flags = {}
        # Resource scripts are compiled there too.
        database = [e for e in database if e["path"].endswith((".c", ".cc", ".cpp", ".cxx"))]
        for e in database:
            args = arguments(e)
            compiler = args[0]
            if compiler not in flags:
                flags[compiler] = mingw_flags(compiler) if MINGW_COMPILER.search(compiler) else None
            if flags[compiler] is None:
                raise SystemExit("tidy: %s is no mingw-w64 compiler (in %s)" % (compiler, windows_dir))
            e["args"] = [clangxx] + args[1:] + flags[compiler]
            e["target"] = flags[compiler][0].split("=", 1)[1]
        write_database(os.path.join(windows_dir, "tidy"), database)
        seen = set()
        for e in database:
            path = e["path"]
            if not regex.search(path) or path in seen:
                continue
            seen.add(path)
            if path in host_paths:
                with open(path, encoding="utf-8", errors="replace") as f:
                    if "_WIN32" not in f.read():
                        continue
            tasks.append((path, e, os.path.join(windows_dir, "tidy"), e["target"]))

    configs = {}

    def config_for(directory):
        # The .clang-tidy files from the file's folder up to the root (a nearer one may inherit).
        if directory not in configs:
            text = b""
            if directory.startswith(root + "/"):
                text = config_for(os.path.dirname(directory))
            name = os.path.join(directory, ".clang-tidy")
            if os.path.isfile(name):
                with open(name, "rb") as f:
                    if text:
                        text += b"\0" + relative(directory).encode() + b"\0"
                    text += f.read()
            configs[directory] = text
        return configs[directory]

    index_file = os.path.join(dbdir, "tidy", "index.json")
    try:
        with open(index_file) as f:
            index = json.load(f)
    except (OSError, ValueError):
        index = {}
    stats = {}

    def stat(name):
        if name not in stats:
            try:
                s = os.stat(name)
                stats[name] = [s.st_mtime_ns, s.st_size]
            except OSError:
                stats[name] = None
        return stats[name]

    def cache_key(name, path, e, args):
        # From the index while the inputs and every file the preprocessor read are as they were.
        parts = [SALT, version.encode(), config_for(os.path.dirname(path)),
                 relative(shlex.join(args)).encode()]
        inputs = hashlib.sha256(b"\0".join(parts)).hexdigest()
        known = index.get(name)
        if known and known["inputs"] == inputs and all(
                stat(f) == s for f, s in known["files"].items()):
            return known["key"]
        pre = subprocess.run(preprocess_command(clangxx, args) + ["-o", "-"], cwd=e["directory"],
                             capture_output=True)
        if pre.returncode != 0:
            index.pop(name, None)
            return None
        files = {os.path.normpath(os.path.join(e["directory"], m.decode("utf-8", "replace")))
                 for m in LINE_MARKER.findall(pre.stdout)}
        files = {f: stat(f) for f in files if not f.startswith("<")}
        h = hashlib.sha256()
        for part in parts + [relative(pre.stdout.decode("utf-8", "replace")).encode()]:
            h.update(len(part).to_bytes(8, "little"))
            h.update(part)
        index[name] = {"inputs": inputs, "files": files, "key": h.hexdigest()}
        return index[name]["key"]

    def check(task):
        path, e, work, target = task
        args = e["args"]
        key = cache_key(target + ":" + path, path, e, args) if cache else None
        if key:
            stored = os.path.join(cache, key)
            try:
                with open(stored) as f:
                    return task, json.load(f)["output"].replace("@ROOT@", root), 0, True
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
        return task, output, run.returncode, False

    start = time.time()
    findings = set()
    failed = []
    cached = 0
    with open(os.path.join(dbdir, "tidy.log"), "w") as log, \
            concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for task, output, rc, hit in pool.map(check, sorted(tasks, key=lambda t: (t[3], t[0]))):
            path, target = task[0], task[3]
            name = os.path.relpath(path, root) + (" (%s)" % target if target else "")
            cached += hit
            mine = {line for line in output.splitlines() if FINDING.match(line)}
            if rc != 0:
                failed.append(name)
            if mine or rc != 0:
                log.write("=== %s\n%s\n" % (name, output))
            findings |= mine
    tmp = "%s.%d.tmp" % (index_file, os.getpid())
    with open(tmp, "w") as f:
        json.dump(index, f)
    os.replace(tmp, index_file)
    print("tidy: %d files (%d of them for Windows; %d unchanged, from the cache), %d s" % (
        len(tasks), sum(1 for t in tasks if t[3]), cached, time.time() - start))
    for line in sorted(findings):
        print(line)
    if findings:
        print("tidy: %d finding(s); details in %s" % (len(findings), os.path.join(dbdir, "tidy.log")))
    if failed:
        print("tidy: clang-tidy failed on %s (see %s)" % (", ".join(failed),
                                                          os.path.join(dbdir, "tidy.log")),
              file=sys.stderr)
    if findings or failed:
        return 1
    print("tidy: no findings")
    return 0


if __name__ == "__main__":
    sys.exit(main())
