// Choosing the backend from the command line and the environment; no display is said clearly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "gui/backend/Backend.h"

using namespace gui;

TEST(Backend, OptionsComeFromTheCommandLineAndTheEnvironment) {
    unsetenv("CDMENU_HEADLESS");
    unsetenv("CDMENU_SCALE");
    const char* none[] = {"cdmenu"};
    BackendOptions o = ParseBackendOptions(1, none);
    EXPECT_FALSE(o.headless);
    EXPECT_EQ(o.scale, 0);
    const char* args[] = {"cdmenu", "--data", "x", "--headless", "--scale", "2"};
    o = ParseBackendOptions(6, args);
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.scale, 2);
    const char* silly[] = {"cdmenu", "--scale=99"};
    EXPECT_EQ(ParseBackendOptions(2, silly).scale, 8);
    setenv("CDMENU_HEADLESS", "1", 1);
    EXPECT_TRUE(ParseBackendOptions(1, none).headless);
    setenv("CDMENU_HEADLESS", "0", 1);
    EXPECT_FALSE(ParseBackendOptions(1, none).headless);
    unsetenv("CDMENU_HEADLESS");
    EXPECT_STREQ(CreateBackend(ParseBackendOptions(6, args))->Name(), "headless");
}

TEST(Backend, WithoutADisplayTheErrorSaysSoAndPointsToHeadless) {
    if (std::getenv("CDMENU_E2E_CHILD")) GTEST_SKIP() << "runs only outside the virtual display";
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    std::string wayland = std::getenv("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "";
    std::string runtime = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("XDG_RUNTIME_DIR");                  // no default Wayland socket either
    setenv("SDL_VIDEODRIVER", "x11,wayland", 1);  // never a console or dummy driver here
    BackendOptions o;
    std::string message;
    try {
        CreateBackend(o);
    } catch (const std::runtime_error& e) {
        message = e.what();
    }
    unsetenv("SDL_VIDEODRIVER");
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    if (!wayland.empty()) setenv("WAYLAND_DISPLAY", wayland.c_str(), 1);
    if (!runtime.empty()) setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    EXPECT_NE(message.find("Keine Anzeige"), std::string::npos) << message;
    EXPECT_NE(message.find("--headless"), std::string::npos) << message;
}
