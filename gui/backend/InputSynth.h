#pragma once
// TInputSynth: turns what a person does (click, double click, press, release, move, wheel, key,
// type) into the event sequence a window system would deliver, for any automatable backend. Each
// action is injected and dispatched before the next one starts.
#include <string>

#include "gui/backend/Automation.h"

namespace gui {

// The character a key types (as a keyboard would): letters (upper case with Shift), digits without
// Shift, the keypad digits and space; 0 for every other key and with Ctrl or Alt. Enter, Escape,
// Tab and Backspace are typed by the framework itself.
char KeyChar(int key, TShiftState shift);

class TInputSynth {
public:
    explicit TInputSynth(Automation& automation) : a_(automation) {}

    // Pointer, in client coordinates of window w.
    void Move(WindowHandle w, int x, int y, TShiftState shift = 0);
    void Press(WindowHandle w, int x, int y, TMouseButton button = mbLeft,
               TShiftState shift = 0);  // move, down
    void Release(WindowHandle w, int x, int y, TMouseButton button = mbLeft, TShiftState shift = 0);
    void Click(WindowHandle w, int x, int y, TMouseButton button = mbLeft, TShiftState shift = 0);
    void DoubleClick(WindowHandle w, int x, int y);         // two clicks with no time between them
    void Wheel(WindowHandle w, int x, int y, int notches);  // positive = away from the user

    // Keyboard, to window w.
    void KeyDown(WindowHandle w, int key, TShiftState shift = 0);
    void KeyUp(WindowHandle w, int key, TShiftState shift = 0);
    void Key(WindowHandle w, int key, TShiftState shift = 0);  // down, its character, up
    void Type(WindowHandle w, const std::string& utf8);

private:
    void Mouse(EventType type, WindowHandle w, int x, int y, TMouseButton button, TShiftState shift,
               int wheel);
    void Queue(EventType type, WindowHandle w, int key, TShiftState shift);
    Automation& a_;
};

}  // namespace gui
