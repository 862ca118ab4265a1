#pragma once
// Clocks, the median and the side-by-side runs of benchmarks that time the menu against a peer
// (grep, libjpeg) in turns within one iteration, so that both see the same load.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace bench {

// CPU time of the whole process (all threads, user + system).
inline double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline double WallMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// False (and the benchmark skipped with it) when the setup failed.
inline bool Ready(benchmark::State& state, const std::string& setupError) {
    if (setupError.empty()) return true;
    state.SkipWithError(setupError.c_str());
    return false;
}

// Runs a program that prints a number (grep -c), with LC_ALL=C when cLocale, and returns the
// number; the child's CPU time is added to cpuMs. Throws when it cannot be started.
long RunCount(const std::vector<std::string>& args, bool cLocale, double& cpuMs);

// The times of one iteration's two runs, collected; Report sets the medians of each and the
// ratios (ours over the peer's) as counters <ours>_cpu_ms, <ours>_wall_ms, <peer>_... ratio_*.
class SideBySide {
public:
    template <class F>
    auto Ours(F&& run) {
        return Time(run, cpu_, wall_);
    }
    // A peer in this process.
    template <class F>
    auto Peer(F&& run) {
        return Time(run, peerCpu_, peerWall_);
    }
    // A peer in a child process: run(childCpuMs) adds the child's CPU time.
    template <class F>
    auto Child(F&& run) {
        double childCpu = 0;
        const double w0 = WallMs();
        auto result = run(childCpu);
        peerWall_.push_back(WallMs() - w0);
        peerCpu_.push_back(childCpu);
        return result;
    }
    void Report(benchmark::State& state, const std::string& ours, const std::string& peer) const {
        const double oc = Median(cpu_), ow = Median(wall_), pc = Median(peerCpu_), pw = Median(peerWall_);
        state.counters[ours + "_cpu_ms"] = oc;
        state.counters[ours + "_wall_ms"] = ow;
        state.counters[peer + "_cpu_ms"] = pc;
        state.counters[peer + "_wall_ms"] = pw;
        state.counters["ratio_cpu"] = pc > 0 ? oc / pc : 0;
        state.counters["ratio_wall"] = pw > 0 ? ow / pw : 0;
    }

private:
    template <class F>
    static auto Time(F& run, std::vector<double>& cpu, std::vector<double>& wall) {
        const double c0 = ProcessCpuMs(), w0 = WallMs();
        auto result = run();
        cpu.push_back(ProcessCpuMs() - c0);
        wall.push_back(WallMs() - w0);
        return result;
    }
    std::vector<double> cpu_, wall_, peerCpu_, peerWall_;
};

// How the side-by-side benchmarks run: 21 turns of both, five times over, the medians reported.
inline void SideBySideRuns(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Iterations(21)->Repetitions(5)->ReportAggregatesOnly(true);
}

// How the benchmarks that count the whole process's CPU time run: five times over, medians reported.
inline void ProcessCpuRuns(benchmark::internal::Benchmark* b) {
    b->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

// Runs the benchmarks of the command line; then the caller frees what they shared.
inline int RunBenchmarks(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The same, then deletes the setup the benchmarks shared (made by the first that needed it), so
// that what it holds, such as a copy of the disc, is gone before the program ends.
template <class T>
int RunBenchmarks(int& argc, char** argv, T*& shared) {
    const int rc = RunBenchmarks(argc, argv);
    delete shared;
    shared = nullptr;
    return rc;
}

}  // namespace bench
