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

// The factor for a display: GDK_SCALE when set (1..4), else the density the desktop announces
// (Xft.dpi: 120 is 1.25, 144 is 1.5, 192 is 2), else the physical one from 168 dpi (1.75) up,
// since X servers report 96 whatever the screen and small differences are noise; in steps of 1/4.
double DensityScale(int gdkScale, double xftDpi, double physicalDpi);

struct WindowScale {
    double units = 1;      // window units per logical pixel (what sizes and events are in)
    bool highDpi = false;  // ask for a buffer of real pixels
    double scale = 1;      // device pixels per logical pixel: what the back buffers are made at
};

// How to show the windows at a desktop factor on an output that the compositor scales by
// outputScale: there a window unit is already outputScale pixels, so the window asks for real
// pixels (drawn sharp, not stretched by the compositor) and its size in units is the factor's
// share of them. Elsewhere a unit is a pixel.
WindowScale SplitScale(double scale, int outputScale);

}  // namespace gui
