#pragma once
// SDL events to the framework's events, as a pure function: everything SDL would be asked about
// (modifier keys, mouse buttons, the window an id names) comes in with the call, so the whole
// translation is tested with made-up events and without a display. It calls no SDL function.
#include <SDL_events.h>

#include <functional>

#include "gui/backend/Backend.h"

namespace gui {

// What the translation reads besides the event, and the little it keeps between events.
struct SdlTranslateState {
    double units = 1;      // window units per logical pixel
    Uint32 wakeEvent = 0;  // the event type registered for Backend::Wake (0: none)
    Uint16 modifiers = 0;  // SDL_GetModState() when the event is taken
    Uint32 buttons = 0;    // SDL_GetMouseState()'s button mask when the event is taken
    int pointerX = 0;      // the pointer in window units, for wheel events that do not carry it
    int pointerY = 0;
    float wheelCarry = 0;  // in and out: a fraction of a notch left over from a precise wheel
};

// The framework's handle and logical bounds of the window with an SDL window id; false when the
// id names none of ours.
using SdlWindowLookup = std::function<bool(Uint32 windowId, WindowHandle& handle, TRect& bounds)>;

// Turns e into at most one event. false: the event means nothing to the framework (another
// window's, an unmapped key, a wheel turned by less than a notch, a resize to the same size).
bool TranslateSdlEvent(const SDL_Event& e, SdlTranslateState& state, const SdlWindowLookup& lookup,
                       Event& out);

// The virtual key of an SDL key; the keypad follows NumLock as on Windows (digits with it,
// cursor keys without). 0 for keys the framework has no code for.
int SdlKeyToVirtualKey(SDL_Keycode key, Uint16 modifiers);

TShiftState SdlShiftState(Uint16 modifiers, Uint32 buttons);

}  // namespace gui
