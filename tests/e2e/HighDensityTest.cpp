// The menu on a display that announces 2x scaling the way desktops do (Xft.dpi: 192 in the X
// resources, on an X server at 192 dpi): the window opens at 1280x960 and a real click of the X
// server lands on the control drawn under it. Skipped where Xvfb, xdotool or xprop is missing (in CI it
// fails).
#include <gtest/gtest.h>
#include "tests/support/CiSkip.h"

#include <cstdlib>

#include "ProgramRun.h"

using e2e::fs::path;

TEST(HighDensity, XftDpi192OpensTheWindowAtTwiceItsSize) {
    E2E_REQUIRE_PROGRAM();
    if (std::system("command -v xvfb-run >/dev/null && command -v Xvfb >/dev/null && command -v xdotool "
                    ">/dev/null && command -v xwininfo >/dev/null && command -v xprop >/dev/null") != 0)
        CDMENU_SKIP_OUTSIDE_CI("xvfb-run, Xvfb, xdotool, xwininfo or xprop is not installed");
    e2e::Scratch s;
    const path disc = e2e::CopyDisc(s.path);
    // Inside the display (kept from resetting between clients, which would drop the resources):
    // announce the density as xrdb would (the root window's RESOURCE_MANAGER),
    // start the menu, measure its window and click the third category button at its centre
    // (logical 100,183) in the window's own pixels.
    e2e::WriteText(s.path / "display.sh", R"sh(set -u
xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t192\nXft.antialias:\t1\n')"
"$@" &
menu=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name 'Men' | head -n 1)
if [ -n "$win" ]; then
    xwininfo -id "$win" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print "window " w "x" h}'
    xdotool mousemove --window "$win" 200 366 click 1
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
    const e2e::RunResult r =
        e2e::Run({"--data", disc.string(), "--root", disc.string(), "--script", "script.txt"}, s.path,
                 {"xvfb-run", "-a", "-s", "-screen 0 2048x1536x24 -dpi 192 -noreset -nolisten tcp", "bash",
                  (s.path / "display.sh").string()},
                 {{"SDL_AUDIODRIVER", "none"},
                  {"SDL_VIDEODRIVER", "x11"},
                  {"LSAN_OPTIONS", "suppressions=" + (s.path / "lsan.supp").string()}});
    EXPECT_EQ(r.code, 0) << r.output;
    EXPECT_NE(r.output.find("window 1280x960"), std::string::npos) << r.output;
}
