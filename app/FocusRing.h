#pragma once
// Tab order through controls that a form walks itself: the framework's own Tab order knows only
// windowed controls, while the skin's buttons and links are windowless.
#include <vector>

namespace gui {
class TControl;
class TForm;
}  // namespace gui

// A stop that can take the focus now: on screen and enabled (a skin button by its own flag).
bool CanTakeFocus(gui::TControl* c);

// Moves the form's focus to the next (or previous) stop of ring after the focused control that
// can take it; from outside the ring to its first (last) such stop. Returns the control focused
// now, nullptr when no stop could take the focus.
gui::TControl* MoveFocusInRing(gui::TForm& form, const std::vector<gui::TControl*>& ring, bool forward);
