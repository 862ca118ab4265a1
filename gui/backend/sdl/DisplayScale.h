#pragma once
// How the SDL backend fits its integer scale to a compositor that scales windows itself (Wayland):
// there a window is measured in units of the output's scale, and only a high-density window gets
// a buffer of real pixels.

namespace gui {

// The output scale given to a window: its size in pixels over its size in window units, rounded
// to a whole factor (1 where the two are the same, as on X11); 1 when a size is unknown.
int OutputScaleOf(int windowWidth, int windowHeight, int pixelWidth, int pixelHeight);

// The density a display driver announces, in dpi, 0 for none: Xft.dpi on X11, the output scale
// (as 96 dpi per step) on Wayland.
double AnnouncedDpi(const char* videoDriver, double xftDpi, int outputScale);

struct WindowScale {
    int units = 1;         // window units per logical pixel (what sizes and events are in)
    bool highDpi = false;  // ask for a buffer of real pixels
};

// How to show every logical pixel as a scale x scale block on an output that the compositor
// scales by outputScale: there a window unit is already outputScale pixels, so the window asks for
// real pixels (drawn sharp, not stretched by the compositor) and the scale rounds to a whole number
// of units. Elsewhere a unit is a pixel.
WindowScale SplitScale(int scale, int outputScale);

}  // namespace gui
