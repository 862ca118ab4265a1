#include "gfx/Hsl.h"

#include <algorithm>

namespace gfx {

namespace {
constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;
constexpr int kUndefinedHue = kHlsMax * 2 / 3;

int HueToRgb(int n1, int n2, int hue) {
    if (hue < 0) hue += kHlsMax;
    if (hue > kHlsMax) hue -= kHlsMax;
    if (hue < kHlsMax / 6) return n1 + ((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6);
    if (hue < kHlsMax / 2) return n2;
    if (hue < kHlsMax * 2 / 3)
        return n1 + ((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6);
    return n1;
}
}  // namespace

// The classic integer conversion of the window system's colour dialog.
THsl ColorToHsl(TColor color) {
    TColor c = ColorToRGB(color);
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    int cMax = std::max({r, g, b}), cMin = std::min({r, g, b});
    THsl out;
    out.l = ((cMax + cMin) * kHlsMax + kRgbMax) / (2 * kRgbMax);
    if (cMax == cMin) {
        out.s = 0;
        out.h = kUndefinedHue;
        return out;
    }
    int delta = cMax - cMin;
    if (out.l <= kHlsMax / 2)
        out.s = (delta * kHlsMax + (cMax + cMin) / 2) / (cMax + cMin);
    else
        out.s = (delta * kHlsMax + (2 * kRgbMax - cMax - cMin) / 2) / (2 * kRgbMax - cMax - cMin);
    int rDelta = ((cMax - r) * (kHlsMax / 6) + delta / 2) / delta;
    int gDelta = ((cMax - g) * (kHlsMax / 6) + delta / 2) / delta;
    int bDelta = ((cMax - b) * (kHlsMax / 6) + delta / 2) / delta;
    int h;
    if (r == cMax)
        h = bDelta - gDelta;
    else if (g == cMax)
        h = kHlsMax / 3 + rDelta - bDelta;
    else
        h = 2 * kHlsMax / 3 + gDelta - rDelta;
    if (h < 0) h += kHlsMax;
    if (h >= kHlsMax) h -= kHlsMax;
    out.h = h;
    return out;
}

void ColorToHsl(TColor color, int& h, int& s, int& l) {
    THsl v = ColorToHsl(color);
    h = v.h, s = v.s, l = v.l;
}

TColor HslToColor(int h, int s, int l) {
    h = ((h % kHlsMax) + kHlsMax) % kHlsMax;
    s = std::clamp(s, 0, kHlsMax);
    l = std::clamp(l, 0, kHlsMax);
    if (s == 0) {
        int v = (l * kRgbMax) / kHlsMax;
        return RGB(v, v, v);
    }
    int m2 = l <= kHlsMax / 2 ? (l * (kHlsMax + s) + kHlsMax / 2) / kHlsMax
                              : l + s - (l * s + kHlsMax / 2) / kHlsMax;
    int m1 = 2 * l - m2;
    auto ch = [&](int hue) {
        return std::clamp((HueToRgb(m1, m2, hue) * kRgbMax + kHlsMax / 2) / kHlsMax, 0, 255);
    };
    return RGB(ch(h + kHlsMax / 3), ch(h), ch(h - kHlsMax / 3));
}

}  // namespace gfx
