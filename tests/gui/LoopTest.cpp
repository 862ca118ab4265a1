// The loop: modal forms driven from a test, message boxes, the exception box, timers and hints on
// the virtual clock, Synchronize, window dragging, the screen.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "HeadlessApp.h"
#include "base/Exceptions.h"
#include "gfx/PngCodec.h"
#include "gui/Button.h"
#include "gui/GraphicControl.h"
#include "gui/Screen.h"
#include "gui/Timer.h"
#include "tests/support/Place.h"

using namespace gui;

namespace {

class Skin : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int ups = 0;

protected:
    bool StartsWindowDrag(int, int) const override { return true; }
    void MouseDown(TMouseButton b, TShiftState, int, int) override {
        if (b == mbLeft) ParentForm()->StartWindowDrag();
    }
    void MouseUp(TMouseButton, TShiftState, int, int) override { ++ups; }
};

}  // namespace

TEST(Loop, ModalFormRunsItsOwnLoopAndDisablesTheOthers) {
    HeadlessApp t;
    auto* main = t.Form(300, 200);
    auto* open = Place<TButton>(main, 10, 10, 80, 25);
    int mainClicks = 0;
    main->OnClick = [&](TComponent*) { ++mainClicks; };
    auto* dialog = t.app->CreateForm<TForm>();
    dialog->SetBorderStyle(bsDialog);
    dialog->SetPosition(poScreenCenter);
    dialog->SetBounds(0, 0, 200, 100);
    auto* ok = dialog->Make<TButton>();
    ok->SetParent(dialog);
    ok->SetModalResult(mrOk);
    ok->SetBounds(10, 60, 75, 25);
    main->Show();

    TModalResult result = mrNone;
    bool mainEnabledInside = true;
    open->OnClick = [&](TComponent*) { result = dialog->ShowModal(); };
    t.hb->Post([&] {
        mainEnabledInside = t.hb->Window(main->Handle())->enabled;
        EXPECT_EQ(t.app->ModalLevel(), 1);
        EXPECT_EQ(t.hb->ActiveWindow(), dialog->Handle());
        // Centred on the 1024x768 screen.
        EXPECT_EQ(dialog->Left(), (1024 - 200) / 2);
        // A click on the main window does nothing while the dialog is up.
        t.hb->SetTarget(main->Handle());
        t.hb->Click(200, 150);
        t.hb->SetTarget(0);
        t.hb->Click(20, 70);  // OK
    });
    t.hb->Click(20, 20);
    EXPECT_EQ(result, mrOk);
    EXPECT_FALSE(mainEnabledInside);
    EXPECT_EQ(mainClicks, 0);
    EXPECT_TRUE(t.hb->Window(main->Handle())->enabled);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(t.app->ModalLevel(), 0);
    EXPECT_EQ(t.hb->ActiveWindow(), main->Handle());
    EXPECT_EQ(t.app->ActiveForm(), main);  // the main form is active again, its focus works
    EXPECT_TRUE(open->Focused());

    // Escape has no cancel button here; Close() cancels.
    t.hb->Post([&] { dialog->Close(); });
    t.hb->Advance(1000);
    t.hb->Click(20, 20);
    EXPECT_EQ(result, mrCancel);

    // OnCloseQuery can refuse: the loop goes on until it agrees.
    int asked = 0;
    dialog->OnCloseQuery = [&](TComponent*, bool& can) { can = ++asked > 1; };
    t.hb->Post([&] { t.hb->Click(20, 70); });
    t.hb->Post([&] { t.hb->Advance(1000), t.hb->Click(20, 70); });
    t.hb->Advance(1000);
    t.hb->Click(20, 20);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(result, mrOk);

    // Nobody answers: the stalled loop gives up as if cancelled and says so.
    dialog->OnCloseQuery = nullptr;
    t.hb->Advance(1000);
    t.hb->Click(20, 20);
    EXPECT_EQ(result, mrCancel);
    ASSERT_FALSE(t.hb->Log().empty());
    EXPECT_NE(t.hb->Log().back().find("stalled"), std::string::npos);
}

TEST(Loop, MessageBoxesAreRecordedAndExceptionsReachTheBoxWhileTheLoopGoesOn) {
    HeadlessApp t;
    t.app->SetTitle("Titel");
    auto* f = t.Form(200, 100);
    auto* b = Place<TButton>(f, 0, 0, 50, 25);
    int clicks = 0;
    b->OnClick = [&](TComponent*) {
        if (++clicks == 1) throw base::EReadError();
        if (clicks == 2) throw std::runtime_error("kaputt");
    };
    f->Show();
    t.hb->Click(10, 10);
    t.hb->Advance(1000);
    t.hb->Click(10, 10);
    t.hb->Advance(1000);
    t.hb->Click(10, 10);
    EXPECT_EQ(clicks, 3);
    ASSERT_EQ(t.hb->MessageBoxes().size(), 2u);
    EXPECT_EQ(t.hb->MessageBoxes()[0].request.text, "Stream-Read-Fehler.");
    EXPECT_EQ(t.hb->MessageBoxes()[0].request.caption, "Titel");
    EXPECT_EQ(t.hb->MessageBoxes()[0].request.flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(t.hb->MessageBoxes()[1].request.text, "kaputt.");

    // The kinds and their titles; answers come from the queue, else the default button.
    t.hb->ClearRecords();
    EXPECT_EQ(t.app->Warning(base::Cp("Farbtiefe prüfen")), IDOK);
    t.hb->AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(t.app->Information("Fertig", MB_OKCANCEL), IDCANCEL);
    ASSERT_EQ(t.hb->MessageBoxes().size(), 2u);
    EXPECT_EQ(t.hb->MessageBoxes()[0].request.caption, "Warnung");
    EXPECT_EQ(t.hb->MessageBoxes()[0].request.flags, MB_OK | MB_ICONWARNING);
    EXPECT_TRUE(t.hb->MessageBoxes()[0].answeredByDefault);
    EXPECT_EQ(t.hb->MessageBoxes()[1].request.caption, "Information");
    EXPECT_FALSE(t.hb->MessageBoxes()[1].answeredByDefault);

    // An exception in OnCreate is shown; the form is still made.
    t.hb->ClearRecords();
    struct Failing : TForm {
        explicit Failing(TComponent* o) : TForm(o) {
            OnCreate = [](TComponent*) { throw base::EFOpenError::CannotOpen("Menue.dat"); };
        }
    };
    auto* failing = t.app->CreateForm<Failing>();
    EXPECT_NE(failing, nullptr);
    ASSERT_EQ(t.hb->MessageBoxes().size(), 1u);
    EXPECT_EQ(t.hb->MessageBoxes()[0].request.text, base::Cp("Datei Menue.dat kann nicht geöffnet werden."));

    // OnException replaces the box.
    std::string seen;
    t.app->OnException = [&](TComponent*, const std::exception& e) { seen = e.what(); };
    t.hb->Advance(1000);
    clicks = 0;
    t.hb->Click(10, 10);
    EXPECT_EQ(seen, "Stream-Read-Fehler");
}

TEST(Loop, TimersFireOnTheVirtualClockWithoutCatchingUp) {
    HeadlessApp t;
    auto* f = t.Form();
    auto* timer = f->Make<TTimer>();
    std::vector<std::uint64_t> ticks;
    timer->SetInterval(100);
    timer->OnTimer = [&](TComponent*) { ticks.push_back(t.hb->Now()); };
    timer->SetEnabled(false);
    timer->SetEnabled(true);  // starts counting now
    t.hb->Advance(350);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{100, 200, 300}));

    // Changing the interval starts it afresh; a handler may stop its own timer.
    ticks.clear();
    timer->SetInterval(1000);
    t.hb->Advance(999);
    EXPECT_TRUE(ticks.empty());
    timer->OnTimer = [&](TComponent* sender) {
        ticks.push_back(t.hb->Now());
        static_cast<TTimer*>(sender)->SetEnabled(false);
    };
    t.hb->Advance(5000);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{1350}));

    // A handler that pumps the loop itself is not entered again; a throwing one reaches the box.
    ticks.clear();
    int depth = 0, maxDepth = 0;
    timer->SetInterval(10);
    timer->OnTimer = [&](TComponent*) {
        maxDepth = std::max(maxDepth, ++depth);
        t.hb->Advance(50);
        --depth;
        throw std::runtime_error("tick");
    };
    timer->SetEnabled(true);
    t.hb->Advance(25);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_FALSE(t.hb->MessageBoxes().empty());
    // A timer that is destroyed never fires again.
    delete timer;
    t.hb->Advance(1000);
}

TEST(Loop, HintsFollowThePauseAndHideTimes) {
    HeadlessApp t;
    t.hb->MutableSettings();
    auto* f = t.Form(300, 200);
    auto* a = Place<TButton>(f, 10, 10, 50, 25);
    a->SetHint("Minimieren");
    a->SetShowHint(true);
    auto* b = Place<TButton>(f, 100, 10, 50, 25);
    b->SetHint(base::Cp("Schließen|Beendet das Programm"));
    b->SetShowHint(true);
    Place<TButton>(f, 200, 10, 50, 25);
    f->Show();
    EXPECT_EQ(t.app->HintPause(), 500);
    t.hb->MouseMove(20, 20);
    t.hb->Advance(499);
    EXPECT_FALSE(t.app->HintShowing());
    t.hb->Advance(1);
    EXPECT_TRUE(t.app->HintShowing());
    EXPECT_EQ(t.app->HintText(), "Minimieren");
    EXPECT_EQ(t.app->HintControl(), a);
    // The hint stays up for the hide pause, then goes and does not come back over the same control.
    t.hb->Advance(2499);
    EXPECT_TRUE(t.app->HintShowing());
    t.hb->Advance(1);
    EXPECT_FALSE(t.app->HintShowing());
    t.hb->Advance(5000);
    EXPECT_FALSE(t.app->HintShowing());

    // From one hint to the next: the short pause.
    t.hb->MouseMove(110, 20);
    t.hb->Advance(500);
    EXPECT_EQ(t.app->HintText(), base::Cp("Schließen"));
    t.hb->MouseMove(20, 20);
    EXPECT_FALSE(t.app->HintShowing());
    t.hb->Advance(50);
    EXPECT_EQ(t.app->HintText(), "Minimieren");

    // A press cancels; a control without a hint shows none; the setting switches hints off.
    t.hb->Click(20, 20);
    EXPECT_FALSE(t.app->HintShowing());
    t.hb->MouseMove(210, 20);
    t.hb->Advance(3000);
    EXPECT_FALSE(t.app->HintShowing());
    t.app->SetShowHint(false);
    t.hb->MouseMove(110, 20);
    t.hb->Advance(3000);
    EXPECT_FALSE(t.app->HintShowing());
}

TEST(Loop, SynchronizeRunsOnTheGuiThreadAndDragMovesTheWindow) {
    HeadlessApp t;
    auto* f = t.Form(200, 100);
    auto* skin = f->Make<Skin>();
    skin->SetParent(f);
    skin->SetAlign(alClient);
    f->Show();
    EXPECT_EQ(skin->Width(), 200);

    std::atomic<bool> done{false};
    std::thread::id ranOn;
    std::thread worker([&] {
        t.app->Synchronize([&] { ranOn = std::this_thread::get_id(); });
        done = true;
    });
    while (!done) t.app->ProcessMessages();
    worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());

    // Dragging: press on the skin, move, release: the window follows and the release is eaten.
    EXPECT_TRUE(t.hb->Window(f->Handle()) != nullptr);
    t.hb->MouseDown(50, 50);
    t.hb->MouseMove(80, 70);
    t.hb->MouseUp(80, 70);
    EXPECT_EQ(f->Left(), 30);
    EXPECT_EQ(f->Top(), 20);
    EXPECT_EQ(t.app->TheBackend().WindowBounds(f->Handle()), gfx::Bounds(30, 20, 200, 100));
    EXPECT_EQ(skin->ups, 0);
}

TEST(Loop, ScreenReportsTheBackendAndOverridesTheCursor) {
    HeadlessApp t;
    t.hb->SetScreenSize(800, 600);
    t.hb->SetColorDepth(8);
    EXPECT_EQ(Screen->Width(), 800);
    EXPECT_EQ(Screen->ColorDepth(), 8);
    auto* f = t.Form(200, 100);
    auto* b = Place<TButton>(f, 0, 0, 50, 25);
    b->SetCursor(crHandPoint);
    f->Show();
    t.hb->MouseMove(10, 10);
    EXPECT_EQ(t.hb->CurrentCursor(), crHandPoint);
    EXPECT_EQ(Screen->ControlAtCursor(), b);
    EXPECT_EQ(Screen->ActiveForm(), f);
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(t.hb->CurrentCursor(), crHourGlass);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(t.hb->CurrentCursor(), crHandPoint);
    t.hb->MouseMove(100, 50);
    EXPECT_EQ(t.hb->CurrentCursor(), crArrow);
    // A maximised form takes the screen; minimising the application minimises its windows.
    f->SetWindowState(wsMaximized);
    t.app->ProcessMessages();
    EXPECT_EQ(f->Width(), 800);
    EXPECT_EQ(f->Height(), 600);
    t.app->Minimize();
    t.app->ProcessMessages();
    EXPECT_TRUE(t.hb->Window(f->Handle())->minimized);
    EXPECT_EQ(f->WindowState(), wsMinimized);
    t.app->Restore();
    t.app->ProcessMessages();
    EXPECT_EQ(f->WindowState(), wsNormal);

    // Any window can be saved as PNG: what it shows, pixel for pixel.
    f->SetColor(gfx::clNavy);
    t.app->ProcessMessages();
    std::string png = ::testing::TempDir() + "gui-window.png";
    ASSERT_TRUE(t.hb->SavePng(f->Handle(), png));
    std::ifstream in(png, std::ios::binary);
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), {});
    gfx::TBitmap back;
    gfx::DecodePng(data.data(), data.size(), back);
    EXPECT_EQ(back.Width(), 800);
    EXPECT_EQ(back.Pixel(400, 500), gfx::clNavy);
    std::remove(png.c_str());
}

TEST(Loop, RunShowsTheMainFormAndEndsWhenItCloses) {
    HeadlessApp t;
    auto* main = t.Form(200, 100);
    auto* second = t.app->CreateForm<TForm>();
    EXPECT_EQ(t.app->MainForm(), main);
    bool closed = false;
    main->OnClose = [&](TComponent*, TCloseAction&) { closed = true; };
    // OnIdle drives the program the way a script does: one step per idle turn.
    std::vector<std::function<void()>> steps{
        [&] { EXPECT_TRUE(main->Visible()); },
        [&] { second->Show(); },
        [&] { second->Close(); },  // another form only hides
        [&] { main->Close(); },
    };
    size_t next = 0;
    t.app->OnIdle = [&](TComponent*, bool& done) {
        if (next < steps.size()) steps[next++]();
        done = next >= steps.size();
    };
    t.app->Run();
    EXPECT_EQ(next, steps.size());
    EXPECT_TRUE(closed);
    EXPECT_FALSE(second->Visible());
    EXPECT_TRUE(t.app->Terminated());

    // Without anything to do, a headless run ends instead of waiting for ever.
    HeadlessApp idle;
    idle.Form(100, 100);
    idle.app->Run();
    EXPECT_TRUE(idle.app->Terminated());
    ASSERT_FALSE(idle.hb->Log().empty());
}

TEST(Loop, AnIdleHandlerThatLetsTimePassLeavesNothingFreedBehind) {
    // What a script's `wait` does: the idle hook moves the virtual clock for a long while. A timer
    // there replaces a component of its own every tick, as an animation stops and starts its
    // frame timer; each replaced one is gone by the next tick, not gathered until the wait ends.
    HeadlessApp t;
    auto* main = t.Form(100, 100);
    main->Show();
    std::vector<TComponent::Weak> made;
    auto* ticker = main->Make<TTimer>();
    ticker->SetInterval(50);
    ticker->SetOnTimer([&](TComponent*) {
        if (!made.empty() && made.back()) made.back().Get()->Free();
        made.emplace_back(main->Make<TTimer>());
    });
    size_t mostAlive = 0;
    auto* watch = main->Make<TTimer>();
    watch->SetInterval(1000);
    watch->SetOnTimer([&](TComponent*) {
        size_t alive = 0;
        for (const TComponent::Weak& w : made) alive += bool(w);
        mostAlive = std::max(mostAlive, alive);
    });
    bool waited = false;
    t.app->OnIdle = [&](TComponent*, bool& done) {
        if (!waited) {
            waited = true;
            t.hb->Advance(60000);
            main->Close();
        }
        done = true;
    };
    t.app->Run();
    ASSERT_GT(made.size(), 1000u);
    // The one made last, and the one it replaced when the watch ticks in the same batch of timers.
    EXPECT_LE(mostAlive, 2u) << made.size();
}
