// The menu on the sample disc, headless: start-up to the first presented frame, and a click on a
// program in the list to its presented page.
#include <benchmark/benchmark.h>

#include "tests/support/MenuFixture.h"

namespace {

// The sample disc as it was built, used in place (nothing here writes to it).
MenuFixture* Menu(bool start) {
    auto* menu = new MenuFixture(MenuFixture::kNoStart, false);
    const std::string disc = MenuFixture::SampleDisc() + "/";
    menu->Options.dataDir = disc;
    menu->Options.rootDir = disc;
    menu->Options.programFile = disc + "cdmenu";
    if (start && !menu->Start()) {
        delete menu;
        return nullptr;
    }
    return menu;
}

void BM_StartupToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        MenuFixture* menu = Menu(false);
        // Guard, application, the four windows with the whole initialisation, showing and the
        // first paint presented.
        if (!menu->Start()) {
            state.SkipWithError("the menu did not start on the sample disc");
            delete menu;
            break;
        }
        const gui::Automation::WindowState* w = menu->Backend().Window(menu->Main()->Handle());
        if (!w || w->presentCount == 0) state.SkipWithError("nothing was presented");
        state.PauseTiming();
        delete menu;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_ClickToPresentedPage(benchmark::State& state) {
    MenuFixture* menu = Menu(true);
    if (!menu) {
        state.SkipWithError("the menu did not start on the sample disc");
        return;
    }
    TMainForm* m = menu->Main();
    menu->Click(m->Column().Buttons().at(0));
    auto centre = [&](int index) {
        const gfx::TRect slot = m->List().lbProgramme()->SlotRect(index);
        return m->List().lbProgramme()->ClientToForm(
            {(slot.Left + slot.Right) / 2, (slot.Top + slot.Bottom) / 2});
    };
    const gfx::TPoint first = centre(0), second = centre(1);
    const int before = m->Model().PageBuilds();
    int i = 0;
    for (auto _ : state) {
        // Alternate, so that every click builds a page (the same entry again would not).
        const gfx::TPoint p = (i++ % 2) ? first : second;
        menu->Backend().Click(p.X, p.Y);
    }
    if (m->Model().PageBuilds() - before != i) state.SkipWithError("a click did not build its page");
    delete menu;
}
BENCHMARK(BM_ClickToPresentedPage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
