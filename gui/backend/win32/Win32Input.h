#pragma once
// What the Win32 backend reads of the keyboard and the mouse, in the framework's terms.
#include <cstdint>

#include "gui/Keys.h"

namespace gui {

// The keys the framework knows (as the SDL backend maps them); others are not reported.
bool KnownKey(std::uintptr_t vk);
// Shift, Ctrl and Alt as they are now.
TShiftState KeyMods();
// The modifiers and buttons of a mouse message's wParam (Alt from the keyboard's state).
TShiftState MouseState(std::uintptr_t wp);

}  // namespace gui
