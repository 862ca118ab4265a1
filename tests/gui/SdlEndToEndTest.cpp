// The SDL backend on a real (virtual) X display: a frameless window appears, a synthetic click
// reaches a control, a drag on the skin moves the window. The test re-runs itself under xvfb-run
// so that it owns its display; where Xvfb or xdotool is missing it is skipped (in CI it fails).
#include <gtest/gtest.h>
#include "tests/support/CiSkip.h"

#include <dlfcn.h>
#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <string>

#include "gui/Application.h"
#include "gui/Button.h"
#include "gui/Form.h"
#include "gui/GraphicControl.h"
#include "gui/backend/Backend.h"
#include "tests/support/Place.h"

using namespace gui;

namespace {

bool Have(const char* program) {
    std::string cmd = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

class DragSkin : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int presses = 0;

protected:
    bool StartsWindowDrag(int, int) const override { return true; }
    void MouseDown(TMouseButton b, TShiftState, int, int) override {
        ++presses;
        if (b == mbLeft) ParentForm()->StartWindowDrag();
    }
    void Paint() override {
        Canvas().Brush().SetColor(gfx::clTeal);
        Canvas().FillRect(ClientRect());
    }
};

// Runs the loop until done() or about five seconds of the backend's clock have passed. The loop
// blocks in the backend between events, so this waits for the X server, not a timer.
template <class F>
bool PumpUntil(TApplication& app, F done) {
    std::uint64_t end = app.TheBackend().Now() + 5000;
    while (!done()) {
        if (app.TheBackend().Now() > end) return false;
        Event ev;
        if (app.TheBackend().PollEvent(ev)) {
            app.Dispatch(ev);
            continue;
        }
        app.ProcessMessages();
        app.TheBackend().WaitEvent(app.TheBackend().Now() + 50);
    }
    return true;
}

void RunOnDisplay() {
    BackendOptions options;
    options.scale = 1;
    std::unique_ptr<Backend> backend;
    try {
        backend = CreateBackend(options);
    } catch (const std::exception& e) {
        FAIL() << e.what();
    }
    // A request on a window that is gone ends the process under Xlib's own error handler; the
    // backend's names the error and carries on.
    if (void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL)) {
        using Open = void* (*)(const char*);
        using Destroy = int (*)(void*, unsigned long);
        using Sync = int (*)(void*, int);
        using Close = int (*)(void*);
        auto open = reinterpret_cast<Open>(dlsym(x11, "XOpenDisplay"));
        auto destroy = reinterpret_cast<Destroy>(dlsym(x11, "XDestroyWindow"));
        auto sync = reinterpret_cast<Sync>(dlsym(x11, "XSync"));
        auto close = reinterpret_cast<Close>(dlsym(x11, "XCloseDisplay"));
        ASSERT_TRUE(open && destroy && sync && close);
        void* display = open(nullptr);
        ASSERT_NE(display, nullptr);
        destroy(display, 0x1fffffff);
        sync(display, 0);
        close(display);
        dlclose(x11);
    }
    TApplication app(std::move(backend));
    auto* form = app.CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetCaption("cdmenu-e2e");
    form->SetBounds(100, 100, 200, 150);
    auto* skin = form->Make<DragSkin>();
    skin->SetParent(form);
    skin->SetAlign(alClient);
    auto* button = Place<TButton>(form, 10, 10, 60, 25);
    button->SetCaption("OK");
    int clicks = 0;
    button->OnClick = [&](TComponent*) { ++clicks; };
    form->Show();
    ASSERT_EQ(std::system("xdotool search --sync --onlyvisible --name cdmenu-e2e >/dev/null"), 0);
    app.ProcessMessages();

    ASSERT_EQ(std::system("xdotool mousemove 130 120 click 1"), 0);
    EXPECT_TRUE(PumpUntil(app, [&] { return clicks == 1; })) << "the click did not reach the button";

    ASSERT_EQ(std::system("xdotool mousemove 250 200 mousedown 1"), 0);
    ASSERT_TRUE(PumpUntil(app, [&] { return skin->presses == 1 || form->Left() != 100; }));
    ASSERT_EQ(std::system("xdotool mousemove 290 230"), 0);
    EXPECT_TRUE(PumpUntil(app, [&] { return form->Left() == 140 && form->Top() == 130; }))
        << "window at " << form->Left() << "," << form->Top();
    ASSERT_EQ(std::system("xdotool mouseup 1"), 0);
    // The release ends the move without clicking; the button, moved with its window, still works.
    ASSERT_EQ(std::system("xdotool mousemove 170 160 click 1"), 0);
    EXPECT_TRUE(PumpUntil(app, [&] { return clicks == 2; }));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(skin->presses, 1);
    TRect bounds = app.TheBackend().WindowBounds(form->Handle());
    EXPECT_EQ(bounds.Left, 140);
    EXPECT_EQ(bounds.Top, 130);

    // A window region that leaves the button out: the click there passes the window by.
    form->SetWindowRegion({{100, 0, 200, 150}});
    app.ProcessMessages();
    ASSERT_EQ(std::system("xdotool search --sync --onlyvisible --name cdmenu-e2e >/dev/null"), 0);
    ASSERT_EQ(std::system("xdotool mousemove 170 160 click 1 mousemove 300 200 click 1"), 0);
    EXPECT_TRUE(PumpUntil(app, [&] { return skin->presses == 2; })) << "the click in the region got lost";
    EXPECT_EQ(clicks, 2);
    // The shaped window keeps its place.
    bounds = app.TheBackend().WindowBounds(form->Handle());
    EXPECT_EQ(bounds.Left, 140);
    EXPECT_EQ(bounds.Top, 130);

    // A quick drag in four steps, all queued before the first is handled: the window ends where
    // the pointer does (summed up, the steps ran ahead of it; read late, the start was lost).
    ASSERT_EQ(std::system("xdotool mousemove 290 230 mousedown 1 mousemove 315 245 mousemove 340 260 "
                          "mousemove 365 275 mousemove 390 290 mouseup 1"),
              0);
    EXPECT_TRUE(PumpUntil(app,
                          [&] {
                              bounds = app.TheBackend().WindowBounds(form->Handle());
                              return bounds.Left == 240 && bounds.Top == 190 && form->Left() == 240;
                          }))
        << "window at " << bounds.Left << "," << bounds.Top;
}

}  // namespace

TEST(SdlEndToEnd, FramelessWindowTakesAClickAndIsDraggedBySkin) {
    if (std::getenv("CDMENU_E2E_CHILD")) {
        RunOnDisplay();
        return;
    }
    if (!Have("xvfb-run") || !Have("Xvfb") || !Have("xdotool"))
        CDMENU_SKIP_OUTSIDE_CI(
            "xvfb-run, Xvfb or xdotool is not installed; the SDL end-to-end test needs them");
    // SDL's D-Bus connection lives until SDL_Quit, which the sound service may still need: not ours.
    const std::string dir = ::testing::TempDir();
    std::ofstream(dir + "sdl-e2e.supp") << "leak:libdbus\n";
    std::string cmd = "LSAN_OPTIONS=suppressions=" + dir + "sdl-e2e.supp CDMENU_E2E_CHILD=1 xvfb-run -a -n " +
                      std::to_string(100 + getpid() % 800) +
                      " -s '-screen 0 800x600x24 "
                      "-noreset -nolisten tcp' /proc/" +
                      std::to_string(getpid()) + "/exe --gtest_filter=SdlEndToEnd.* >" + dir +
                      "sdl-e2e.log 2>&1";
    int rc = std::system(cmd.c_str());
    if (rc != 0) {
        int shown = std::system(("cat " + dir + "sdl-e2e.log").c_str());
        (void)shown;
    }
    EXPECT_EQ(rc, 0) << "the run on the virtual display failed (see sdl-e2e.log)";
}
