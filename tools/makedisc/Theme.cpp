#include "tools/makedisc/Theme.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace theme {

Rgb Backdrop(double x, double y) {
    Rgb c = Mix(kNightTop, kNightBottom, std::clamp(y / 480.0, 0.0, 1.0));
    const double glowA = std::exp(-(std::pow(x - 40, 2) + std::pow(y - 60, 2)) / (2 * 150.0 * 150.0));
    const double glowB = std::exp(-(std::pow(x - 620, 2) + std::pow(y - 470, 2)) / (2 * 170.0 * 170.0));
    c = Mix(c, Hex(0x1E5A7A), 0.35 * glowA);
    c = Mix(c, Hex(0x3B2A6E), 0.30 * glowB);
    return Weave(c, static_cast<int>(x), static_cast<int>(y), 1.0);
}

Rgb Weave(Rgb c, int x, int y, double strength) {
    if ((x + y) % 7 == 0) c = Shade(c, 0.045 * strength);
    if ((x - y + 700) % 7 == 0) c = Shade(c, -0.10 * strength);
    return c;
}

Rgb Sidebar(double y) {
    return Mix(Hex(0x1F2C4C), Hex(0x121A2F), std::clamp((y - 24) / 450, 0.0, 1.0));
}

Rgb Paper(double y, double y0, double y1) {
    return Mix(kPaperTop, kPaperBottom, std::clamp((y - y0) / (y1 - y0), 0.0, 1.0));
}

void DrawDisc(Raster& r, double cx, double cy, double radius, Rgb hole) {
    r.Shadow(cx - radius, cy - radius + 3, cx + radius, cy + radius + 3, radius, radius * 0.35, Hex(0), 0.45);
    r.Circle(cx, cy, radius, [=](double x, double y) {
        const double a = std::atan2(y - cy, x - cx);
        const double d = std::hypot(x - cx, y - cy) / radius;
        // Silver with a soft iridescent sheen that turns with the angle.
        const Rgb sheen[] = {Hex(0x9FE7FF), Hex(0xE3B5FF), Hex(0xFFE9A8), Hex(0xA8FFD9)};
        const double t = (a + std::numbers::pi) / (2 * std::numbers::pi) * 4;
        const int i = static_cast<int>(t) % 4;
        const Rgb tint = Mix(sheen[i], sheen[(i + 1) % 4], t - std::floor(t));
        const double light = 0.5 + 0.5 * std::cos(2 * a - 0.9);
        Rgb c = Mix(Hex(0xB8C2D6), tint, 0.55 * light);
        return Shade(c, 0.25 * (1 - d));
    });
    r.Ring(cx, cy, radius - 0.5, 1.0, Hex(0xFFFFFF), 0.5);
    r.Circle(cx, cy, radius * 0.34, Hex(0xD9DEE8));
    r.Ring(cx, cy, radius * 0.34, 1.0, Hex(0x8A94A8), 0.8);
    r.Circle(cx, cy, radius * 0.14, hole);
}

}  // namespace theme
