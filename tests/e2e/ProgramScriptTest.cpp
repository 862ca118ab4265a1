// The whole program driven by scripts, headless, on a copy of the sample disc.
#include <gtest/gtest.h>
#include "tests/support/CiSkip.h"

#include <cstdlib>

#include "ProgramRun.h"
#include "gfx/Bitmap.h"
#include "gfx/PngCodec.h"

using e2e::fs::path;
using ProgramScript = e2e::DiscCopyTest;

namespace {

gfx::TBitmap LoadPng(const e2e::fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    gfx::TBitmap b;
    if (!bytes.empty()) gfx::DecodePng(bytes.data(), bytes.size(), b);
    return b;
}

// Pixels that differ between a and b inside r.
int CountDiffering(const gfx::TBitmap& a, const gfx::TBitmap& b, const gfx::TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
    return n;
}

e2e::RunResult RunScript(const e2e::Scratch& s, const path& disc, const std::string& script) {
    const path file = s.path / "script.txt";
    e2e::WriteText(file, script);
    return e2e::Run(
        {"--headless", "--data", disc.string(), "--root", disc.string(), "--script", file.string()}, s.path);
}

}  // namespace

TEST_F(ProgramScript, CategoryListPageFullScreenAndClose) {
    const std::string script = R"(# start page: 15 categories page ten at a time
expect-visible iStart
expect-hidden pProgramme
expect-sound 1
expect-caption bRubrik2 Büro & Organisation
expect-caption bRubrik11 Denkspiele
expect-disabled bPfeilOben
expect-enabled bPfeilUnten
screenshot start.png

# a category: its list and the first program's page
click bRubrik3
expect-sound 0
expect-visible pProgramme
expect-hidden iStart
expect-caption lRubrik Grafik && Foto
expect-caption gbProgramm Pixelwerk 2.1
expect-caption lAnzahlProgramme 1/5
expect-visible gbProgramm
expect-visible TransText1

# the second program of the list
click 60 185
expect-caption lAnzahlProgramme 2/5
expect-caption gbProgramm Fotoschätze
key Down
expect-caption lAnzahlProgramme 3/5
screenshot page.png

# the screenshot full-screen, closed by a click anywhere
click bVollbild
expect-visible VollbildForm
screenshot VollbildForm full.png
click VollbildForm
expect-hidden VollbildForm
expect-visible gbProgramm

# back to the categories, then close the program
click bRubrikauswahl
expect-visible iStart
expect-hidden pProgramme
expect-hidden gbProgramm
click bBeenden2
)";
    const e2e::RunResult r = RunScript(s, disc, script);
    EXPECT_EQ(r.code, 0) << r.output;
    const gfx::TBitmap start = LoadPng(s.path / "start.png"), page = LoadPng(s.path / "page.png");
    const gfx::TBitmap full = LoadPng(s.path / "full.png");
    ASSERT_EQ(start.Width(), 640);
    ASSERT_EQ(start.Height(), 480);
    ASSERT_EQ(page.Width(), 640);
    ASSERT_EQ(page.Height(), 480);
    // The skin's title strip stays; the right-hand side changed from the start picture to the page.
    EXPECT_EQ(CountDiffering(start, page, {0, 0, 640, 20}), 0);
    EXPECT_GT(CountDiffering(start, page, {260, 40, 630, 380}), 10000);
    // The full-screen view covers the (headless) screen.
    EXPECT_EQ(full.Width(), 1024);
    EXPECT_EQ(full.Height(), 768);
}

TEST_F(ProgramScript, InfoPageAndHomepageLink) {
    const std::string script = R"(click bInfo
expect-sound 0
expect-disabled bInfo
expect-visible InfoFrame1.bBeenden
click InfoFrame1.lInternet
expect-shell http://www.example.net
click InfoFrame1.bBeenden
expect-enabled bInfo
expect-visible iStart

# a program page with a homepage: only its value opens it
click bRubrik2
expect-caption gbProgramm TextFuchs 3.2
expect-caption lFactKey6 Homepage
click lFactValue6
expect-shell http://www.textfuchs.example
click bInfo
expect-hidden pProgramme
click InfoFrame1.bBeenden
expect-visible pProgramme
)";
    const e2e::RunResult r = RunScript(s, disc, script);
    EXPECT_EQ(r.code, 0) << r.output;
}

TEST_F(ProgramScript, TwoSearchesWithTheSameFirstProgramBothShowItsPage) {
    const std::string script = R"(click bRubrik3
click bSuche
type Windows
key Enter
expect-caption lRubrik Suchergebnisse
expect-visible gbProgramm
expect-visible TransText1
click bSuche
type Deutsch
key Enter
expect-no-box
expect-caption lRubrik Suchergebnisse
expect-visible gbProgramm
expect-visible TransText1
expect-hidden iStart
click bBeenden2
)";
    const e2e::RunResult r = RunScript(s, disc, script);
    EXPECT_EQ(r.code, 0) << r.output;
}

TEST_F(ProgramScript, FailingExpectationEndsWithItsLine) {
    const e2e::RunResult r = RunScript(s, disc,
                                       "click bRubrik2\n"
                                       "expect-caption gbProgramm Kein solches Programm\n"
                                       "click bBeenden2\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(
        r.output.find(
            "line 2: expect-caption gbProgramm Kein solches Programm: the caption is \"TextFuchs 3.2\""),
        std::string::npos)
        << r.output;

    const e2e::RunResult missing = RunScript(s, disc, "click bRubrik99\n");
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.output.find("line 1: click bRubrik99: no component named bRubrik99"), std::string::npos)
        << missing.output;
}

TEST_F(ProgramScript, RunsOnADisplayToo) {
    if (std::system("command -v xvfb-run >/dev/null && command -v Xvfb >/dev/null") != 0)
        CDMENU_SKIP_OUTSIDE_CI("xvfb-run or Xvfb is not installed");
    // Events go straight to the framework; wait lets real time pass; the picture is the back buffer.
    const std::string script = R"(click bRubrik3
expect-caption gbProgramm Pixelwerk 2.1
wait 150
click 60 185
expect-caption lAnzahlProgramme 2/5
key Down
expect-caption lAnzahlProgramme 3/5
click bVollbild
expect-visible VollbildForm
click VollbildForm
expect-hidden VollbildForm
screenshot display.png
click bBeenden2
)";
    e2e::WriteText(s.path / "script.txt", script);
    // No sound device on the virtual display; SDL's D-Bus connection is not ours to free.
    e2e::WriteText(s.path / "lsan.supp", "leak:libdbus\n");
    const e2e::RunResult r = e2e::Run(
        {"--data", disc.string(), "--root", disc.string(), "--script", "script.txt"}, s.path,
        {"xvfb-run", "-a", "-n", e2e::FirstFreeDisplay(), "-s",
         "-screen 0 1024x768x24 -noreset -nolisten tcp"},
        {{"SDL_AUDIODRIVER", "none"}, {"LSAN_OPTIONS", "suppressions=" + (s.path / "lsan.supp").string()}});
    EXPECT_EQ(r.code, 0) << r.output;
    EXPECT_GT(e2e::fs::file_size(s.path / "display.png"), 1000u);
}

// Closing a message box with Enter once killed the menu within a few rounds (an X request on the
// box after it was gone), and without a window manager the keyboard stayed on no window at all, as
// it did after a copy once the progress window was gone.
TEST_F(ProgramScript, MessageBoxClosedByEnterRoundAfterRound) {
    if (std::system("command -v xvfb-run >/dev/null && command -v Xvfb >/dev/null && command -v xdotool "
                    ">/dev/null") != 0)
        CDMENU_SKIP_OUTSIDE_CI("xvfb-run, Xvfb or xdotool is not installed");
    e2e::WriteText(s.path / "lsan.supp", "leak:libdbus\n");
    const e2e::RunResult r = e2e::RunCommand(
        {"xvfb-run", "-a", "-n", e2e::FirstFreeDisplay(), "-s",
         "-screen 0 1024x768x24 -noreset -nolisten tcp", "bash",
         std::string(CDMENU_SOURCE_DIR) + "/tests/e2e/box-loop.sh", e2e::Program().string(), disc.string(),
         "40"},
        s.path,
        {{"SDL_AUDIODRIVER", "none"}, {"LSAN_OPTIONS", "suppressions=" + (s.path / "lsan.supp").string()}});
    EXPECT_EQ(r.code, 0) << r.output;
    EXPECT_EQ(r.output.find("X Error"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("X error"), std::string::npos) << r.output;
}

// The same journey at the desktop factors laptops use: the controls answer where they are drawn,
// and the window is drawn at its scaled size.
TEST_F(ProgramScript, TheJourneyWorksAtEveryDesktopFactor) {
    const std::string script = R"(click bRubrik3
expect-caption lRubrik Grafik && Foto
click 60 185
expect-caption lAnzahlProgramme 2/5
expect-caption gbProgramm Fotoschätze
wheel -1
key Down
expect-caption lAnzahlProgramme 3/5
click bRubrikauswahl
expect-visible iStart
click bRubrik3
click 60 204
expect-caption gbProgramm Vektorzeichner
screenshot page.png
)";
    e2e::WriteText(s.path / "script.txt", script);
    gfx::TBitmap at1;
    for (double scale : {1.0, 1.25, 1.5, 2.0}) {
        SCOPED_TRACE(scale);
        const e2e::RunResult r = e2e::Run({"--headless", "--scale", std::to_string(scale), "--data",
                                           disc.string(), "--root", disc.string(), "--script", "script.txt"},
                                          s.path);
        ASSERT_EQ(r.code, 0) << r.output;
        const gfx::TBitmap page = LoadPng(s.path / "page.png");
        EXPECT_EQ(page.Width(), gfx::ToPixels(640, scale));
        EXPECT_EQ(page.Height(), gfx::ToPixels(480, scale));
        if (scale == 1.0) {
            at1 = page;
            continue;
        }
        // Flat areas keep their colours where the layout puts them: the selected row's highlight
        // under the click, the list's white below its last row.
        for (const gfx::TPoint p : {gfx::TPoint{150, 207}, gfx::TPoint{100, 300}})
            EXPECT_EQ(page.Pixel(int((p.X + 0.5) * scale), int((p.Y + 0.5) * scale)), at1.Pixel(p.X, p.Y))
                << p.X << "," << p.Y;
    }
}
