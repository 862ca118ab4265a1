// Extraction of one ~200 MB archive of ~2,400 mixed entries (text, random, repeated) through the zip
// front-end and the unpack library, compared in the same run with Info-ZIP unzip and bsdtar on the
// same archive; and List of an archive with 50,000 entries. Wall time, since the peers are processes.
//
//   bench/bench_unzip --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
//   (interleaving keeps a busy machine from favouring one contender; set CDMENU_BUILD to the build
//   folder when run from elsewhere: the library is looked for there; TMPDIR chooses where the
//   archives and the extracted files go)
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tools/common/ZipWriter.h"
#include "zip/ZipFront.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct TFixture {
    fs::path dir;
    std::string mixed, many;
    int64_t mixedBytes = 0;
    bool ok = false;

    TFixture() {
        std::string pattern = (fs::temp_directory_path() / "bench-unzip-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        dir = pattern;
        mixed = (dir / "mixed.zip").string();
        many = (dir / "many.zip").string();

        std::mt19937_64 rng(2024);
        static const char* words[] = {"Programm", "Datei",   "Ordner", "Archiv",       "und",
                                      "der",      "die",     "das",    "installieren", "Fenster",
                                      "Menü",     "Version", "Lizenz", "Preis"};
        TZipWriter w;
        for (int i = 0; i < 2400; ++i) {
            // 1 KB to ~170 KB; the three kinds in turn.
            size_t size = 1024 + size_t(rng() % 170000);
            std::string data;
            data.reserve(size);
            switch (i % 3) {
                case 0:
                    while (data.size() < size) {
                        data += words[rng() % 14];
                        data += rng() % 9 ? ' ' : '\n';
                    }
                    data.resize(size);
                    break;
                case 1:
                    data.resize(size);
                    for (size_t k = 0; k + 8 <= size; k += 8) {
                        uint64_t v = rng();
                        std::memcpy(&data[k], &v, 8);
                    }
                    break;
                default: {
                    std::string unit = "block " + std::to_string(i) + " ";
                    while (data.size() < size) data += unit;
                    data.resize(size);
                }
            }
            mixedBytes += int64_t(size);
            w.AddFile("data/set" + std::to_string(i / 100) + "/file" + std::to_string(i) + ".dat",
                      std::move(data));
        }
        w.Save(mixed);

        TZipWriter m;
        for (int i = 0; i < 50000; ++i)
            m.AddFile("folder" + std::to_string(i / 500) + "/entry" + std::to_string(i) + ".txt", "x");
        m.Save(many);
        ok = true;
    }
    ~TFixture() {
        std::error_code ec;
        if (!dir.empty()) fs::remove_all(dir, ec);
    }
    // Each contender's folder is emptied before its run, and the previous run's data goes to the
    // disk now rather than in the middle of this one. On ext4 without a journal, creating files soon
    // after deleting thousands is slow for everyone (freed inodes are skipped one read at a time for
    // minutes): point TMPDIR at a journaled file system or a tmpfs there.
    std::string Fresh(const char* name) const {
        fs::path out = dir / name;
        std::error_code ec;
        fs::remove_all(out, ec);
        fs::create_directories(out);
        sync();
        return out.string();
    }
};

TFixture& Fixture() {
    static TFixture f;
    return f;
}

std::string LibraryFolder() {
    if (const char* build = getenv("CDMENU_BUILD")) return build;
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path().string();
}

bool Run(std::vector<std::string> args) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Finish(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * Fixture().mixedBytes);
    state.counters["entries"] = 2400;
}

void BM_ZipFrontExtract(benchmark::State& state) {
    TFixture& f = Fixture();
    if (!f.ok) return state.SkipWithError("no fixture");
    for (auto _ : state) {
        state.PauseTiming();
        std::string out = f.Fresh("zipfront");
        TZipFront zip;
        zip.SetUnattended(true);
        zip.SetDLLDirectory(LibraryFolder());
        zip.SetExtrOptions({TExtrOptsEnum::ExtrDirNames, TExtrOptsEnum::ExtrOverWrite});
        state.ResumeTiming();
        zip.SetZipFilename(f.mixed);
        zip.LoadUnzipLibrary();
        zip.SetExtrBaseDir(out);
        zip.Extract();
        zip.UnloadUnzipLibrary();
        if (zip.ErrCode() != 0 || zip.SuccessCount() != 2400) return state.SkipWithError("extraction failed");
    }
    Finish(state);
}

void BM_InfoZipUnzip(benchmark::State& state) {
    TFixture& f = Fixture();
    if (!f.ok) return state.SkipWithError("no fixture");
    for (auto _ : state) {
        state.PauseTiming();
        std::string out = f.Fresh("unzip");
        state.ResumeTiming();
        if (!Run({"unzip", "-o", "-q", f.mixed, "-d", out}))
            return state.SkipWithError("unzip failed or missing");
    }
    Finish(state);
}

void BM_Bsdtar(benchmark::State& state) {
    TFixture& f = Fixture();
    if (!f.ok) return state.SkipWithError("no fixture");
    for (auto _ : state) {
        state.PauseTiming();
        std::string out = f.Fresh("bsdtar");
        state.ResumeTiming();
        if (!Run({"bsdtar", "-xf", f.mixed, "-C", out}))
            return state.SkipWithError("bsdtar failed or missing");
    }
    Finish(state);
}

void BM_List50000(benchmark::State& state) {
    TFixture& f = Fixture();
    if (!f.ok) return state.SkipWithError("no fixture");
    for (auto _ : state) {
        TZipFront zip;
        zip.SetUnattended(true);
        zip.SetZipFilename(f.many);
        if (zip.Count() != 50000) return state.SkipWithError("list failed");
        benchmark::DoNotOptimize(zip.Contents().data());
    }
    state.SetItemsProcessed(state.iterations() * 50000);
}

BENCHMARK(BM_ZipFrontExtract)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_InfoZipUnzip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_Bsdtar)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_List50000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
