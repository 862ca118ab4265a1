// Full-window blits against memcpy of the same bytes: the key-colour copy (skin buttons, text
// view) and SRCCOPY (back buffer to screen). The ratios are reported as counters
// ("x_memcpy") computed from the memcpy run of the same process.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

namespace {
constexpr int kW = 640, kH = 480;
constexpr gfx::TColor kKey = 0x875F46;

// A work bitmap like a skin button's: mostly key colour with solid parts and some text.
gfx::TBitmap MakeSource() {
    gfx::TBitmap b(kW, kH);
    b.Canvas().Brush().SetColor(kKey);
    b.Canvas().FillRect({0, 0, kW, kH});
    b.Canvas().Brush().SetColor(gfx::clNavy);
    for (int y = 0; y < kH; y += 40) b.Canvas().FillRect({20, y, kW - 20, y + 20});
    return b;
}

void BM_Memcpy(benchmark::State& state) {
    std::vector<uint32_t> a(size_t(kW) * kH, 1), b(size_t(kW) * kH, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}

template <class F>
void RunRatio(benchmark::State& state, F&& blit) {
    for (auto _ : state) {
        blit();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}

void BM_KeyColourCopy(benchmark::State& state) {
    gfx::TBitmap src = MakeSource(), dst(kW, kH);
    RunRatio(state, [&] { dst.Canvas().TransparentCopy(0, 0, kW, kH, src, 0, 0, kKey); });
}

void BM_SrcCopy(benchmark::State& state) {
    gfx::TBitmap src = MakeSource(), dst(kW, kH);
    RunRatio(state, [&] { dst.Canvas().BitBlt(0, 0, kW, kH, src.Canvas(), 0, 0, gfx::SRCCOPY); });
}

// Prints each blit's time as a multiple of memcpy's (CPU time, which a busy machine disturbs less
// than wall time), matching plain runs and each aggregate (mean, median) with its own kind.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "mean" && r.aggregate_name != "median")
                continue;
            std::string kind = r.run_type == Run::RT_Aggregate ? r.aggregate_name : "";
            double ns = r.GetAdjustedCPUTime();
            if (r.benchmark_name().find("Memcpy") != std::string::npos) {
                memcpyNs_[kind] = ns;
            } else if (memcpyNs_.count(kind)) {
                char line[200];
                std::snprintf(line, sizeof line, "%-28s %6.2fx memcpy", r.benchmark_name().c_str(),
                              ns / memcpyNs_[kind]);
                ratios_.push_back(line);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const std::string& s : ratios_) std::printf("%s\n", s.c_str());
    }

private:
    std::map<std::string, double> memcpyNs_;
    std::vector<std::string> ratios_;
};
}  // namespace

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_KeyColourCopy);
BENCHMARK(BM_SrcCopy);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
