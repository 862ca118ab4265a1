// Extraction of an archive that lies about its sizes: 20 deflated entries of a few bytes each that
// claim 250 MiB apiece, about 2 KB in all. The unpack library must refuse every entry; what is
// measured is what refusing costs — wall time and the process's peak resident memory (getrusage),
// reported as the counter peak_MB. Each run is a process of its own, so the peak is this archive's:
//
//   bench/bench_unzip_lie      (set CDMENU_BUILD to the build folder when run from elsewhere)
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "tools/common/ZipWriter.h"
#include "zip/ZipFront.h"

namespace {

namespace fs = std::filesystem;

std::string LibraryFolder() {
    if (const char* build = getenv("CDMENU_BUILD")) return build;
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path().string();
}

double PeakMegabytes() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB on Linux
}

void BM_LyingSizes(benchmark::State& state) {
    std::string pattern = (fs::temp_directory_path() / "bench-lie-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return state.SkipWithError("no temporary folder");
    fs::path dir = pattern;
    TZipWriter w;
    for (int i = 0; i < 20; ++i) {
        auto& e = w.AddFile("lie" + std::to_string(i) + ".bin", "small content " + std::to_string(i));
        e.DeclaredSize = int64_t(250) << 20;
    }
    std::string archive = (dir / "lie.zip").string();
    w.Save(archive);
    state.counters["archive_bytes"] = double(fs::file_size(archive));
    double before = PeakMegabytes();
    for (auto _ : state) {
        state.PauseTiming();
        std::string out = (dir / "out").string();
        fs::remove_all(out);
        fs::create_directories(out);
        TZipFront zip;
        zip.SetUnattended(true);
        zip.SetDLLDirectory(LibraryFolder());
        zip.SetExtrOptions({TExtrOptsEnum::ExtrDirNames, TExtrOptsEnum::ExtrOverWrite});
        zip.SetZipFilename(archive);
        zip.LoadUnzipLibrary();
        zip.SetExtrBaseDir(out);
        state.ResumeTiming();
        zip.Extract();
        state.PauseTiming();
        zip.UnloadUnzipLibrary();
        bool refused = zip.ErrCode() != 0 && zip.SuccessCount() == 0 && fs::is_empty(out);
        state.ResumeTiming();
        if (!refused) {
            state.SkipWithError("the lie was not refused");
            break;
        }
    }
    state.counters["peak_MB"] = PeakMegabytes();
    state.counters["peak_before_MB"] = before;
    std::error_code ec;
    fs::remove_all(dir, ec);
}

BENCHMARK(BM_LyingSizes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
