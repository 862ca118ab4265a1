// The menu on displays that announce their scaling the way desktops do (Xft.dpi in the X
// resources): the window opens at the factor's size (fractional ones included, and smaller where
// the screen is too small) and a real click of the X server lands on the control drawn under it. Skipped
// where Xvfb, xdotool or xprop is missing (in CI it fails).
#include <gtest/gtest.h>
#include "tests/support/CiSkip.h"

#include <cstdlib>

#include "ProgramRun.h"

using e2e::fs::path;

namespace {

// Runs the menu in an X server of the given screen and density that announces `dpi` as desktops
// do, clicks the third category button at its centre (logical 100,183) in the window's own pixels
// and returns what the run printed: "window WxH" and the script's verdict.
e2e::RunResult RunAtDensity(int dpi, const char* screen, int clickX, int clickY) {
    e2e::Scratch s;
    const path disc = e2e::CopyDisc(s.path);
    // Inside the display (kept from resetting between clients, which would drop the resources):
    // announce the density as xrdb would (the root window's RESOURCE_MANAGER), start the menu,
    // measure its window and click.
    e2e::WriteText(s.path / "display.sh", R"sh(set -u
xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t%s\nXft.antialias:\t1\n' "$DPI")"
"$@" &
menu=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name 'Men' | head -n 1)
if [ -n "$win" ]; then
    xwininfo -id "$win" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print "window " w "x" h}'
    xdotool mousemove --window "$win" "$CLICK_X" "$CLICK_Y" click 1
fi
wait "$menu"
)sh");
    // The menu waits (real time) for the click, then checks where it landed.
    e2e::WriteText(s.path / "script.txt", R"(wait 5000
expect-visible pProgramme
expect-caption lRubrik Grafik && Foto
click bBeenden2
)");
    e2e::WriteText(s.path / "lsan.supp", "leak:libdbus\n");
    const std::string server =
        std::string("-screen 0 ") + screen + " -dpi " + std::to_string(dpi) + " -noreset -nolisten tcp";
    return e2e::Run({"--data", disc.string(), "--root", disc.string(), "--script", "script.txt"}, s.path,
                    {"xvfb-run", "-a", "-n", e2e::FirstFreeDisplay(), "-s", server, "bash",
                     (s.path / "display.sh").string()},
                    {{"SDL_AUDIODRIVER", "none"},
                     {"SDL_VIDEODRIVER", "x11"},
                     {"DPI", std::to_string(dpi)},
                     {"CLICK_X", std::to_string(clickX)},
                     {"CLICK_Y", std::to_string(clickY)},
                     {"LSAN_OPTIONS", "suppressions=" + (s.path / "lsan.supp").string()}});
}

bool HaveXTools() {
    return std::system(
               "command -v xvfb-run >/dev/null && command -v Xvfb >/dev/null && command -v xdotool "
               ">/dev/null && command -v xwininfo >/dev/null && command -v xprop >/dev/null") == 0;
}

}  // namespace

TEST(HighDensity, TheWindowTakesTheDesktopsFactorAndClicksLandOnWhatIsDrawn) {
    E2E_REQUIRE_PROGRAM();
    if (!HaveXTools()) CDMENU_SKIP_OUTSIDE_CI("xvfb-run, Xvfb, xdotool, xwininfo or xprop is not installed");
    struct Case {
        int dpi;
        const char* screen;
        const char* window;
        int x, y;  // logical 100,183 at the factor
    };
    for (const Case& c : {Case{192, "2048x1536x24", "window 1280x960", 200, 366},
                          Case{144, "2048x1536x24", "window 960x720", 151, 275},
                          Case{120, "2048x1536x24", "window 800x600", 126, 229},
                          // 2x would not fit a 1024x768 screen: the largest quarter step that does.
                          Case{192, "1024x768x24", "window 960x720", 151, 275}}) {
        SCOPED_TRACE(std::to_string(c.dpi) + " dpi on " + c.screen);
        const e2e::RunResult r = RunAtDensity(c.dpi, c.screen, c.x, c.y);
        EXPECT_EQ(r.code, 0) << r.output;
        EXPECT_NE(r.output.find(c.window), std::string::npos) << r.output;
    }
}
