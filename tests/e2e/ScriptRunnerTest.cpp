// The script runner on a small form of the framework: commands reach the controls, run inside the
// modal loops they open, and a failing line ends the run with exit code 1.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/ScriptRunner.h"
#include "base/Cp1252.h"
#include "gfx/Bitmap.h"
#include "gfx/PngCodec.h"
#include "gui/Application.h"
#include "gui/Button.h"
#include "gui/Edit.h"
#include "gui/Form.h"
#include "gui/Label.h"
#include "gui/Timer.h"
#include "gui/backend/Automation.h"

namespace fs = std::filesystem;

namespace {

// A window with a button that opens a modal dialog with an edit, one that shows a message box,
// one that is disabled, a hidden one and a 1-second timer that counts its ticks.
struct TestForms {
    gui::Automation* hb = nullptr;
    std::unique_ptr<gui::TApplication> app;
    gui::TForm* main = nullptr;
    gui::TForm* dialog = nullptr;
    gui::TLabel* lResult = nullptr;
    gui::TLabel* lTicks = nullptr;
    gui::TEdit* eName = nullptr;
    int clicksOnHidden = 0;
    int ticks = 0;
    int opened = 0;

    template <class T>
    static T* Put(gui::TComponent* owner, gui::TWinControl* parent, const char* name, int l, int t, int w,
                  int h) {
        T* c = owner->Make<T>();
        c->SetName(name);
        c->SetParent(parent);
        c->SetBounds(l, t, w, h);
        return c;
    }

    TestForms() {
        auto backend = gui::CreateBackend({.headless = true});
        hb = backend->GetAutomation();
        app = std::make_unique<gui::TApplication>(std::move(backend));
        main = app->CreateForm<gui::TForm>();
        main->SetName("Haupt");
        main->SetBorderStyle(gui::bsNone);
        main->SetBounds(0, 0, 300, 200);
        dialog = app->CreateForm<gui::TForm>();
        dialog->SetName("Dialog");
        dialog->SetBorderStyle(gui::bsNone);
        dialog->SetBounds(50, 50, 200, 100);

        auto* bOpen = Put<gui::TButton>(main, main, "bOpen", 10, 10, 80, 24);
        bOpen->SetCaption(base::Cp("Öffnen"));
        bOpen->OnClick = [this](gui::TComponent*) {
            ++opened;
            eName->SetText("");
            if (dialog->ShowModal() == gui::mrOk) lResult->SetCaption(eName->Text());
        };
        auto* bBox = Put<gui::TButton>(main, main, "bBox", 100, 10, 80, 24);
        bBox->OnClick = [this](gui::TComponent*) {
            const int answer = app->Warning(base::Cp("Wirklich löschen?"), gui::MB_YESNO);
            lResult->SetCaption(answer == gui::IDNO ? "nein" : "ja");
        };
        auto* bOff = Put<gui::TButton>(main, main, "bOff", 190, 10, 80, 24);
        bOff->SetEnabled(false);
        auto* bHidden = Put<gui::TButton>(main, main, "bHidden", 10, 150, 80, 24);
        bHidden->OnClick = [this](gui::TComponent*) { ++clicksOnHidden; };
        bHidden->Hide();
        lResult = Put<gui::TLabel>(main, main, "lResult", 10, 50, 200, 16);
        lTicks = Put<gui::TLabel>(main, main, "lTicks", 10, 70, 200, 16);
        auto* timer = main->Make<gui::TTimer>();
        timer->SetInterval(1000);
        timer->SetOnTimer([this](gui::TComponent*) { lTicks->SetCaption(std::to_string(++ticks)); });

        eName = Put<gui::TEdit>(dialog, dialog, "eName", 10, 10, 180, 22);
        auto* bOk = Put<gui::TButton>(dialog, dialog, "bOk", 10, 60, 80, 24);
        bOk->SetModalResult(gui::mrOk);
        auto* bCancel = Put<gui::TButton>(dialog, dialog, "bCancel", 100, 60, 80, 24);
        bCancel->SetModalResult(gui::mrCancel);
        bCancel->SetCancel(true);
    }

    int Run(const std::string& script, std::string& err) {
        TScriptRunner runner(*app);
        runner.SetScript(script);
        std::ostringstream out;
        const int code = runner.Run(out);
        err = out.str();
        return code;
    }
};

}  // namespace

TEST(ScriptRunner, DrivesControlsAndTheModalLoopsTheyOpen) {
    TestForms t;
    const fs::path shot = fs::temp_directory_path() / ("script-shot-" + std::to_string(::getpid()) + ".png");
    const std::string script =
        "# a comment, then blank lines\n"
        "\n"
        "expect-no-box\n"
        "expect-caption bOpen Öffnen\n"
        "click bOpen\n"
        // These run inside the dialog's modal loop.
        "expect-visible Dialog.eName\n"
        "click eName\n"
        "type Grüße aus Köln\n"
        "key Space\n"
        "key X\n"
        "click Dialog.bOk\n"
        // Back in the main window.
        "expect-hidden Dialog.eName\n"
        "expect-caption lResult Grüße aus Köln x\n"
        "click bOpen\n"
        "type verworfen\n"
        "key Escape\n"
        "expect-caption lResult Grüße aus Köln x\n"
        "answer No\n"
        "click 140 22\n"
        "expect-box Wirklich löschen\n"
        "expect-no-box\n"
        "expect-caption lResult nein\n"
        "click bBox\n"
        "expect-caption lResult ja\n"
        "expect-disabled bOff\n"
        "expect-enabled bBox\n"
        "expect-hidden bHidden\n"
        "wait 2500\n"
        "expect-caption lTicks 2\n"
        "wait 500\n"
        "expect-caption lTicks 3\n"
        "screenshot Haupt " +
        shot.string() + "\n";
    std::string err;
    EXPECT_EQ(t.Run(script, err), 0) << err;
    EXPECT_EQ(t.opened, 2);
    EXPECT_EQ(t.lResult->Caption(), base::Cp("ja"));
    // The default answer of the second box is logged.
    EXPECT_NE(err.find("answered by default"), std::string::npos) << err;
    // The clock moved by the waits only.
    EXPECT_EQ(t.hb->Now(), 3000u);
    std::ifstream in(shot, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    gfx::TBitmap png;
    ASSERT_NO_THROW(gfx::DecodePng(bytes.data(), bytes.size(), png));
    ASSERT_EQ(png.Width(), 300);
    ASSERT_EQ(png.Height(), 200);
    // The picture is what the window shows, pixel for pixel.
    int differing = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            differing += int64_t(png.Pixel(x, y)) != t.hb->PixelAt(t.main->Handle(), x, y);
    EXPECT_EQ(differing, 0);
    fs::remove(shot);
}

TEST(ScriptRunner, AFailingLineEndsTheRunWithItsNumberAndReason) {
    struct Case {
        const char* script;
        const char* expected;  // in the error output
    };
    const Case cases[] = {
        {"click bOpen\nclick bOk\nexpect-caption lResult falsch\nclick bOpen\n",
         "line 3: expect-caption lResult falsch: the caption is \"\""},
        {"expect-enabled bOff\nclick bOpen\n", "line 1: expect-enabled bOff: it is disabled"},
        {"click bHidden\nclick bOpen\n", "line 1: click bHidden: bHidden is not visible"},
        {"click bNirgends\n", "no component named bNirgends"},
        {"klick bOpen\n", "line 1: klick bOpen: unknown command"},
        {"click bOpen\nclick Haupt.bBox\n", "line 2: click Haupt.bBox: Haupt.bBox is on a disabled window"},
        {"key F13\n", "unknown key F13"},
        {"wait soon\n", "expected milliseconds"},
        {"wait 3600001\n", "line 1: wait 3600001: expected at most 3600000 milliseconds"},
        {"expect-box Hallo\n", "no message box was shown"},
        {"answer Vielleicht\n", "expected OK, Cancel, Yes or No"},
        {"click bBox\nexpect-no-box\nclick bOpen\n",
         "line 2: expect-no-box: 1 message box(es) shown, the first said \"Wirklich"},
        {"click bBox\nexpect-box Wirklich\nclick bBox\nclick bBox\nexpect-no-box\n",
         "line 5: expect-no-box: 2 message box(es) shown"},
        {"# only the box\nclick bBox\nexpect-box Anders\n",
         "line 3: expect-box Anders: the last message box said"},
    };
    for (const Case& c : cases) {
        TestForms t;
        std::string err;
        EXPECT_EQ(t.Run(c.script, err), 1) << c.script;
        EXPECT_NE(err.find(c.expected), std::string::npos) << c.script << "\n" << err;
        // Nothing after the failing line ran: the dialog was never opened afterwards.
        EXPECT_EQ(t.opened, std::string(c.script).rfind("click bOpen\n", 0) == 0 ? 1 : 0) << c.script;
        EXPECT_EQ(t.clicksOnHidden, 0);
    }
}

TEST(ScriptRunner, ProgramEndingEarlyLeavesLinesUnrunAndFails) {
    TestForms t;
    auto* bQuit = TestForms::Put<gui::TButton>(t.main, t.main, "bQuit", 10, 100, 80, 24);
    bQuit->OnClick = [&](gui::TComponent*) { t.main->Close(); };
    std::string err;
    EXPECT_EQ(t.Run("click bQuit\nclick bOpen\n", err), 1);
    EXPECT_NE(err.find("line 2: click bOpen: not run"), std::string::npos) << err;
    // The last line closing the program is a complete run.
    TestForms u;
    auto* bQuit2 = TestForms::Put<gui::TButton>(u.main, u.main, "bQuit", 10, 100, 80, 24);
    bQuit2->OnClick = [&](gui::TComponent*) { u.main->Close(); };
    EXPECT_EQ(u.Run("click bOpen\nclick bCancel\nclick bQuit\n", err), 0) << err;
    EXPECT_EQ(u.opened, 1);
}

TEST(ScriptRunner, UnreadableScriptFails) {
    TestForms t;
    TScriptRunner runner(*t.app);
    EXPECT_FALSE(runner.LoadFromFile("/nonexistent/script.txt"));
    std::ostringstream err;
    EXPECT_EQ(runner.Run(err), 1);
    EXPECT_NE(err.str().find("cannot read the script"), std::string::npos);
}
