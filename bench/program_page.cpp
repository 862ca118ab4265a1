// The program page of the real main window (headless) on a generated daten.txt of 20,000 records
// (about 20 MB), for a program near the end of the file, against grep -c over the same file in the
// same run: grep's time is what merely reading the file costs. The page reads and scans the whole
// file for every build, as the menu does; two neighbouring programs alternate so that the guard
// against rebuilding the same page never skips one.
//
// CPU figures: the page's as process CPU time, grep's as the child's user + system time (wait4),
// so that other work on the machine does not count; wall times are reported beside them.
// BM_PageAgainstGrep interleaves the two, one of each per iteration, and reports the medians and
// their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "flat/FlatGroupBox.h"
#include "flat/FlatListBox.h"
#include "tests/support/MenuFixture.h"
#include "tools/common/CatalogueWriter.h"

namespace {

constexpr int kCategories = 10;  // all of them get a button (more than 13 would scroll)
constexpr int kPerCategory = 2000;
constexpr int kRecords = kCategories * kPerCategory;
// The two programs shown in turn: in the last category, a few records before the end of the file.
constexpr int kFromEnd[2] = {7, 8};

std::string ProgramName(int i) {
    return "Programm Nummer " + std::to_string(i);
}

// Records as a disc author writes them: ten lines of description, a screenshot of the sample disc
// (so the page decodes a real thumbnail), install and start paths, features on every fourth.
TCatalogueWriter MakeCatalogue(const std::vector<std::string>& pictures) {
    std::mt19937 rng(1234);
    const std::vector<std::string> words = {
        "Daten",    "Dateien",  "schnell",      "einfach", "Bilder",   "Musik",     "verwalten",   "Werkzeug",
        "Fenster",  "Drucker",  "Tabellen",     "Texte",   "Archiv",   "Sicherung", "komfortabel", "Funktion",
        "Optionen", "Benutzer", "Format",       "Export",  "Import",   "Vorschau",  "Farben",      "Schrift",
        "Ordner",   "Liste",    "Kalender",     "Termine", "Adressen", "Spiel",     "Grafik",      "Sound",
        "Netz",     "Internet", "und",          "mit",     "f\xFCr",   "die",       "der",         "das",
        "eine",     "viele",    "Oberfl\344che"};
    auto sentence = [&](int n) {
        std::string s;
        for (int k = 0; k < n; ++k) s += (k ? " " : "") + words[rng() % words.size()];
        return s + ".";
    };
    TCatalogueWriter w;
    for (int c = 0; c < kCategories; ++c) {
        TCatalogueCategory category{"Rubrik " + std::to_string(c), {}};
        for (int i = c * kPerCategory; i < (c + 1) * kPerCategory; ++i) {
            TCatalogueProgram p;
            p.Name = ProgramName(i);
            p.Os = "Windows 95/98/ME/NT/2000/XP";
            p.Licence = i % 3 ? "Freeware" : "Shareware (30 Tage Testversion)";
            p.Price = i % 3 ? "kostenlos" : "19,95 EUR";
            p.Language = i % 2 ? "Deutsch" : "Deutsch, Englisch";
            p.Vendor = "Hersteller " + std::to_string(i % 500);
            p.Homepage = "www.example.org/programm" + std::to_string(i);
            p.Screenshot = "D:\\Bilder\\" + pictures[size_t(i) % pictures.size()];
            p.Install = "D:\\Programme\\P" + std::to_string(i) + "\\setup.exe";
            p.Start = i % 2 ? "D:\\Programme\\P" + std::to_string(i) + "\\start.exe" : "";
            p.Features = i % 4 ? "" : "netzwerkf\xE4hig, portabel";
            for (int line = 0; line < 10; ++line) p.Description.push_back(sentence(12));
            category.Programs.push_back(std::move(p));
        }
        w.Categories.push_back(std::move(category));
    }
    return w;
}

// The menu started on a copy of the sample disc whose catalogue is the generated one, with the last
// category's list shown. Made once; the benchmarks share it.
struct PageSetup {
    std::unique_ptr<MenuFixture> menu;
    std::string daten;  // native path of the generated daten.txt
    int index[2] = {0, 0};
    std::string error;

    PageSetup() {
        menu = std::make_unique<MenuFixture>(MenuFixture::kNoStart);
        std::vector<std::string> pictures;
        for (const auto& e : std::filesystem::directory_iterator(menu->Dir() + "Bilder"))
            if (e.path().extension() == ".jpg") pictures.push_back(e.path().filename().string());
        std::sort(pictures.begin(), pictures.end());
        if (pictures.empty()) {
            error = "the sample disc has no screenshots";
            return;
        }
        const TCatalogueWriter w = MakeCatalogue(pictures);
        menu->WriteFile("daten.txt", w.Daten());
        menu->WriteFile("progname.txt", w.ProgName());
        daten = menu->Dir() + "daten.txt";
        if (!menu->Start()) {
            error = "the menu did not start on the disc copy";
            return;
        }
        TMainForm* m = menu->Main();
        if (int(m->Column().Buttons().size()) != kCategories) {
            error = "not every category has its button";
            return;
        }
        menu->Click(m->Column().Buttons().back());
        const int count = m->List().lbProgramme()->Items().Count();
        if (count != kPerCategory) {
            error = "the last category's list is incomplete";
            return;
        }
        for (int k = 0; k < 2; ++k) index[k] = count - kFromEnd[k];
    }

    // Selects the other of the two programs and builds its page; false when it was not built.
    // The turn is kept across runs, so that no run starts on the page the last one ended with.
    bool ShowNext() {
        const int k = turn;
        turn ^= 1;
        TMainForm* m = menu->Main();
        const int before = m->Model().PageBuilds();
        m->List().lbProgramme()->SetItemIndex(index[k]);
        m->ShowProgramPage();
        return m->Model().PageBuilds() == before + 1 && m->Page().FactRowCount() == 6 &&
               m->Model().CurrentProgram() == ProgramName(kRecords - kFromEnd[k]);
    }
    int turn = 0;
    // Paints and presents what the page changed (not part of the page's figure).
    void Present() { menu->Backend().Pump(); }
};

PageSetup* setup = nullptr;  // made by the first benchmark, removed after the last

PageSetup& Setup() {
    if (!setup) setup = new PageSetup;
    return *setup;
}

// grep -c for the line of the program, with LC_ALL=C (its fastest form).
long GrepCount(const std::string& pattern, const std::string& file, double& cpuMs) {
    return bench::RunCount({"grep", "-c", pattern, file}, true, cpuMs);
}

std::string GrepPattern(int k) {
    return "Programm:  " + ProgramName(kRecords - kFromEnd[k]);
}

void BM_ShowProgramPage(benchmark::State& state) {
    PageSetup& s = Setup();
    if (!bench::Ready(state, s.error)) return;
    for (auto _ : state) {
        if (!s.ShowNext()) {
            state.SkipWithError("the page was not built from its record");
            break;
        }
        state.PauseTiming();
        s.Present();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(std::filesystem::file_size(s.daten)));
}
BENCHMARK(BM_ShowProgramPage)->Apply(bench::ProcessCpuRuns);

// Time column: grep's wall time as the parent sees it (spawn to exit); grep_cpu_ms: the child's.
void BM_GrepCount(benchmark::State& state) {
    PageSetup& s = Setup();
    if (!bench::Ready(state, s.error)) return;
    double cpuMs = 0;
    int i = 0;
    for (auto _ : state) {
        if (GrepCount(GrepPattern(i++ % 2), s.daten, cpuMs) != 1) {
            state.SkipWithError("grep did not find the program's line once");
            break;
        }
    }
    state.counters["grep_cpu_ms"] = cpuMs / double(std::max<int64_t>(state.iterations(), 1));
}
BENCHMARK(BM_GrepCount)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One page and one grep per iteration, so both see the same load; medians of each and the ratios.
void BM_PageAgainstGrep(benchmark::State& state) {
    PageSetup& s = Setup();
    if (!bench::Ready(state, s.error)) return;
    bench::SideBySide times;
    for (auto _ : state) {
        const int k = s.turn;
        const bool built = times.Ours([&] { return s.ShowNext(); });
        s.Present();
        const long n = times.Child([&](double& cpuMs) { return GrepCount(GrepPattern(k), s.daten, cpuMs); });
        if (!built || n != 1) {
            state.SkipWithError("a page was not built, or grep did not find its line");
            break;
        }
    }
    times.Report(state, "page", "grep");
}
BENCHMARK(BM_PageAgainstGrep)->Apply(bench::SideBySideRuns);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv, setup);  // the menu and its disc copy
}
