// Making the backend; no display is said clearly. (Its options are read by the program start.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "gui/backend/Backend.h"

using namespace gui;

TEST(Backend, WithoutADisplayTheErrorSaysSoAndPointsToHeadless) {
    if (std::getenv("CDMENU_E2E_CHILD")) GTEST_SKIP() << "runs only outside the virtual display";
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    std::string wayland = std::getenv("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "";
    std::string runtime = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    std::string driver = std::getenv("SDL_VIDEODRIVER") ? std::getenv("SDL_VIDEODRIVER") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("XDG_RUNTIME_DIR");  // no default Wayland socket either
    // SDL's own choice: it falls back to drawing into memory, which must not count as a display.
    unsetenv("SDL_VIDEODRIVER");
    BackendOptions o;
    std::string message;
    try {
        CreateBackend(o);
    } catch (const std::runtime_error& e) {
        message = e.what();
    }
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    if (!wayland.empty()) setenv("WAYLAND_DISPLAY", wayland.c_str(), 1);
    if (!runtime.empty()) setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    if (!driver.empty()) setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
    EXPECT_NE(message.find("Keine Anzeige"), std::string::npos) << message;
    EXPECT_NE(message.find("--headless"), std::string::npos) << message;
    EXPECT_NE(message.find("weder DISPLAY noch WAYLAND_DISPLAY"), std::string::npos) << message;
}
