#pragma once
// Questions about the X11 display that SDL does not answer.
struct SDL_Window;

namespace gui {

// Whether a window manager runs on the display of probe (one that moves windows for SDL's hit
// test). True when the display is not X11 or the question cannot be asked.
bool X11HasWindowManager(SDL_Window* probe);

// The X11 connection of SDL's windows, for waiting on it ourselves. SDL's own wait wakes itself by
// sending an event to its newest window from a second connection; when that window is a message
// box closed at that moment, the X server answers BadWindow and Xlib ends the process.
struct X11Connection {
    int fd = -1;  // -1: not X11, or the connection cannot be reached
    int (*pending)(void*) = nullptr;
    void* display = nullptr;

    // Events Xlib has read but SDL has not taken yet: waiting on the socket would miss them.
    bool Pending() const { return pending && pending(display) > 0; }
    // Where the pointer is on the screen now, asked of the server: motion events are relative to
    // a window that a drag is moving, and SDL's global answer may come from a stale cache.
    bool Pointer(int& x, int& y) const;

    int (*queryPointer)(void*, unsigned long, unsigned long*, unsigned long*, int*, int*, int*, int*,
                        unsigned*) = nullptr;
    unsigned long (*rootWindow)(void*) = nullptr;
};
X11Connection X11ConnectionOf(SDL_Window* window);

// Replaces Xlib's default error handler, which ends the process, by one that names the error on
// the error stream and carries on: a request on a window that is already gone is not fatal.
void X11KeepGoingOnErrors();

// Bits per pixel of the default visual of $DISPLAY (8 for a palette screen), 0 when unknown.
int X11DefaultDepth();

// The Xft.dpi value in the X resource database of $DISPLAY (what desktops set for 2x scaling),
// 0 when unset or unknown.
double X11XftDpi();

// The value of "Xft.dpi:" in a resource manager string, 0 when it has none.
double XftDpiOf(const char* resources);

}  // namespace gui
