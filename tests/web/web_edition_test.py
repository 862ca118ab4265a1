#!/usr/bin/python3
"""The web edition in a real browser.

discweb writes the web edition of the sample disc and of a disc with the hard cases (umlauts, "&",
markup in names and descriptions, an empty category, the "Spiele"/"Spiele 2" headers, a record
without a description, a missing and a damaged screenshot). Debian's headless Chromium, driven by
Selenium, then clicks through categories, programs and the search as a reader would, and every
list, fact and search result is compared with what the menu's own functions give (menu_query, which
calls them). axe-core checks the start page, a program page and the search results; nothing may
scroll sideways at 360 pixels; nothing may be fetched from outside the disc.

    web_edition_test.py --build BUILD_DIR --query MENU_QUERY [--keep DIR]

Exit code 0 when every check held, 1 otherwise, 77 (skipped) when Chromium, its driver or
Selenium is missing.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
AXE = os.path.join(HERE, "node_modules", "axe-core", "axe.min.js")
CHROMIUM = "/usr/bin/chromium"
DRIVER = "/usr/bin/chromedriver"

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
except ImportError:
    print("SKIP: python3-selenium is not installed (./scripts/setup.sh)")
    sys.exit(77)

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, flush=True)
    return condition


def run(cmd):
    return subprocess.run(cmd, capture_output=True, text=True, encoding="utf-8", errors="replace")


class Menu:
    """What the menu lists, shows and finds, from its own functions."""

    def __init__(self, query, disc):
        self.query, self.disc = query, disc

    def lines(self, *args):
        r = run([self.query, self.disc, *args])
        if r.returncode != 0:
            raise RuntimeError(f"menu_query {args}: {r.stderr}")
        return r.stdout.split("\n")[:-1]

    def categories(self):
        return self.lines("categories")

    def programs(self, category):
        return self.lines("programs", category)

    def page(self, category, program):
        out = self.lines("page", category, program)
        cut = out.index("--")
        return [tuple(f.split("\t", 1)) for f in out[:cut]], out[cut + 1:]

    def search(self, term, match_case=False):
        return self.lines("search", term, *(["case"] if match_case else []))


# ---- the disc with the hard cases -------------------------------------------------------------

NASTY = "Käsekuchen & Co <b>fett</b>"
SCRIPT_LINE = '<script>window.__boom = 1</script> und <img src=x onerror="window.__boom = 2">'


def record(name, shot, description, homepage="www.example.org", install="", start=""):
    return ["Programm:  " + name, "Prog_OS:  Linux", "Lizenz:   Freeware", "Preis:    kostenlos",
            "Sprache:  Deutsch", "Anbieter: Bäcker & Söhne \"Ofen\"", "Homepage:  " + homepage,
            "Screenshot:" + shot, "Install:   " + install, "Starten:  " + start,
            "Besonder: Größe & Umfang <i>gering</i>", "Text:", *description, ""]


def make_hard_disc(sample, disc):
    shutil.copytree(sample, disc)
    # A screenshot whose bytes begin like a JPEG and then break off.
    with open(os.path.join(disc, "Bilder", "kaputt.jpg"), "wb") as f:
        f.write(b"\xff\xd8\xff\xe0\x00\x10JFIF\x00" + b"\x13" * 40)
    blocks = [("Spiele", [NASTY, "Ohne Beschreibung"]), ("Spiele 2", ["Straßenflitzer"]),
              ("Leere Rubrik", [])]
    names = "".join("Kategorie:" + c + "\r\n" + "".join(p + "\r\n" for p in ps) + "\r\n" for c, ps in blocks)
    records = {
        "Spiele": [
            record(NASTY, "D:\\Bilder\\fehlt.jpg",
                   [SCRIPT_LINE, "", "Tom & Jerry sagen \"Hallo\" und 'Tschüß' </p><p> & &amp; Ende."]),
            record("Ohne Beschreibung", "D:\\Bilder\\textfuchs32.jpg", [""], homepage=""),
        ],
        "Spiele 2": [record("Straßenflitzer", "D:\\Bilder\\kaputt.jpg", ["Rasant über die Straße."],
                            homepage="www.straße.example/?a=1&b=2")],
    }
    daten = ""
    for category, recs in records.items():
        daten += "Kategorie:" + category + "\r\n"
        for r in recs:
            daten += "".join(line + "\r\n" for line in r)
    # One byte that Windows-1252 leaves unassigned, in a features line: the edition must report it.
    unassigned = "Besonder: Größe & Umfang <i>gering</i>\r\nText:\r\nRasant"
    assert unassigned in daten
    daten = daten.replace(unassigned, unassigned.replace("gering", "gering \x81"))
    for name, text in (("progname.txt", names), ("daten.txt", daten)):
        with open(os.path.join(disc, name), "ab") as f:
            f.write(b"".join(b"\x81" if ch == "\x81" else ch.encode("cp1252") for ch in text))


# ---- the browser -------------------------------------------------------------------------------

def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for arg in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                "--disable-component-update", "--disable-sync", "--no-first-run",
                "--user-data-dir=" + profile, "--window-size=1280,900", "--hide-scrollbars"):
        options.add_argument(arg)
    return webdriver.Chrome(service=Service(DRIVER), options=options)


def url(path):
    return "file://" + os.path.abspath(path)


def texts(driver, css):
    return [e.get_attribute("textContent") for e in driver.find_elements(By.CSS_SELECTOR, css)]


def list_of(driver, name):
    """The link texts of the list whose accessible name is name."""
    lists = driver.find_elements(By.CSS_SELECTOR, f'ul[aria-label="{name}"]')
    if not check(len(lists) == 1, f"{driver.current_url}: one list named {name!r}"):
        return []
    check(lists[0].accessible_name == name, f"{driver.current_url}: the list's accessible name is {name!r}")
    return driver.execute_script(
        "return Array.from(arguments[0].querySelectorAll('li > a')).map(a => a.textContent)", lists[0])


def axe(driver, what):
    with open(AXE, encoding="utf-8") as f:
        driver.execute_script(f.read())
    result = driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "axe.run(document, {resultTypes: ['violations']}).then(r => done(r.violations.map("
        "v => [v.id, v.impact, v.nodes.length, v.help])));")
    bad = [v for v in result if v[1] in ("serious", "critical")]
    check(not bad, f"axe-core on {what}: {bad}")


def no_sideways_scroll(driver, what):
    driver.set_window_size(360, 800)
    wide = driver.execute_script("return [document.documentElement.scrollWidth, window.innerWidth]")
    check(wide[0] <= wide[1], f"{what} at 360 px scrolls sideways: {wide}")
    driver.set_window_size(1280, 900)


def nothing_from_elsewhere(driver, what):
    fetched = driver.execute_script(
        "return performance.getEntriesByType('resource').map(e => e.name)"
        ".concat([location.href]).filter(n => !n.startsWith('file:'))")
    check(not fetched, f"{what} fetched from outside the disc: {fetched}")


def follow(driver, css, hrefs, i):
    """The i-th link of css: the first by a click, the others by their addresses (the same pages,
    fewer loads)."""
    if i == 0:
        driver.find_elements(By.CSS_SELECTOR, css)[0].click()
    else:
        driver.get(hrefs[i])


def open_page(driver, link_text, within):
    for a in driver.find_elements(By.CSS_SELECTOR, within + " a"):
        if a.get_attribute("textContent") == link_text:
            a.click()
            return True
    return check(False, f"{driver.current_url}: no link {link_text!r} in {within}")


PAGE_SCRIPT = """
const all = (css) => Array.from(document.querySelectorAll(css));
return {
  h1: all('main h1').map(e => e.textContent),
  facts: all('.fakten > div').map(d => [d.querySelector('dt').textContent, d.querySelector('dd').textContent]),
  homepage: all('.fakten dd a').map(a => a.href),
  paragraphs: all('.beschreibung p').map(e => e.textContent),
};
"""
LINKS_SCRIPT = "return Array.from(document.querySelectorAll(arguments[0])).map(a => a.href)"


def check_program_page(driver, menu, category, program):
    shown = driver.execute_script(PAGE_SCRIPT)
    check(shown["h1"] == [program], f"{category}/{program}: the heading is the program's name")
    facts, description = menu.page(category, program)
    facts = [list(f) for f in facts]
    check(shown["facts"] == facts, f"{category}/{program}: facts {shown['facts']} are the record's {facts}")
    homepage = [v for k, v in facts if k == "Homepage"]
    check(len(shown["homepage"]) == len(homepage) and all(h.startswith("http://") for h in shown["homepage"]),
          f"{category}/{program}: the homepage is a link")
    check(shown["paragraphs"] == description,
          f"{category}/{program}: description {shown['paragraphs']} is {description}")


def search(driver, term, match_case):
    field = driver.find_element(By.ID, "begriff")
    box = driver.find_element(By.ID, "gross")
    if box.is_selected() != match_case:
        box.click()
    field.clear()
    field.send_keys(term)
    return list_of(driver, "Suchergebnisse")


def check_disc(driver, menu, disc, terms, keep, walk=None):
    """walk: the categories whose programs are all opened (None: every category)."""
    index = os.path.join(disc, "index.html")
    driver.get(url(index))
    check(driver.find_element(By.TAG_NAME, "html").get_attribute("lang") == "de", "lang is de")
    categories = menu.categories()
    check(list_of(driver, "Kategorien") == categories, f"the start page lists the menu's categories {categories}")
    nothing_from_elsewhere(driver, "the start page")
    axe(driver, "the start page")
    no_sideways_scroll(driver, "the start page")
    if keep:
        driver.save_screenshot(os.path.join(keep, os.path.basename(disc) + "-start.png"))

    # Every category and every program of it, reached by clicking.
    seen = set()
    category_links = 'ul[aria-label="Kategorien"] a'
    category_pages = driver.execute_script(LINKS_SCRIPT, category_links)
    for c, category in enumerate(categories):
        follow(driver, category_links, category_pages, c)
        programs = menu.programs(category)
        check(list_of(driver, "Programme") == programs, f"{category}: the menu's programs {programs}")
        if not programs:
            check(driver.find_elements(By.CSS_SELECTOR, "main .leer"), f"{category}: says it is empty")
        if category in seen or (walk is not None and category not in walk):
            continue
        seen.add(category)
        program_links = 'ul[aria-label="Programme"] a'
        program_pages = driver.execute_script(LINKS_SCRIPT, program_links)
        for p, program in enumerate(programs):
            follow(driver, program_links, program_pages, p)
            check_program_page(driver, menu, category, program)

    # The full-screen picture of the first program with one: next goes along the list, Escape closes.
    driver.get(url(index))
    driver.find_elements(By.CSS_SELECTOR, 'ul[aria-label="Kategorien"] a')[0].click()
    driver.find_elements(By.CSS_SELECTOR, 'ul[aria-label="Programme"] a')[0].click()
    program_page = driver.current_url
    if keep:
        driver.save_screenshot(os.path.join(keep, os.path.basename(disc) + "-program.png"))
        driver.set_window_size(360, 800)
        driver.save_screenshot(os.path.join(keep, os.path.basename(disc) + "-program-360.png"))
        driver.set_window_size(1280, 900)
    axe(driver, "a program page")
    no_sideways_scroll(driver, "a program page")
    nothing_from_elsewhere(driver, "a program page")
    pictures = driver.find_elements(By.LINK_TEXT, "Vollbild-Screenshot")
    if pictures:
        pictures[0].click()
        view = driver.find_element(By.ID, "vollbild")
        check(view.is_displayed(), "the full-screen picture opens")
        loaded = driver.execute_script(
            "const i = document.querySelector('#vollbild img'); return i.complete && i.naturalWidth > 0")
        check(loaded, "the full-screen picture is the disc's own and shows")
        programs = menu.programs(categories[0])
        if len(programs) > 1:
            driver.switch_to.active_element.send_keys(Keys.ARROW_RIGHT)
            check(texts(driver, "main h1") == [programs[1]], "Right goes to the next program's picture")
            check(driver.find_element(By.ID, "vollbild").is_displayed(), "and shows it full-screen")
            driver.switch_to.active_element.send_keys(Keys.ESCAPE)
            check(not driver.find_element(By.ID, "vollbild").is_displayed(), "Escape closes the picture")

    # Keyboard: the first Tab shows where the focus is.
    driver.get(program_page)
    driver.find_element(By.TAG_NAME, "body").send_keys(Keys.TAB)
    outline = driver.execute_script("return getComputedStyle(document.activeElement).outlineStyle")
    check(outline not in ("none", ""), f"the focused link shows a focus frame ({outline})")

    # The search, as the reader types, against the menu's own search.
    driver.get(url(os.path.join(disc, "cdweb", "suche.html")))
    for term, match_case in terms:
        expected = menu.search(term, match_case)
        found = search(driver, term, match_case)
        check(found == expected, f"search {term!r} (case {match_case}): {found} is the menu's {expected}")
        status = driver.find_element(By.ID, "status").get_attribute("textContent")
        if not expected and term.strip():
            check(status == "Es konnten keine Programme gefunden werden, die Ihrer Suche entsprechen.",
                  f"search {term!r}: says that nothing was found ({status!r})")
    term = next(t for t, _ in terms if menu.search(t))
    results = search(driver, term, False)
    axe(driver, "the search results")
    no_sideways_scroll(driver, "the search results")
    if keep:
        driver.save_screenshot(os.path.join(keep, os.path.basename(disc) + "-search.png"))
    driver.find_elements(By.CSS_SELECTOR, 'ul[aria-label="Suchergebnisse"] a')[0].click()
    check(texts(driver, "main h1") == [results[0]], "a search result opens its program's page")
    check_program_page(driver, menu, "Suchergebnisse", results[0])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--query", required=True)
    parser.add_argument("--keep", help="keep screenshots of the pages here")
    args = parser.parse_args()
    for need in (CHROMIUM, DRIVER, AXE):
        if not os.path.exists(need):
            print(f"SKIP: {need} is missing (./scripts/setup.sh)")
            return 77
    started = time.monotonic()
    work = tempfile.mkdtemp(prefix="cdmenu-web-")
    driver = None
    try:
        sample = os.path.join(work, "sample")
        shutil.copytree(os.path.join(args.build, "disc"), sample)
        hard = os.path.join(work, "hard")
        make_hard_disc(os.path.join(args.build, "disc"), hard)
        discweb = os.path.join(args.build, "discweb")

        made = run([discweb, sample, sample])
        check(made.returncode == 0 and not made.stderr, f"the sample disc's web edition is clean: {made.stderr}")
        made = run([discweb, hard, hard])
        check(made.returncode == 1, "the hard disc's problems give status 1")
        for said in ("fehlt.jpg", "kaputt.jpg", "not a JPEG", "screenshot missing", "Kategorie:Spiele",
                     "the byte 0x81"):
            check(said in made.stderr, f"discweb lists {said!r}: {made.stderr}")
        # For a website: the disc's files under the given address, the pages' own links relative.
        site = os.path.join(work, "site")
        made = run([discweb, sample, site, "--base-url", "https://www.example.net/softbox/"])
        page = open(os.path.join(site, "cdweb", "k2-1.html"), encoding="utf-8").read()
        check(made.returncode == 0 and 'href="https://www.example.net/softbox/Programme/' in page
              and 'href="k2.html"' in page and "../Programme" not in page,
              "--base-url: the disc's files under the address, the pages relative")
        os.mkdir(os.path.join(work, "empty"))
        unreadable = run([discweb, os.path.join(work, "empty"), os.path.join(work, "out")])
        check(unreadable.returncode == 1 and "cannot be read" in unreadable.stderr,
              f"a disc without data: a message and status 1 ({unreadable.stderr})")

        driver = browser(tempfile.mkdtemp(prefix="profile-", dir=work))
        check_disc(driver, Menu(args.query, sample), sample,
                   [("e", False), ("Spiel", False), ("SPIEL", True), ("spiel", True), ("ä", False),
                    ("Freeware", False), ("Lizenz", False), ("  Foto ", False), ("&", False),
                    ("D:\\", False), ("xyzzy", False)], args.keep)

        hard_menu = Menu(args.query, hard)
        # Its categories of the sample disc were walked above; here the added ones.
        check_disc(driver, hard_menu, hard,
                   [("<script>", False), ("&", False), ("käse", False), ("Käse", True), ("STRASSE", False),
                    ("ß", False), ("Spiele", False), ("</p><p>", False), ("'Tschüß'", False)], args.keep,
                   walk={"Spiele", "Spiele 2", "Leere Rubrik"})
        # Text stays text: the markup of the record shows as characters and runs nothing.
        driver.get(url(os.path.join(hard, "index.html")))
        categories = hard_menu.categories()
        c = categories.index("Spiele")
        driver.find_elements(By.CSS_SELECTOR, 'ul[aria-label="Kategorien"] a')[c].click()
        check(open_page(driver, NASTY, 'ul[aria-label="Programme"]'), "the program with markup in its name")
        check(not driver.find_elements(By.CSS_SELECTOR, "main h1 b"), "a name's <b> is no markup")
        check(SCRIPT_LINE in texts(driver, ".beschreibung p"), "the description shows <script> as text")
        check(driver.execute_script("return window.__boom === undefined"), "the description runs nothing")
        check(texts(driver, ".keinbild") == ["Kein Screenshot"], "a missing screenshot: the page says so")
        check(any("Größe & Umfang <i>gering</i>" in t for t in texts(driver, ".besonderheiten")),
              "the features keep their characters")
        check(open_page(driver, "Nächstes: Ohne Beschreibung", ".blaettern"), "the next program")
        check(not driver.find_elements(By.CSS_SELECTOR, ".beschreibung"), "a record without description shows none")
        driver.get(url(os.path.join(hard, "index.html")))
        empty = categories.index("Leere Rubrik")
        counts = texts(driver, 'ul[aria-label="Kategorien"] .anzahl')
        check(counts[empty] == "keine Programme", f"the empty category shows as empty ({counts[empty]!r})")
    finally:
        if driver:
            driver.quit()
        shutil.rmtree(work, ignore_errors=True)
    print(f"web edition: {len(failures)} failures, {time.monotonic() - started:.1f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
