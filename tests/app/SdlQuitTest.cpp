// The system's ways of ending the menu, through the SDL backend's own event translation on SDL's
// dummy video driver (no display needed): the quit request, the window manager's close and
// Alt+F4 each end it as its close button does, with the farewell sound.
#include <gtest/gtest.h>
#include "tests/support/CiSkip.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "gui/backend/Backend.h"
#include "tests/support/MenuFixture.h"

namespace {

// The SDL window of the main form: the one titled as it.
SDL_Window* MainWindow() {
    for (Uint32 id = 1; id < 64; ++id)
        if (SDL_Window* w = SDL_GetWindowFromID(id); w && std::strcmp(SDL_GetWindowTitle(w), "Menü") == 0)
            return w;
    return nullptr;
}

// Starts the menu on the disc copy with the SDL backend on the dummy driver, pushes the event
// that make() builds, lets the loop run, and reports whether the menu ended with its farewell.
void EndsWithFarewell(const char* what, void (*make)(SDL_Event&, SDL_Window*)) {
    SCOPED_TRACE(what);
    MenuFixture disc(MenuFixture::kNoStart);
    TProgramStart start(disc.Options);
    ASSERT_TRUE(start.AcquireInstance());
    platform::RecordingSound& sound = *platform::ActiveRecordings().sound;
    sound.Clear();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::unique_ptr<gui::Backend> backend;
    try {
        gui::BackendOptions options;
        options.scale = 1;
        backend = gui::CreateBackend(options);  // not headless: SDL on this system
    } catch (const std::runtime_error& e) {
        CDMENU_SKIP_OUTSIDE_CI(std::string("SDL's dummy video driver is not available: ") + e.what());
    }
    ASSERT_EQ(std::string(SDL_GetCurrentVideoDriver()), "dummy");
    ASSERT_TRUE(start.CreateWindows(std::move(backend)));
    TMainForm* m = start.Main();
    m->Show();
    start.App()->ProcessMessages();
    ASSERT_FALSE(start.App()->Terminated());
    const uint8_t* farewell = m->Model().Resource()->SoundSlots[6].data();
    ASSERT_NE(farewell, nullptr);

    SDL_Window* window = MainWindow();
    ASSERT_NE(window, nullptr);
    SDL_Event e;
    SDL_zero(e);
    make(e, window);
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    start.App()->ProcessMessages();
    EXPECT_TRUE(start.App()->Terminated());
    ASSERT_NE(sound.LastPlayed(), nullptr);
    EXPECT_EQ(sound.LastPlayed()->image, farewell);
}

}  // namespace

TEST(SdlQuit, QuitCloseAndAltF4EndTheMenuWithItsFarewell) {
    EndsWithFarewell("SDL_QUIT", [](SDL_Event& e, SDL_Window*) { e.type = SDL_QUIT; });
    EndsWithFarewell("SDL_WINDOWEVENT_CLOSE", [](SDL_Event& e, SDL_Window* w) {
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = SDL_GetWindowID(w);
        e.window.event = SDL_WINDOWEVENT_CLOSE;
    });
    EndsWithFarewell("Alt+F4", [](SDL_Event& e, SDL_Window* w) {
        e.type = SDL_KEYDOWN;
        e.key.windowID = SDL_GetWindowID(w);
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = SDLK_F4;
        e.key.keysym.scancode = SDL_SCANCODE_F4;
        e.key.keysym.mod = KMOD_LALT;
    });
}
