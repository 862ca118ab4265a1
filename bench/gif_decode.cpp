// GIF decoding throughput against giflib's DGifSlurp on the same files, in the same run.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstring>
#include <random>

#include "media/GIFDecoder.h"
#include "tests/support/GifMemory.h"
#include "tools/common/GifWriter.h"

namespace {

std::vector<uint8_t> Palette(int n) {
    std::vector<uint8_t> p;
    for (int i = 0; i < n; ++i) p.insert(p.end(), {uint8_t(i), uint8_t(i * 7), uint8_t(255 - i)});
    return p;
}

// Smooth gradients with some noise, like a rendered banner or a photo reduced to a palette.
TGifImageSpec Picture(int w, int h, int left, int top, int phase, std::mt19937& rng) {
    TGifImageSpec s = TGifImageSpec::Blank(w, h, left, top);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int v = (x * 3 + y * 2 + phase * 5) / 4 + (rng() % 8 == 0 ? int(rng() % 5) : 0);
            s.Pixels[std::size_t(y) * w + x] = uint8_t(v % 200);
        }
    return s;
}

const std::vector<uint8_t>& Banner(int frames) {
    static std::vector<uint8_t> cache[300];
    auto& b = cache[frames];
    if (b.empty()) {
        std::mt19937 rng(1);
        TGifWriter w;
        w.Header(170, 70, Palette(200)).LoopCount(0);
        for (int i = 0; i < frames; ++i)
            w.GraphicControl(8, 1, i % 2 ? 199 : -1).Image(Picture(170, 70, 0, 0, i, rng));
        w.Trailer();
        b = w.Bytes();
    }
    return b;
}

const std::vector<uint8_t>& Still() {
    static std::vector<uint8_t> b;
    if (b.empty()) {
        std::mt19937 rng(2);
        TGifWriter w;
        w.Header(2000, 2000, Palette(200)).Image(Picture(2000, 2000, 0, 0, 0, rng)).Trailer();
        b = w.Bytes();
    }
    return b;
}

void Ours(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    media::TGIFDecoder d;
    for (auto _ : state) {
        if (!d.Decode(bytes.data(), bytes.size())) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(d.Frames.back()->Pixels.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void Giflib(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    for (auto _ : state) {
        GifMemory src{&bytes};
        int error = 0;
        GifFileType* gif = src.Open(&error);
        if (!gif || DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib failed");
        benchmark::DoNotOptimize(gif->SavedImages[gif->ImageCount - 1].RasterBits);
        DGifCloseFile(gif, &error);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void BM_Banner30_Ours(benchmark::State& s) {
    Ours(s, Banner(30));
}
void BM_Banner30_Giflib(benchmark::State& s) {
    Giflib(s, Banner(30));
}
void BM_Banner256_Ours(benchmark::State& s) {
    Ours(s, Banner(256));
}
void BM_Banner256_Giflib(benchmark::State& s) {
    Giflib(s, Banner(256));
}
void BM_Still2000_Ours(benchmark::State& s) {
    Ours(s, Still());
}
void BM_Still2000_Giflib(benchmark::State& s) {
    Giflib(s, Still());
}

}  // namespace

BENCHMARK(BM_Banner30_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Banner30_Giflib)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Banner256_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Banner256_Giflib)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Still2000_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Still2000_Giflib)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
