// A script's `wait` on the virtual clock, on the sample disc with banners of 50 ms frames: one long
// wait against the same time in waits of 20 s. Both should cost the same per virtual second; the
// argument is the virtual time in seconds.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "app/MenuResource.h"
#include "app/ScriptRunner.h"
#include "tests/support/MenuFixture.h"
#include "tools/common/GifWriter.h"
#include "tools/common/MenuDatWriter.h"

namespace {

// Ten frames of 50 ms that each fill the banner with another colour, looping.
std::string QuickBanner(int shade) {
    TGifWriter w;
    std::vector<uint8_t> palette;
    for (int i = 0; i < 16; ++i)
        palette.insert(palette.end(), {uint8_t(i * 16), uint8_t(shade), uint8_t(255 - i * 16)});
    w.Header(170, 70, palette);
    w.LoopCount(0);
    for (int f = 0; f < 10; ++f) {
        TGifImageSpec image;
        image.Width = 170;
        image.Height = 70;
        image.Pixels.assign(170 * 70, uint8_t(f));
        w.GraphicControl(5).Image(image);
    }
    return w.Trailer().Str();
}

// A copy of the sample disc whose three banners animate quickly, started.
MenuFixture* QuickBannerMenu() {
    auto* menu = new MenuFixture(MenuFixture::kNoStart);
    const TMenuResource sample = LoadMenuResourceFile(menu->Dir() + "Menue.dat");
    TMenuDatWriter w;
    w.ProjectField = sample.Header.ProjectField;
    for (size_t i = 0; i < 3; ++i) {
        w.Credits[i] = sample.Header.Credits[i];
        w.BannerTargets[i] = std::string(FieldText(sample.Header.BannerTargets[i]));
        w.Gifs[i] = QuickBanner(int(i) * 100);
    }
    w.Logo = TMenuDatWriter::Bytes(sample.Logo);
    for (size_t i = 0; i < 7; ++i) w.Sounds[i] = TMenuDatWriter::Bytes(sample.SoundSlots[i]);
    menu->WriteFile("Menue.dat", w.Build());
    if (!menu->Start()) {
        delete menu;
        return nullptr;
    }
    return menu;
}

void RunWaits(benchmark::State& state, int pieceSeconds) {
    const int seconds = int(state.range(0));
    const int piece = pieceSeconds > 0 ? pieceSeconds : seconds;
    std::string script;
    for (int done = 0; done < seconds; done += piece) script += "wait " + std::to_string(piece * 1000) + "\n";
    for (auto _ : state) {
        state.PauseTiming();
        MenuFixture* menu = QuickBannerMenu();
        if (!menu) {
            state.SkipWithError("the menu did not start");
            break;
        }
        TScriptRunner runner(*menu->App());
        runner.SetScript(script);
        std::ostringstream err;
        state.ResumeTiming();
        // Through the loop, as `cdmenu --script` runs it: the commands run from the idle hook.
        if (runner.Run(err) != 0) state.SkipWithError(err.str().c_str());
        state.PauseTiming();
        delete menu;
        state.ResumeTiming();
    }
    state.counters["real_s_per_virtual_s"] = benchmark::Counter(
        double(seconds), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_OneLongWait(benchmark::State& state) {
    RunWaits(state, 0);
}
BENCHMARK(BM_OneLongWait)->Arg(20)->Arg(120)->Arg(600)->Unit(benchmark::kMillisecond);

void BM_WaitsOfTwentySeconds(benchmark::State& state) {
    RunWaits(state, 20);
}
BENCHMARK(BM_WaitsOfTwentySeconds)->Arg(20)->Arg(120)->Arg(600)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
