// Dispatching synthetic mouse moves over a form of 50 controls (hit test, enter/leave, the
// control's handler), and an idle window's CPU use on a real display.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <memory>

#include "gui/Application.h"
#include "gui/Button.h"
#include "gui/Form.h"
#include "gui/Label.h"
#include "gui/Panel.h"
#include "gui/Timer.h"
#include "gui/backend/Automation.h"
#include "gui/backend/Backend.h"

using namespace gui;

static void BM_MouseMoves50Controls(benchmark::State& state) {
    auto backend = CreateBackend({.headless = true});
    TApplication app(std::move(backend));
    auto* form = app.CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 640, 480);
    // 5 panels with 8 children each, plus the panels themselves and 5 labels on the form: 50.
    int made = 0;
    for (int p = 0; p < 5; ++p) {
        auto* panel = form->Make<TPanel>();
        panel->SetParent(form);
        panel->SetBounds(p * 120 + 10, 10, 110, 400);
        ++made;
        for (int i = 0; i < 8; ++i) {
            TControl* c = (i % 2) ? static_cast<TControl*>(panel->Make<TButton>()) : panel->Make<TLabel>();
            c->SetParent(panel);
            c->SetBounds(5, 5 + i * 48, 100, 44);
            c->SetHint("Hinweis");
            c->SetShowHint(true);
            ++made;
        }
        auto* label = form->Make<TLabel>();
        label->SetParent(form);
        label->SetBounds(p * 120 + 10, 420, 100, 20);
        ++made;
    }
    form->Show();
    app.ProcessMessages();
    Event ev;
    ev.type = EventType::MouseMove;
    ev.window = form->Handle();
    std::int64_t n = 0;
    for (auto _ : state) {
        for (int i = 0; i < 100000; ++i) {
            // A sweep across the whole form, crossing controls every few events.
            ev.x = (i * 7) % 640;
            ev.y = (i * 13) % 480;
            app.Dispatch(ev);
        }
        n += 100000;
    }
    state.counters["controls"] = made;
    state.counters["ns_per_event"] =
        benchmark::Counter(double(n), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(n);
}
BENCHMARK(BM_MouseMoves50Controls)->Unit(benchmark::kMillisecond);

// 10 s of an idle window on the display ($DISPLAY, e.g. under xvfb-run): the CPU time the process
// used meanwhile. Skipped without a display.
static void BM_IdleWindowCpu(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no DISPLAY (run under xvfb-run)");
        return;
    }
    for (auto _ : state) {
        std::unique_ptr<Backend> backend;
        try {
            backend = CreateBackend({.scale = 1});
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            return;
        }
        TApplication app(std::move(backend));
        auto* form = app.CreateForm<TForm>();
        form->SetBorderStyle(bsNone);
        form->SetBounds(100, 100, 640, 480);
        auto* stop = form->Make<TTimer>();
        stop->SetInterval(10000);
        stop->OnTimer = [&](TComponent*) { app.Terminate(); };
        form->Show();
        app.ProcessMessages();
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        app.Run();
        getrusage(RUSAGE_SELF, &after);
        auto us = [](const timeval& t) { return double(t.tv_sec) * 1e6 + double(t.tv_usec); };
        double cpu = us(after.ru_utime) - us(before.ru_utime) + us(after.ru_stime) - us(before.ru_stime);
        state.counters["cpu_ms_per_10s_idle"] = cpu / 1000.0;
    }
}
BENCHMARK(BM_IdleWindowCpu)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

BENCHMARK_MAIN();
