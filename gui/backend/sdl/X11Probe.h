#pragma once
// Questions about the X11 display that SDL does not answer.
struct SDL_Window;

namespace gui {

// Whether a window manager runs on the display of probe (one that moves windows for SDL's hit
// test). True when the display is not X11 or the question cannot be asked.
bool X11HasWindowManager(SDL_Window* probe);

// Bits per pixel of the default visual of $DISPLAY (8 for a palette screen), 0 when unknown.
int X11DefaultDepth();

}  // namespace gui
