#include "gui/backend/sdl/SdlEventTranslate.h"

#include <SDL_version.h>

#include <cmath>

#include "base/Cp1252.h"

namespace gui {

namespace {

// The keypad without NumLock: the cursor block printed under the digits.
int KeypadNavigation(SDL_Keycode k) {
    switch (k) {
        case SDLK_KP_0:
            return VK_INSERT;
        case SDLK_KP_1:
            return VK_END;
        case SDLK_KP_2:
            return VK_DOWN;
        case SDLK_KP_3:
            return VK_NEXT;
        case SDLK_KP_4:
            return VK_LEFT;
        case SDLK_KP_5:
            return VK_CLEAR;
        case SDLK_KP_6:
            return VK_RIGHT;
        case SDLK_KP_7:
            return VK_HOME;
        case SDLK_KP_8:
            return VK_UP;
        case SDLK_KP_9:
            return VK_PRIOR;
        case SDLK_KP_PERIOD:
            return VK_DELETE;
        default:
            return 0;
    }
}

bool MouseButton(Uint8 sdlButton, TMouseButton& button) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            button = mbLeft;
            return true;
        case SDL_BUTTON_RIGHT:
            button = mbRight;
            return true;
        case SDL_BUTTON_MIDDLE:
            button = mbMiddle;
            return true;
        default:
            return false;
    }
}

// Whole notches of a wheel event, positive away from the user. A precise wheel (a touch pad)
// turns by fractions that are gathered until they make a notch.
int WheelNotches(const SDL_MouseWheelEvent& w, float& carry) {
    const int sign = w.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
#if SDL_VERSION_ATLEAST(2, 0, 18)
    if (w.preciseY != 0.0f) {
        carry += sign * w.preciseY;
        // A little slack, so that ten tenths make a notch despite the binary fractions.
        const float whole = carry > 0 ? std::floor(carry + 1e-4f) : std::ceil(carry - 1e-4f);
        carry -= whole;
        if (std::fabs(carry) < 1e-4f) carry = 0;
        return int(whole);
    }
#endif
    if (w.y) carry = 0;  // a wheel with notches: nothing of a touch pad's turn is pending
    return sign * w.y;
}

}  // namespace

int SdlKeyToVirtualKey(SDL_Keycode k, Uint16 modifiers) {
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + (k - SDLK_F1);
    if (!(modifiers & KMOD_NUM))
        if (int nav = KeypadNavigation(k)) return nav;
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (k - SDLK_KP_1);
    switch (k) {
        case SDLK_KP_0:
            return VK_NUMPAD0;
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_END:
            return VK_END;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_INSERT:
            return VK_INSERT;
        case SDLK_DELETE:
            return VK_DELETE;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT:
            return VK_MENU;
        case SDLK_PAUSE:
            return VK_PAUSE;
        case SDLK_CAPSLOCK:
            return VK_CAPITAL;
        case SDLK_KP_MULTIPLY:
            return VK_MULTIPLY;
        case SDLK_KP_PLUS:
            return VK_ADD;
        case SDLK_KP_MINUS:
            return VK_SUBTRACT;
        case SDLK_KP_PERIOD:
            return VK_DECIMAL;
        case SDLK_KP_DIVIDE:
            return VK_DIVIDE;
        default:
            return 0;
    }
}

TShiftState SdlShiftState(Uint16 modifiers, Uint32 buttons) {
    TShiftState s = 0;
    if (modifiers & KMOD_SHIFT) s |= ssShift;
    if (modifiers & KMOD_CTRL) s |= ssCtrl;
    if (modifiers & KMOD_ALT) s |= ssAlt;
    if (buttons & SDL_BUTTON_LMASK) s |= ssLeft;
    if (buttons & SDL_BUTTON_RMASK) s |= ssRight;
    if (buttons & SDL_BUTTON_MMASK) s |= ssMiddle;
    return s;
}

bool TranslateSdlEvent(const SDL_Event& e, SdlTranslateState& st, const SdlWindowLookup& lookup, Event& ev) {
    ev = Event{};
    const double units = st.units > 0 ? st.units : 1.0;
    if (st.wakeEvent != 0 && e.type == st.wakeEvent) {
        ev.type = EventType::Wake;
        return true;
    }
    TRect bounds{};
    auto find = [&](Uint32 id) { return lookup && lookup(id, ev.window, bounds); };
    switch (e.type) {
        case SDL_MOUSEMOTION:
            if (!find(e.motion.windowID)) return false;
            ev.type = EventType::MouseMove;
            ev.x = gfx::FromPixels(e.motion.x, units);
            ev.y = gfx::FromPixels(e.motion.y, units);
            ev.shift = SdlShiftState(st.modifiers, e.motion.state);
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (!find(e.button.windowID) || !MouseButton(e.button.button, ev.button)) return false;
            ev.type = e.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
            ev.x = gfx::FromPixels(e.button.x, units);
            ev.y = gfx::FromPixels(e.button.y, units);
            ev.shift = SdlShiftState(st.modifiers, st.buttons);
            return true;
        case SDL_MOUSEWHEEL: {
            if (!find(e.wheel.windowID)) return false;
            const int notches = WheelNotches(e.wheel, st.wheelCarry);
            if (!notches) return false;
            ev.type = EventType::MouseWheel;
#if SDL_VERSION_ATLEAST(2, 26, 0)
            ev.x = gfx::FromPixels(e.wheel.mouseX, units);
            ev.y = gfx::FromPixels(e.wheel.mouseY, units);
#else
            ev.x = gfx::FromPixels(st.pointerX, units);
            ev.y = gfx::FromPixels(st.pointerY, units);
#endif
            ev.wheelDelta = notches * 120;
            ev.shift = SdlShiftState(st.modifiers, st.buttons);
            return true;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            // Keys count even for a window that is not ours (0): the focused form takes them.
            find(e.key.windowID);
            ev.key = SdlKeyToVirtualKey(e.key.keysym.sym, e.key.keysym.mod);
            if (!ev.key) return false;
            ev.type = e.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
            ev.shift = SdlShiftState(e.key.keysym.mod, 0);
            ev.repeat = e.key.repeat != 0;
            return true;
        case SDL_TEXTINPUT:
            find(e.text.windowID);
            // Characters that cp1252 lacks become '?', as everywhere text enters the program.
            ev.text = base::Utf8ToCp1252(e.text.text);
            if (ev.text.empty()) return false;
            ev.type = EventType::Text;
            return true;
        case SDL_WINDOWEVENT:
            if (!find(e.window.windowID)) return false;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    ev.type = EventType::CloseRequest;
                    return true;
                case SDL_WINDOWEVENT_EXPOSED:
                    ev.type = EventType::Expose;
                    return true;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    ev.type = EventType::Activated;
                    return true;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    ev.type = EventType::Deactivated;
                    return true;
                case SDL_WINDOWEVENT_LEAVE:
                    ev.type = EventType::MouseLeftWindow;
                    return true;
                case SDL_WINDOWEVENT_MINIMIZED:
                    ev.type = EventType::Minimized;
                    return true;
                case SDL_WINDOWEVENT_RESTORED:
                    ev.type = EventType::Restored;
                    return true;
                case SDL_WINDOWEVENT_MOVED:
                    ev.type = EventType::Moved;
                    ev.x = gfx::FromPixels(e.window.data1, units);
                    ev.y = gfx::FromPixels(e.window.data2, units);
                    return true;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    ev.x = gfx::FromPixels(e.window.data1, units);
                    ev.y = gfx::FromPixels(e.window.data2, units);
                    // Our own resizes come back as events too; only a new size is news.
                    if (ev.x == bounds.Width() && ev.y == bounds.Height()) return false;
                    ev.type = EventType::Resized;
                    return true;
                default:
                    return false;
            }
        case SDL_QUIT:
            ev.type = EventType::Quit;
            return true;
        default:
            return false;
    }
}

}  // namespace gui
