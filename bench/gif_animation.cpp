// CPU cost of a running banner animation: a 170 x 70 banner of 30 frames on a 640 x 480 form of the
// headless backend, animated for one virtual second per iteration. core_pct is the share of one
// core the animation takes in real time.
#include <benchmark/benchmark.h>

#include <random>

#include "base/MemoryStream.h"
#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/backend/Automation.h"
#include "media/GIFImage.h"
#include "tools/common/GifWriter.h"

namespace {

std::vector<uint8_t> BannerGif(int frames, int delayCs) {
    std::mt19937 rng(1);
    std::vector<uint8_t> palette;
    for (int i = 0; i < 200; ++i)
        palette.insert(palette.end(), {uint8_t(i), uint8_t(i * 7), uint8_t(255 - i)});
    TGifWriter w;
    w.Header(170, 70, palette).LoopCount(0);
    for (int f = 0; f < frames; ++f) {
        TGifImageSpec s;
        s.Width = 170, s.Height = 70;
        s.Pixels.resize(170 * 70);
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 170; ++x)
                s.Pixels[std::size_t(y) * 170 + x] =
                    uint8_t(((x * 3 + y * 2 + f * 5) / 4 + (rng() % 8 == 0 ? rng() % 5 : 0)) % 200);
        w.GraphicControl(delayCs, 1, f % 2 ? 199 : -1).Image(s);
    }
    return w.Trailer().Bytes();
}

void BM_BannerAnimation(benchmark::State& state) {
    auto backend = gui::CreateBackend({.headless = true});
    gui::Automation* hb = backend->GetAutomation();
    gui::TApplication app(std::move(backend));
    auto* form = app.CreateForm<gui::TForm>();
    form->SetBorderStyle(gui::bsNone);
    form->SetBounds(0, 0, 640, 480);
    form->Show();
    auto* banner = form->Make<media::TGIFImage>();
    banner->SetParent(form);
    banner->SetBounds(15, 395, 170, 70);
    banner->SetStretch(true);
    base::TMemoryStream gif(BannerGif(30, int(state.range(0))));
    banner->LoadFromStream(gif);
    banner->SetAnimate(true);
    hb->Pump();
    int changes = 0;
    banner->OnChange = [&](gui::TComponent*) { ++changes; };
    for (auto _ : state) hb->Advance(1000);
    state.counters["frames_per_s"] = benchmark::Counter(double(changes) / double(state.iterations()));
    // CPU seconds per virtual second, in percent.
    state.counters["core_pct"] = benchmark::Counter(
        double(state.iterations()) / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

// Delays of 80 ms (a typical banner) and 0 (the 50 ms floor, the fastest a banner can run).
BENCHMARK(BM_BannerAnimation)->Arg(8)->Arg(0)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
