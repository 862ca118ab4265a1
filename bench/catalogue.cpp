// Catalogue reading against grep over the same generated daten.txt (20,000 records, about 20 MB):
// a program page for a record near the end, and a case-insensitive search. Each menu iteration
// reads the file afresh, as the menu does for every page and every search. grep runs as a child
// process (spawn + read + count), once with the caller's locale and once with LC_ALL=C.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

extern char** environ;

namespace {

constexpr int kRecords = 20000;
constexpr int kTarget = kRecords - 7;  // the program looked up, near the end

std::string ProgramName(int i) {
    return "Programm Nummer " + std::to_string(i);
}

const std::string& DatenPath() {
    static const std::string path = [] {
        std::mt19937 rng(1234);
        const std::vector<std::string> words = {"Daten",
                                                "Dateien",
                                                "schnell",
                                                "einfach",
                                                "Bilder",
                                                "Musik",
                                                "verwalten",
                                                "Werkzeug",
                                                "Fenster",
                                                "Oberfl\xE4"
                                                "che",
                                                "Drucker",
                                                "Tabellen",
                                                "Texte",
                                                "Archiv",
                                                "Sicherung",
                                                "komfortabel",
                                                "Funktion",
                                                "Optionen",
                                                "Benutzer",
                                                "Programm",
                                                "Format",
                                                "Export",
                                                "Import",
                                                "Vorschau",
                                                "Farben",
                                                "Schrift",
                                                "Ordner",
                                                "Suche",
                                                "Liste",
                                                "Kalender",
                                                "Termine",
                                                "Adressen",
                                                "Spiel",
                                                "Level",
                                                "Grafik",
                                                "Sound",
                                                "Netz",
                                                "Internet",
                                                "E-Mail",
                                                "Browser",
                                                "und",
                                                "mit",
                                                "f\xFCr",
                                                "die",
                                                "der",
                                                "das",
                                                "eine",
                                                "viele"};
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

// Runs grep with the arguments and returns its count (stdout parsed); its CPU time goes to cpu.
long RunGrep(const std::vector<std::string>& args, bool cLocale, double& cpuMs) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> envStore;
    std::vector<char*> env;
    for (char** e = environ; *e; ++e)
        if (!cLocale || (std::string(*e).rfind("LC_", 0) != 0 && std::string(*e).rfind("LANG", 0) != 0))
            env.push_back(*e);
    if (cLocale) {
        envStore = {"LC_ALL=C"};
        env.push_back(envStore[0].data());
    }
    env.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), env.data()) != 0)
        throw std::runtime_error("grep cannot be started");
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    cpuMs += (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
             (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return std::strtol(text.c_str(), nullptr, 10);
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
        long n =
            RunGrep({"grep", "-c", "Programm:  " + ProgramName(kTarget), path}, state.range(0) != 0, cpuMs);
        if (n != 1) state.SkipWithError("unexpected grep count");
    }
    state.counters["grep_cpu_ms"] = cpuMs / static_cast<double>(state.iterations());
    state.SetLabel(state.range(0) ? "LC_ALL=C" : "caller's locale");
}
BENCHMARK(BM_GrepCountProgramLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SearchCatalogueIgnoringCase(benchmark::State& state) {
    const std::string& path = DatenPath();
    TCatalogue daten;
    for (auto _ : state) {
        daten.Load(path);
        auto names = SearchCatalogue(daten, "zauberwort", false);
        if (names.size() != kRecords / 100) state.SkipWithError("unexpected hit count");
        benchmark::DoNotOptimize(names);
    }
}
BENCHMARK(BM_SearchCatalogueIgnoringCase)->Unit(benchmark::kMillisecond);

// A term that occurs in nearly every record, so the per-hit work dominates.
void BM_SearchCatalogueCommonTerm(benchmark::State& state) {
    const std::string& path = DatenPath();
    TCatalogue daten;
    for (auto _ : state) {
        daten.Load(path);
        auto names = SearchCatalogue(daten, "daten", false);
        benchmark::DoNotOptimize(names);
    }
}
BENCHMARK(BM_SearchCatalogueCommonTerm)->Unit(benchmark::kMillisecond);

void BM_GrepIgnoreCaseCount(benchmark::State& state) {
    const std::string& path = DatenPath();
    const char* term = state.range(1) ? "daten" : "zauberwort";
    double cpuMs = 0;
    for (auto _ : state) {
        long n = RunGrep({"grep", "-ic", term, path}, state.range(0) != 0, cpuMs);
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
    std::vector<double> menuCpu, menuWall, grepCpu, grepWall;
    for (auto _ : state) {
        double c0 = bench::ProcessCpuMs(), w0 = bench::WallMs();
        const std::vector<std::string> names = SearchCatalogueFile(path, term, false);
        menuCpu.push_back(bench::ProcessCpuMs() - c0);
        menuWall.push_back(bench::WallMs() - w0);
        double childCpu = 0;
        w0 = bench::WallMs();
        const long lines = RunGrep({"grep", "-ic", term, path}, true, childCpu);
        grepWall.push_back(bench::WallMs() - w0);
        grepCpu.push_back(childCpu);
        if (names.empty() || lines <= 0) {
            state.SkipWithError("the term was not found");
            break;
        }
    }
    const double mc = bench::Median(menuCpu), mw = bench::Median(menuWall), gc = bench::Median(grepCpu),
                 gw = bench::Median(grepWall);
    state.counters["search_cpu_ms"] = mc;
    state.counters["search_wall_ms"] = mw;
    state.counters["grep_cpu_ms"] = gc;
    state.counters["grep_wall_ms"] = gw;
    state.counters["ratio_cpu"] = gc > 0 ? mc / gc : 0;
    state.counters["ratio_wall"] = gw > 0 ? mw / gw : 0;
    state.SetLabel(std::string(term) + " against grep -ic, LC_ALL=C");
}
BENCHMARK(BM_SearchAgainstGrep)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
