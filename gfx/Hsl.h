#pragma once
// Hue, saturation and lightness on the 0..240 scale (hue 0..239). Grey has hue 160 (the
// scale's "undefined" hue) and saturation 0.
#include "gfx/Color.h"

namespace gfx {

struct THsl {
    int h = 0;
    int s = 0;
    int l = 0;
};

// System colours are resolved first.
THsl ColorToHsl(TColor color);
void ColorToHsl(TColor color, int& h, int& s, int& l);
// Out-of-range arguments are clamped (hue taken modulo 240).
TColor HslToColor(int h, int s, int l);
inline TColor HslToColor(const THsl& hsl) {
    return HslToColor(hsl.h, hsl.s, hsl.l);
}

}  // namespace gfx
