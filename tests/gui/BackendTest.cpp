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
