// Which shared libraries the program loads: SDL2 only for a window, never headless.
#include <gtest/gtest.h>

#include "ProgramRun.h"

using e2e::fs::path;
using LibraryLoad = e2e::DiscCopyTest;

TEST_F(LibraryLoad, HeadlessStartLoadsNoSdlAndWindowModeWithoutSdlSaysWhy) {
    const path script = s.path / "script.txt";
    e2e::WriteText(script, "expect-visible iStart\n");
    const std::vector<std::string> args{"--data",      disc.string(), "--root",
                                        disc.string(), "--script",    script.string()};

    // The loader reports every library it maps; the C library shows that the report works.
    std::vector<std::string> headless = args;
    headless.insert(headless.begin(), "--headless");
    const e2e::RunResult quiet = e2e::Run(headless, s.path, {}, {{"LD_DEBUG", "libs"}});
    EXPECT_EQ(quiet.code, 0) << quiet.output;
    EXPECT_NE(quiet.output.find("libc.so.6"), std::string::npos) << quiet.output;
    EXPECT_EQ(quiet.output.find("libSDL2"), std::string::npos) << quiet.output;

    // An SDL2 that cannot be loaded (found first through LD_LIBRARY_PATH, but no library): the
    // window mode ends with the reason, in German, instead of crashing or hanging.
    const path broken = s.path / "broken";
    e2e::fs::create_directories(broken);
    e2e::WriteText(broken / "libSDL2-2.0.so.0", "not a library");
    const e2e::RunResult window =
        e2e::Run(args, s.path, {}, {{"LD_LIBRARY_PATH", broken.string()}, {"DISPLAY", ":0"}});
    EXPECT_NE(window.code, 0) << window.output;
    EXPECT_NE(window.output.find("SDL2 (libSDL2-2.0.so.0) kann nicht geladen werden"), std::string::npos)
        << window.output;
    EXPECT_NE(window.output.find("nur mit --headless"), std::string::npos) << window.output;
}
