#pragma once
// TPressTracker: the press behaviour every button shares, written once. The button keeps one,
// feeds it its mouse and key input, and decides how each state looks and what a click does.
//
//   input                          Held  Inside               KeyHeld  answer
//   left press                     yes   yes                  -        (ssDouble: no click later)
//   move while held                yes   pointer on the hit   -        Move: Inside changed
//   left release while held        no    no                   -        ClickAt: a click (inside)
//   Space down                     -     -                    yes      KeyDown: taken
//   Space up while KeyHeld         -     -                    no       KeyUp: a click
//   focus lost                     -     -                    no
//   Cancel (disabled)              no    no                   no
//
// Enter is not a press: it clicks the focused push button at once, or the default one while the
// focus is on something that is no push button (EnterIsFor).
#include <functional>

#include "gui/Keys.h"

namespace gui {

class TControl;

class TPressTracker {
public:
    using HitTest = std::function<bool(int x, int y)>;

    // Inside is the owner's client rectangle unless hit says otherwise.
    explicit TPressTracker(const TControl& owner, HitTest hit = {});

    bool Held() const { return held_; }
    bool Inside() const { return held_ && inside_; }
    bool KeyHeld() const { return keyHeld_; }

    // A left press; the second press of a double click (ssDouble in shift) holds without a click
    // on its release, for buttons that take a double click as such.
    void Press(TShiftState shift = 0) {
        held_ = true;
        inside_ = true;
        clicks_ = !(shift & ssDouble);
    }
    bool Move(int x, int y);  // true when Inside changed
    // A left release here clicks: held, on the hit, and not the second press of a double click
    // for buttons that take it as such. The hold goes on until Release, so the click still sees
    // the button pressed.
    bool ClickAt(int x, int y) const;
    bool Release(int x, int y);  // ends a hold; answers ClickAt(x, y)
    bool KeyDown(int key);       // true for Space, which now holds the button
    bool KeyUp(int key);         // true for Space released while held: a click
    void Cancel();
    void FocusLost() { keyHeld_ = false; }  // Space's release goes to another control now
    bool Hit(int x, int y) const;

    // Enter goes to button (a push button, isDefault its Default) when focused is button, or,
    // with the focus on no push button, when button is the default one.
    static bool EnterIsFor(const TControl* button, bool isDefault, const TControl* focused);

private:
    const TControl& owner_;
    HitTest hit_;
    bool held_ = false;
    bool inside_ = false;
    bool clicks_ = false;  // the release of this hold may click
    bool keyHeld_ = false;
};

}  // namespace gui
