// The SDL event translation with made-up SDL events: no display, no SDL call.
#include "gui/backend/sdl/SdlEventTranslate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace gui {
namespace {

constexpr Uint32 kOurWindow = 7;     // SDL's id of the one window we made
constexpr WindowHandle kHandle = 3;  // its framework handle
constexpr Uint32 kWake = SDL_USEREVENT + 1;

struct Translator {
    SdlTranslateState state;
    TRect bounds{100, 50, 740, 530};  // 640 x 480 at (100, 50)
    SdlWindowLookup lookup = [this](Uint32 id, WindowHandle& h, TRect& b) {
        if (id != kOurWindow) return false;
        h = kHandle;
        b = bounds;
        return true;
    };
    Translator() { state.wakeEvent = kWake; }
    // The events that a run of SDL events gives.
    std::vector<Event> Run(const std::vector<SDL_Event>& in) {
        std::vector<Event> out;
        for (const SDL_Event& e : in) {
            Event ev;
            if (TranslateSdlEvent(e, state, lookup, ev)) out.push_back(ev);
        }
        return out;
    }
    std::vector<Event> Run(const SDL_Event& e) { return Run(std::vector<SDL_Event>{e}); }
};

SDL_Event Key(Uint32 type, SDL_Keycode sym, Uint16 mod, Uint8 repeat = 0, Uint32 window = kOurWindow) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.key.windowID = window;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    e.key.repeat = repeat;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    return e;
}

SDL_Event Wheel(Sint32 y, float preciseY, Uint32 direction = SDL_MOUSEWHEEL_NORMAL,
                Uint32 window = kOurWindow) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = window;
    e.wheel.y = y;
    e.wheel.preciseY = preciseY;
    e.wheel.direction = direction;
    e.wheel.mouseX = 84;
    e.wheel.mouseY = 42;
    return e;
}

SDL_Event Text(const char* utf8) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_TEXTINPUT;
    e.text.windowID = kOurWindow;
    std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
    return e;
}

SDL_Event Window(Uint8 what, Sint32 data1 = 0, Sint32 data2 = 0, Uint32 window = kOurWindow) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = window;
    e.window.event = what;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
}

SDL_Event Button(Uint32 type, Uint8 button, Sint32 x, Sint32 y) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.button.windowID = kOurWindow;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}

TEST(SdlEventTranslate, KeysCarryTheirModifiersAndRepeat) {
    Translator t;
    auto out = t.Run({Key(SDL_KEYDOWN, SDLK_f, KMOD_LCTRL), Key(SDL_KEYDOWN, SDLK_TAB, KMOD_RSHIFT),
                      Key(SDL_KEYDOWN, SDLK_F4, KMOD_LALT), Key(SDL_KEYDOWN, SDLK_a, KMOD_NONE, 1),
                      Key(SDL_KEYUP, SDLK_a, KMOD_LSHIFT | KMOD_RCTRL | KMOD_CAPS)});
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[0].type, EventType::KeyDown);
    EXPECT_EQ(out[0].key, 'F');
    EXPECT_EQ(out[0].shift, ssCtrl);
    EXPECT_EQ(out[0].window, kHandle);
    EXPECT_FALSE(out[0].repeat);
    EXPECT_EQ(out[1].key, VK_TAB);
    EXPECT_EQ(out[1].shift, ssShift);
    EXPECT_EQ(out[2].key, VK_F4);
    EXPECT_EQ(out[2].shift, ssAlt);
    EXPECT_EQ(out[3].key, 'A');
    EXPECT_EQ(out[3].shift, 0u);
    EXPECT_TRUE(out[3].repeat);
    EXPECT_EQ(out[4].type, EventType::KeyUp);
    EXPECT_EQ(out[4].shift, ssShift | ssCtrl);  // Caps Lock is no shift state

    // A key for no window of ours still reaches the focused form (window 0); an unknown key is dropped.
    out = t.Run(
        {Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_NONE, 0, 99), Key(SDL_KEYDOWN, SDLK_PRINTSCREEN, KMOD_NONE)});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].key, VK_RETURN);
    EXPECT_EQ(out[0].window, 0u);
}

TEST(SdlEventTranslate, KeypadFollowsNumLock) {
    struct Case {
        SDL_Keycode sym;
        int withNumLock, without;
    };
    const Case cases[] = {
        {SDLK_KP_0, VK_NUMPAD0, VK_INSERT},
        {SDLK_KP_1, VK_NUMPAD0 + 1, VK_END},
        {SDLK_KP_2, VK_NUMPAD0 + 2, VK_DOWN},
        {SDLK_KP_3, VK_NUMPAD0 + 3, VK_NEXT},
        {SDLK_KP_4, VK_NUMPAD0 + 4, VK_LEFT},
        {SDLK_KP_5, VK_NUMPAD0 + 5, VK_CLEAR},
        {SDLK_KP_6, VK_NUMPAD0 + 6, VK_RIGHT},
        {SDLK_KP_7, VK_NUMPAD0 + 7, VK_HOME},
        {SDLK_KP_8, VK_NUMPAD0 + 8, VK_UP},
        {SDLK_KP_9, VK_NUMPAD9, VK_PRIOR},
        {SDLK_KP_PERIOD, VK_DECIMAL, VK_DELETE},
        // The operators and Enter do not depend on NumLock.
        {SDLK_KP_ENTER, VK_RETURN, VK_RETURN},
        {SDLK_KP_PLUS, VK_ADD, VK_ADD},
        {SDLK_KP_MINUS, VK_SUBTRACT, VK_SUBTRACT},
        {SDLK_KP_MULTIPLY, VK_MULTIPLY, VK_MULTIPLY},
        {SDLK_KP_DIVIDE, VK_DIVIDE, VK_DIVIDE},
    };
    Translator t;
    for (const Case& c : cases) {
        auto on = t.Run(Key(SDL_KEYDOWN, c.sym, KMOD_NUM));
        auto off = t.Run(Key(SDL_KEYDOWN, c.sym, KMOD_NONE));
        ASSERT_EQ(on.size(), 1u) << c.sym;
        ASSERT_EQ(off.size(), 1u) << c.sym;
        EXPECT_EQ(on[0].key, c.withNumLock) << c.sym;
        EXPECT_EQ(off[0].key, c.without) << c.sym;
        EXPECT_EQ(on[0].shift, 0u);  // NumLock is no shift state
    }
    // The cursor keys outside the keypad ignore NumLock.
    EXPECT_EQ(t.Run(Key(SDL_KEYDOWN, SDLK_END, KMOD_NUM))[0].key, VK_END);
}

TEST(SdlEventTranslate, WheelMergesNotchesAndGathersPreciseTurns) {
    Translator t;
    t.state.modifiers = KMOD_LCTRL;
    // Three notches merged into one event; the pointer position comes with the event.
    auto out = t.Run(Wheel(3, 3.0f));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].type, EventType::MouseWheel);
    EXPECT_EQ(out[0].wheelDelta, 360);
    EXPECT_EQ(out[0].x, 84);
    EXPECT_EQ(out[0].y, 42);
    EXPECT_EQ(out[0].shift, ssCtrl);
    // A flipped (natural scrolling) wheel reports the other sign; towards the user is negative.
    EXPECT_EQ(t.Run(Wheel(2, 2.0f, SDL_MOUSEWHEEL_FLIPPED))[0].wheelDelta, -240);
    EXPECT_EQ(t.Run(Wheel(-1, -1.0f))[0].wheelDelta, -120);

    // A touch pad: quarters make a notch on the fourth event, and not before.
    out = t.Run({Wheel(0, 0.25f), Wheel(0, 0.25f), Wheel(0, 0.25f)});
    EXPECT_TRUE(out.empty());
    out = t.Run(Wheel(1, 0.25f));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].wheelDelta, 120);
    // Ten tenths are one notch despite binary fractions; the rest is carried, also across a sign.
    std::vector<SDL_Event> tenths(10, Wheel(0, 0.1f));
    out = t.Run(tenths);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].wheelDelta, 120);
    out = t.Run({Wheel(2, 2.5f), Wheel(0, 0.5f)});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].wheelDelta, 240);
    EXPECT_EQ(out[1].wheelDelta, 120);
    out = t.Run({Wheel(0, -0.75f, SDL_MOUSEWHEEL_FLIPPED), Wheel(0, -0.25f, SDL_MOUSEWHEEL_FLIPPED)});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].wheelDelta, 120);
    out = t.Run({Wheel(0, -0.5f), Wheel(0, 0.25f), Wheel(0, -0.75f)});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].wheelDelta, -120);

    // Horizontal turns and other windows' wheels mean nothing here; positions follow the scale.
    SDL_Event sideways = Wheel(0, 0.0f);
    sideways.wheel.x = 1;
    EXPECT_TRUE(t.Run(sideways).empty());
    EXPECT_TRUE(t.Run(Wheel(1, 1.0f, SDL_MOUSEWHEEL_NORMAL, 99)).empty());
    t.state.units = 2;
    out = t.Run(Wheel(1, 1.0f));
    EXPECT_EQ(out[0].x, 42);
    EXPECT_EQ(out[0].y, 21);
}

TEST(SdlEventTranslate, TextBecomesCp1252) {
    Translator t;
    auto out = t.Run({Text("Gr\xC3\xBC\xC3\x9F"
                           "e \xE2\x82\xAC"),
                      Text("a\xE6\x97\xA5"
                           "b"),
                      Text("")});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].type, EventType::Text);
    EXPECT_EQ(out[0].window, kHandle);
    EXPECT_EQ(out[0].text,
              "Gr\xFC\xDF"
              "e \x80");  // ü, ß and the euro sign have cp1252 bytes
    // A character cp1252 lacks is replaced by '?', as all text entering the program.
    EXPECT_EQ(out[1].text, "a?b");
    // The longest text SDL sends in one event arrives whole.
    std::string longText(SDL_TEXTINPUTEVENT_TEXT_SIZE - 1, 'x');
    out = t.Run(Text(longText.c_str()));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].text, longText);
}

TEST(SdlEventTranslate, WindowEvents) {
    Translator t;
    t.state.units = 2;
    auto out = t.Run({Window(SDL_WINDOWEVENT_FOCUS_GAINED), Window(SDL_WINDOWEVENT_FOCUS_LOST),
                      Window(SDL_WINDOWEVENT_EXPOSED), Window(SDL_WINDOWEVENT_CLOSE),
                      Window(SDL_WINDOWEVENT_MOVED, 300, 120), Window(SDL_WINDOWEVENT_LEAVE),
                      Window(SDL_WINDOWEVENT_MINIMIZED), Window(SDL_WINDOWEVENT_RESTORED),
                      Window(SDL_WINDOWEVENT_SHOWN)});
    ASSERT_EQ(out.size(), 8u);
    const EventType expected[] = {EventType::Activated,    EventType::Deactivated, EventType::Expose,
                                  EventType::CloseRequest, EventType::Moved,       EventType::MouseLeftWindow,
                                  EventType::Minimized,    EventType::Restored};
    for (size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i].type, expected[i]) << i;
        EXPECT_EQ(out[i].window, kHandle) << i;
    }
    EXPECT_EQ(out[4].x, 150);  // window units back to logical pixels
    EXPECT_EQ(out[4].y, 60);

    // A resize to the size the window has is our own resize coming back; another size is news.
    EXPECT_TRUE(t.Run(Window(SDL_WINDOWEVENT_SIZE_CHANGED, 1280, 960)).empty());
    out = t.Run(Window(SDL_WINDOWEVENT_SIZE_CHANGED, 1600, 1000));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].type, EventType::Resized);
    EXPECT_EQ(out[0].x, 800);
    EXPECT_EQ(out[0].y, 500);

    // Events of windows that are not ours are dropped; the wake-up and quit need no window.
    EXPECT_TRUE(t.Run(Window(SDL_WINDOWEVENT_CLOSE, 0, 0, 99)).empty());
    SDL_Event wake, quit;
    std::memset(&wake, 0, sizeof wake);
    std::memset(&quit, 0, sizeof quit);
    wake.type = kWake;
    quit.type = SDL_QUIT;
    out = t.Run({wake, quit});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].type, EventType::Wake);
    EXPECT_EQ(out[1].type, EventType::Quit);
}

TEST(SdlEventTranslate, MouseButtonsAndMotion) {
    Translator t;
    t.state.modifiers = KMOD_LSHIFT;
    t.state.buttons = SDL_BUTTON_LMASK;
    auto out = t.Run({Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20),
                      Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 10, 20)});
    ASSERT_EQ(out.size(), 1u);  // the side buttons have no meaning here
    EXPECT_EQ(out[0].type, EventType::MouseDown);
    EXPECT_EQ(out[0].button, mbLeft);
    EXPECT_EQ(out[0].x, 10);
    EXPECT_EQ(out[0].y, 20);
    EXPECT_EQ(out[0].shift, ssShift | ssLeft);

    t.state.buttons = 0;
    t.state.modifiers = KMOD_NONE;
    out = t.Run(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 5, 6));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].type, EventType::MouseUp);
    EXPECT_EQ(out[0].button, mbRight);
    EXPECT_EQ(out[0].shift, 0u);

    // A move carries the buttons held at its time, not the ones held when it is taken.
    SDL_Event move;
    std::memset(&move, 0, sizeof move);
    move.type = SDL_MOUSEMOTION;
    move.motion.windowID = kOurWindow;
    move.motion.x = 64;
    move.motion.y = 32;
    move.motion.state = SDL_BUTTON_MMASK | SDL_BUTTON_RMASK;
    t.state.units = 2;
    out = t.Run(move);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].type, EventType::MouseMove);
    EXPECT_EQ(out[0].x, 32);
    EXPECT_EQ(out[0].y, 16);
    EXPECT_EQ(out[0].shift, ssMiddle | ssRight);
}

}  // namespace
}  // namespace gui
