// Catalogue reading against grep over the same generated daten.txt (20,000 records, about 20 MB):
// a program page for a record near the end, and a case-insensitive search. Each menu iteration
// reads the file afresh, as the menu does for every page and every search. grep runs as a child
// process (spawn + read + count), once with the caller's locale and once with LC_ALL=C.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Catalogue.h"
#include "bench/Timing.h"
#include "tools/common/CatalogueWriter.h"

namespace {

constexpr int kRecords = 20000;
constexpr int kTarget = kRecords - 7;  // the program looked up, near the end

std::string ProgramName(int i) {
    return "Programm Nummer " + std::to_string(i);
}

const std::string& DatenPath() {
    static const std::string path = [] {
        std::mt19937 rng(1234);
        const std::vector<std::string> words = {
            "Daten",     "Dateien",     "schnell",       "einfach",  "Bilder",   "Musik",    "verwalten",
            "Werkzeug",  "Fenster",     "Oberfl\344che", "Drucker",  "Tabellen", "Texte",    "Archiv",
            "Sicherung", "komfortabel", "Funktion",      "Optionen", "Benutzer", "Programm", "Format",
            "Export",    "Import",      "Vorschau",      "Farben",   "Schrift",  "Ordner",   "Suche",
            "Liste",     "Kalender",    "Termine",       "Adressen", "Spiel",    "Level",    "Grafik",
            "Sound",     "Netz",        "Internet",      "E-Mail",   "Browser",  "und",      "mit",
            "f\xFCr",    "die",         "der",           "das",      "eine",     "viele"};
        auto sentence = [&](int n) {
            std::string s;
            for (int k = 0; k < n; ++k) s += (k ? " " : "") + words[rng() % words.size()];
            return s + ".";
        };
        TCatalogueWriter w;
        const int perCategory = kRecords / 20;
        for (int c = 0; c < 20; ++c) {
            TCatalogueCategory category{"Rubrik " + std::to_string(c), {}};
            for (int i = c * perCategory; i < (c + 1) * perCategory; ++i) {
                TCatalogueProgram p;
                p.Name = ProgramName(i);
                p.Os = "Windows 95/98/ME/NT/2000/XP";
                p.Licence = i % 3 ? "Freeware" : "Shareware";
                p.Price = i % 3 ? "kostenlos" : "19,95 EUR";
                p.Language = i % 2 ? "Deutsch" : "Englisch";
                p.Vendor = "Hersteller " + std::to_string(i % 500);
                p.Homepage = "www.example.org/programm" + std::to_string(i);
                p.Screenshot = "D:\\BILDER\\P" + std::to_string(i) + ".JPG";
                p.Install = "D:\\PROGRAMME\\P" + std::to_string(i) + "\\SETUP.EXE";
                p.Start = "D:\\PROGRAMME\\P" + std::to_string(i) + "\\START.EXE";
                p.Features = i % 4 ? "" : "netzwerkf\xE4hig, portabel";
                for (int line = 0; line < 10; ++line) p.Description.push_back(sentence(9));
                // One record in a hundred mentions the search term.
                if (i % 100 == 42) p.Description.push_back("Mit eingebautem Zauberwort-Assistenten.");
                category.Programs.push_back(std::move(p));
            }
            w.Categories.push_back(std::move(category));
        }
        std::string file = (std::filesystem::temp_directory_path() / "cdmenu-bench-daten.txt").string();
        std::ofstream(file, std::ios::binary) << w.Daten();
        return file;
    }();
    return path;
}

// Arg 0: a new catalogue object per page; arg 1: one object read afresh per page (buffer reused);
// arg 2: the file read in pieces, as the menu's page does.
void BM_PageLookup(benchmark::State& state) {
    const std::string& path = DatenPath();
    const std::string name = ProgramName(kTarget);
    TCatalogue kept;
    for (auto _ : state) {
        std::optional<TProgramRecord> record;
        if (state.range(0) == 2) {
            record = FindProgramRecordFile(path, name, "Rubrik 19", false);
        } else {
            TCatalogue fresh;
            TCatalogue& daten = state.range(0) ? kept : fresh;
            daten.Load(path);
            record = FindProgramRecord(daten, name, "Rubrik 19", false);
        }
        if (!record) state.SkipWithError("record not found");
        benchmark::DoNotOptimize(record);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_PageLookup)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_GrepCountProgramLine(benchmark::State& state) {
    const std::string& path = DatenPath();
    double cpuMs = 0;
    for (auto _ : state) {
        long n = bench::RunCount({"grep", "-c", "Programm:  " + ProgramName(kTarget), path},
                                 state.range(0) != 0, cpuMs);
        if (n != 1) state.SkipWithError("unexpected grep count");
    }
    state.counters["grep_cpu_ms"] = cpuMs / static_cast<double>(state.iterations());
    state.SetLabel(state.range(0) ? "LC_ALL=C" : "caller's locale");
}
BENCHMARK(BM_GrepCountProgramLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One search of the file, read afresh, an iteration; hits: how many names it must find (0: any).
void SearchEachIteration(benchmark::State& state, const char* term, size_t hits) {
    const std::string& path = DatenPath();
    TCatalogue daten;
    for (auto _ : state) {
        daten.Load(path);
        auto names = SearchCatalogue(daten, term, false);
        if (hits && names.size() != hits) state.SkipWithError("unexpected hit count");
        benchmark::DoNotOptimize(names);
    }
}

void BM_SearchCatalogueIgnoringCase(benchmark::State& state) {
    SearchEachIteration(state, "zauberwort", kRecords / 100);
}
BENCHMARK(BM_SearchCatalogueIgnoringCase)->Unit(benchmark::kMillisecond);

// A term that occurs in nearly every record, so the per-hit work dominates.
void BM_SearchCatalogueCommonTerm(benchmark::State& state) {
    SearchEachIteration(state, "daten", 0);
}
BENCHMARK(BM_SearchCatalogueCommonTerm)->Unit(benchmark::kMillisecond);

void BM_GrepIgnoreCaseCount(benchmark::State& state) {
    const std::string& path = DatenPath();
    const char* term = state.range(1) ? "daten" : "zauberwort";
    double cpuMs = 0;
    for (auto _ : state) {
        long n = bench::RunCount({"grep", "-ic", term, path}, state.range(0) != 0, cpuMs);
        benchmark::DoNotOptimize(n);
    }
    state.counters["grep_cpu_ms"] = cpuMs / static_cast<double>(state.iterations());
    state.SetLabel(std::string(term) + (state.range(0) ? ", LC_ALL=C" : ", caller's locale"));
}
BENCHMARK(BM_GrepIgnoreCaseCount)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// One menu search (the file read in pieces, as the search dialog does) and one grep -ic per
// iteration, so both see the same load; medians of each and the ratios. Arg 0: a rare term (one
// record in a hundred); arg 1: a term found in almost every record.
void BM_SearchAgainstGrep(benchmark::State& state) {
    const std::string& path = DatenPath();
    const char* term = state.range(0) ? "daten" : "zauberwort";
    bench::SideBySide times;
    for (auto _ : state) {
        const std::vector<std::string> names =
            times.Ours([&] { return SearchCatalogueFile(path, term, false); });
        const long lines = times.Child([&](double& cpuMs) {
            return bench::RunCount({"grep", "-ic", term, path}, true, cpuMs);
        });
        if (names.empty() || lines <= 0) {
            state.SkipWithError("the term was not found");
            break;
        }
    }
    times.Report(state, "search", "grep");
    state.SetLabel(std::string(term) + " against grep -ic, LC_ALL=C");
}
BENCHMARK(BM_SearchAgainstGrep)->Arg(0)->Arg(1)->Apply(bench::SideBySideRuns);

}  // namespace

BENCHMARK_MAIN();
