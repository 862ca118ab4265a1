// The main window at desktop factors, headless on the sample disc: the first frame (the program
// started, its window shown and painted) and a page change (a click on the next program of a
// category's list, its page built, painted and presented), at 1, 1.25, 1.5 and 2. The argument is
// the factor in per cent. Idle costs nothing at any factor: nothing paints without a change.
#include <benchmark/benchmark.h>

#include <memory>

#include "tests/support/MenuFixture.h"

namespace {

void BM_FirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto menu = std::make_unique<MenuFixture>(MenuFixture::kNoStart);
        menu->Options.scale = double(state.range(0)) / 100;
        state.ResumeTiming();
        if (!menu->Start()) state.SkipWithError("the menu did not start");
        state.PauseTiming();
        menu.reset();
        state.ResumeTiming();
    }
}
// A fixed count: every start copies the disc first (outside the figure, but not free).
BENCHMARK(BM_FirstFrame)
    ->Arg(100)
    ->Arg(125)
    ->Arg(150)
    ->Arg(200)
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

void BM_PageChange(benchmark::State& state) {
    MenuFixture menu(MenuFixture::kNoStart);
    menu.Options.scale = double(state.range(0)) / 100;
    if (!menu.Start()) return state.SkipWithError("the menu did not start");
    menu.Click("bRubrik3");  // five programs
    // The second and third rows of the list, in turn (logical pixels).
    const int rows[2] = {185, 204};
    int turn = 0;
    for (auto _ : state) {
        menu.Backend().SetTarget(menu.Main()->Handle());
        menu.Backend().Click(60, rows[turn]);
        turn ^= 1;
    }
    if (menu.Main()->List().lbProgramme()->ItemIndex() != 1 + (turn ^ 1))
        state.SkipWithError("the click missed its row");
}
BENCHMARK(BM_PageChange)->Arg(100)->Arg(125)->Arg(150)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
