#!/usr/bin/env python3
"""Which source files a change asks clang-tidy to check again.

tidy-scope.py ROOT FOLDERS DATABASE_DIR... — compares the work tree with the commit that
.ci/tidy-base names (the last one over which the whole tree was checked clean, see scripts/tidy.sh)
and prints either "all: REASON" (check the whole tree) or "files since BASE" followed by one
absolute path per line: the .cpp files of FOLDERS (|-separated) that changed, and those that include
a changed header, directly or through other headers. The whole tree is due when no base is recorded
or it is no ancestor of HEAD, when the base lies more than a day of commits behind HEAD
(CDMENU_TIDY_BASE_AGE seconds), or when the checks (.clang-tidy, scripts/tidy.py) changed. When a
CMake file changed, the base is configured like each build of DATABASE_DIR (release and Windows) in
a scratch folder, and the files whose compile command differs from the base's are checked too.
"""
import json
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

BASE_FILE = ".ci/tidy-base"
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def git(*args):
    run = subprocess.run(["git", *args], capture_output=True, text=True)
    return run.stdout if run.returncode == 0 else None


def recorded_base(root):
    try:
        with open(os.path.join(root, BASE_FILE)) as f:
            for line in f:
                line = line.split("#", 1)[0].strip()
                if line:
                    return line
    except OSError:
        pass
    return None


def commands(dbdir, root):
    # Each file's first compile command (the one tidy.py checks with), warnings left out as there,
    # paths inside the tree and the build folder written alike for every checkout.
    with open(os.path.join(dbdir, "compile_commands.json")) as f:
        database = json.load(f)
    build = os.path.realpath(dbdir)
    out = {}
    for e in database:
        path = os.path.realpath(os.path.join(e["directory"], e["file"]))
        if not path.startswith(root + "/"):
            continue
        args = e["arguments"] if "arguments" in e else shlex.split(e["command"])
        args = [a.replace(build, "@BUILD@").replace(root, "@ROOT@") for a in args
                if not (a.startswith("-W") and not a.startswith(("-Wp,", "-Wl,", "-Wa,")))]
        out.setdefault(os.path.relpath(path, root), args)
    return out


def cache_options(dbdir):
    # The options the build was configured with that name compilers, toolchains and libraries.
    keep = re.compile(r"^(CMAKE_BUILD_TYPE|CMAKE_TOOLCHAIN_FILE|CMAKE_C_COMPILER|CMAKE_CXX_COMPILER|"
                      r"CMAKE_C_FLAGS|CMAKE_CXX_FLAGS|CDMENU_(MINGW_PREFIX|WERROR|BENCH|TESTS|FUZZ|"
                      r"FUZZ_LEAN|FUZZ_SANITIZERS|BUILTIN_SKIN|ICON|SYSROOT)):[A-Z]+=(.*)$")
    options = []
    with open(os.path.join(dbdir, "CMakeCache.txt")) as f:
        for line in f:
            m = keep.match(line.rstrip("\n"))
            if m:
                options.append((m.group(1), m.group(3)))
    return options


def commands_changed(root, commit, dbdirs):
    """The files whose compile command in DBDIRS differs from the base's, or None."""
    scratch = tempfile.mkdtemp(prefix="cdmenu-tidy-base-")
    try:
        src = os.path.join(scratch, "src")
        os.makedirs(src)
        archive = subprocess.run(["git", "archive", commit], capture_output=True)
        if archive.returncode != 0 or subprocess.run(["tar", "-x", "-C", src], input=archive.stdout
                                                     ).returncode != 0:
            return None
        changed = set()
        for i, dbdir in enumerate(dbdirs):
            # The base's own toolchain file; every other path stays as it is.
            options = ["-D%s=%s" % (k, v.replace(root + "/", src + "/") if k == "CMAKE_TOOLCHAIN_FILE"
                                    else v) for k, v in cache_options(dbdir)]
            build = os.path.join(scratch, "build%d" % i)
            run = subprocess.run(["cmake", "-S", src, "-B", build, "-G", "Ninja"] + options,
                                 capture_output=True, text=True)
            if run.returncode != 0:
                print(run.stdout[-2000:] + run.stderr[-2000:], file=sys.stderr)
                return None
            theirs = commands(build, os.path.realpath(src))
            ours = commands(dbdir, root)
            changed |= {p for p, args in ours.items() if theirs.get(p) != args}
        return changed
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    root, folders = os.path.realpath(sys.argv[1]), sys.argv[2].split("|")
    os.chdir(root)
    max_age = int(os.environ.get("CDMENU_TIDY_BASE_AGE", 24 * 3600))
    base = recorded_base(root)
    if not base:
        return print("all: %s names no commit" % BASE_FILE)
    commit = (git("rev-parse", "--verify", "-q", base + "^{commit}") or "").strip()
    if not commit:
        return print("all: the base %s is not in this clone" % base)
    if subprocess.run(["git", "merge-base", "--is-ancestor", commit, "HEAD"]).returncode != 0:
        return print("all: the base %s is no ancestor of HEAD" % base[:12])
    times = git("log", "-1", "--format=%ct", commit), git("log", "-1", "--format=%ct", "HEAD")
    behind = int(times[1]) - int(times[0])
    if behind > max_age:
        return print("all: the base %s lies %.1f h of commits behind HEAD" % (base[:12],
                                                                           behind / 3600))

    changed = set(git("diff", "--name-only", "--no-renames", commit).splitlines())
    changed |= set(git("ls-files", "--others", "--exclude-standard").splitlines())
    for path in sorted(changed):
        if os.path.basename(path) == ".clang-tidy" or path == "scripts/tidy.py":
            return print("all: %s changed" % path)
    recompiled = set()
    if any(p.endswith(("CMakeLists.txt", ".cmake")) for p in changed):
        recompiled = commands_changed(root, commit, sys.argv[3:])
        if recompiled is None:
            return print("all: the build changed and the base's could not be configured")

    # Every source and header of the folders, and the files each one includes ("dir/File.h" from the
    # root, or a neighbour's "File.h").
    sources = [p for p in git("ls-files", "--cached", "--others", "--exclude-standard", "--",
                              *folders).splitlines() if p.endswith((".cpp", ".h", ".inc"))]
    known = set(sources)
    included_by = {}
    for path in sources:
        try:
            with open(path, encoding="utf-8", errors="replace") as f:
                text = f.read()
        except OSError:
            continue
        for name in INCLUDE.findall(text):
            for candidate in (os.path.normpath(os.path.join(os.path.dirname(path), name)), name):
                if candidate in known:
                    included_by.setdefault(candidate, set()).add(path)
                    break

    affected = {p for p in changed if p in known}
    todo = list(affected)
    while todo:
        for user in included_by.get(todo.pop(), ()):
            if user not in affected:
                affected.add(user)
                todo.append(user)
    affected |= {p for p in recompiled if p.split("/", 1)[0] in folders}
    print("files since %s" % commit[:12])
    for path in sorted(affected):
        if path.endswith(".cpp") and os.path.exists(path):
            print(os.path.join(root, path))


if __name__ == "__main__":
    main()
