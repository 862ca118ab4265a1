#!/usr/bin/python3
"""The web edition's costs: export time, size on the disc, and the reader's waits in a browser.

    bench/web_edition.py [BUILD_DIR] [--programs N] [--categories N] [--runs N]

1. discweb on the sample disc: time (median of the runs) and what the web edition adds to the disc.
2. discweb on a generated catalogue (default 20,000 programs in 200 categories; screenshots and
   archives shared among the records, as the sample disc's): time, pages, size.
3. That edition in headless Chromium: the start page until it is shown (first contentful paint and
   the load event), the search page until its data is read, and the search as the reader types:
   from the input event to the next frame with the changed list, per term, with and without regard
   to case.

Needs chromium, chromium-driver and python3-selenium (./scripts/setup.sh). The discs are made in
TMPDIR: the large export creates 20,000 files, and on a busy or unjournaled disk that is most of its
time (compare with TMPDIR=/dev/shm).
"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def discweb(build, disc, runs):
    times = []
    for _ in range(runs):
        start = time.monotonic()
        r = subprocess.run([os.path.join(build, "discweb"), disc, disc], capture_output=True, text=True)
        times.append(time.monotonic() - start)
        if r.returncode not in (0, 1):
            sys.exit(f"discweb failed: {r.stderr}")
    return statistics.median(times), times


def size_of(path):
    if os.path.isfile(path):
        return os.path.getsize(path)
    return sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(path) for f in fs)


def edition_size(disc):
    folder = os.path.join(disc, "cdweb")
    parts = {"pictures (bilder/)": size_of(os.path.join(folder, "bilder")),
             "search data": size_of(os.path.join(folder, "suche-daten.js")),
             "banners and logo": sum(size_of(os.path.join(folder, f)) for f in os.listdir(folder)
                                     if f.endswith((".gif", ".png")))}
    total = size_of(folder) + size_of(os.path.join(disc, "index.html"))
    parts["pages, style, scripts"] = total - sum(parts.values())
    return total, parts


WORDS = ("Programm Daten Bilder Musik Werkzeug schnell einfach übersichtlich Dateien Ordner Fenster "
         "Sicherung Größe Straße Format Vorschau Tabelle Kalender Spiel Rätsel Lernen Karte Foto "
         "Editor Übersicht Hilfe Version Testversion kostenlos Englisch Deutsch Windows Linux").split()


def make_catalogue(sample, disc, programs, categories, seed=1):
    rng = random.Random(seed)
    os.makedirs(disc)
    for keep in ("Menue.dat", "Bilder", "Programme"):
        src = os.path.join(sample, keep)
        (shutil.copytree if os.path.isdir(src) else shutil.copy)(src, os.path.join(disc, keep))
    shots = sorted(os.listdir(os.path.join(disc, "Bilder")))
    archives = []
    for d, _, files in os.walk(os.path.join(disc, "Programme")):
        archives += [os.path.relpath(os.path.join(d, f), disc).replace("/", "\\") for f in files if f.endswith(".zip")]
    names, daten = [], []
    per = programs // categories
    for c in range(categories):
        category = f"Rubrik {c + 1:03d} {rng.choice(WORDS)}"
        block = []
        daten.append("Kategorie:" + category)
        for p in range(per):
            name = f"{rng.choice(WORDS)} {rng.choice(WORDS)} {c * per + p + 1}"
            block.append(name)
            text = [" ".join(rng.choice(WORDS) for _ in range(rng.randint(30, 60))) + "." for _ in range(3)]
            daten += ["Programm:  " + name, "Prog_OS:  Windows 98/XP/7", "Lizenz:   Freeware",
                      "Preis:    kostenlos", "Sprache:  Deutsch", "Anbieter: " + rng.choice(WORDS) + " Software",
                      "Homepage:  www.example.org/" + str(c * per + p), "Screenshot:D:\\Bilder\\" + rng.choice(shots),
                      "Install:   D:\\" + rng.choice(archives), "Starten:  ", "Besonder: " + rng.choice(WORDS),
                      "Text:", text[0], "", text[1], "", text[2], ""]
        names.append("Kategorie:" + category)
        names += block
        names.append("")
    for name, lines in (("progname.txt", names), ("daten.txt", daten)):
        with open(os.path.join(disc, name), "wb") as f:
            f.write("\r\n".join(lines).encode("cp1252") + b"\r\n")


def browser_figures(disc, terms):
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                "--disable-component-update", "--disable-sync", "--no-first-run",
                "--user-data-dir=" + tempfile.mkdtemp(prefix="cdmenu-bench-"), "--window-size=1280,900"):
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        shown = []
        for _ in range(5):
            driver.get("file://" + os.path.join(disc, "index.html"))
            shown.append(driver.execute_script(
                "const n = performance.getEntriesByType('navigation')[0];"
                "const p = performance.getEntriesByName('first-contentful-paint')[0];"
                "return [p ? p.startTime : -1, n.loadEventEnd];"))
        driver.get("file://" + os.path.join(disc, "cdweb", "suche.html"))
        data = driver.execute_script(
            "const n = performance.getEntriesByType('navigation')[0]; return n.loadEventEnd;")
        timings = []
        for term, exact in terms:
            timings.append(driver.execute_async_script("""
                const done = arguments[arguments.length - 1];
                const field = document.getElementById('begriff');
                const status = document.getElementById('status');
                document.getElementById('gross').checked = arguments[1];
                const t0 = performance.now();
                field.value = arguments[0];
                field.dispatchEvent(new Event('input'));
                const changed = performance.now();
                requestAnimationFrame(() => setTimeout(() => done([arguments[0], changed - t0,
                    performance.now() - t0, status.textContent]), 0));
            """, term, exact) + [exact])
        return shown, data, timings
    finally:
        driver.quit()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default=os.path.join(ROOT, "build", "release"))
    parser.add_argument("--programs", type=int, default=20000)
    parser.add_argument("--categories", type=int, default=200)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    work = tempfile.mkdtemp(prefix="cdmenu-webbench-")
    try:
        sample = os.path.join(work, "sample")
        shutil.copytree(os.path.join(build, "disc"), sample)
        disc_bytes = size_of(sample)
        median, _ = discweb(build, sample, args.runs)
        total, parts = edition_size(sample)
        print(f"sample disc: discweb {median * 1000:.0f} ms (median of {args.runs})")
        print(f"  web edition {total / 1024:.0f} KiB = {100 * total / disc_bytes:.1f} % of the disc's "
              f"{disc_bytes / 1024:.0f} KiB")
        for what, n in parts.items():
            print(f"    {what:24} {n / 1024:7.0f} KiB")

        big = os.path.join(work, "big")
        start = time.monotonic()
        make_catalogue(sample, big, args.programs, args.categories)
        print(f"\ngenerated catalogue: {args.programs} programs in {args.categories} categories, daten.txt "
              f"{size_of(os.path.join(big, 'daten.txt')) / 2**20:.1f} MiB ({time.monotonic() - start:.1f} s)")
        median, times = discweb(build, big, max(1, args.runs // 2))
        total, parts = edition_size(big)
        pages = sum(1 for f in os.listdir(os.path.join(big, "cdweb")) if f.endswith(".html")) + 1
        print(f"  discweb {median:.2f} s (runs: {', '.join(f'{t:.2f}' for t in times)}), {pages} pages, "
              f"{total / 2**20:.1f} MiB")
        for what, n in parts.items():
            print(f"    {what:24} {n / 2**20:7.1f} MiB")

        terms = [(t, exact) for exact in (False, True)
                 for t in ("Programm", "straße", "Rätsel 17", "zzz", "e", "Editor 1999", "www.example.org/19999")]
        shown, data, timings = browser_figures(big, terms)
        painted = [s[0] for s in shown if s[0] >= 0]  # headless Chromium does not always record it
        fcp = statistics.median(painted) if painted else float("nan")
        load = statistics.median(s[1] for s in shown)
        print(f"\nheadless Chromium on that edition:")
        print(f"  start page: first contentful paint {fcp:.0f} ms, load event {load:.0f} ms (median of 5)")
        print(f"  search page with its data read: load event {data:.0f} ms")
        for i, (term, handler, frame, said, exact) in enumerate(timings):
            note = " (first search of the page)" if i == 0 else ""
            print(f"  search {term!r:24} {'case ' if exact else 'a-z  '} list changed {handler:6.1f} ms, next frame {frame:6.1f} ms: "
                  f"{said}{note}")
        rest = [t[2] for t in timings[1:]]
        print(f"  median over the later searches: {statistics.median(rest):.1f} ms to the next frame")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
