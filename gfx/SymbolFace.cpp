#include "gfx/SymbolFace.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace gfx {

namespace {
struct Box {
    double x0, y0, x1, y1;
};
}  // namespace

TSymbolFace::TSymbolFace(double em, bool antialias, bool bold) : em_(em), antialias_(antialias), bold_(bold) {
    metrics_.ascent = int(std::ceil(em * 0.8));
    metrics_.descent = int(std::ceil(em * 0.2));
    metrics_.height = metrics_.ascent + metrics_.descent;
    metrics_.underlinePos = 1;
    metrics_.lineThickness = 1;
}

TGlyph TSymbolFace::Render(unsigned char c) {
    TGlyph g;
    int size = std::max(4, int(std::lround(em_)));
    g.advance = size;
    std::vector<Box> boxes;
    double t = std::max(1.0, std::round(size / 12.0 * (bold_ ? 1.5 : 1.0))) / size;  // stroke in em
    bool cross = false;
    switch (c) {
        case '0':  // minimise: a bar at the bottom
            boxes.push_back({0.2, 0.72, 0.7, 0.72 + 2 * t});
            break;
        case '1':  // maximise: a window with a thick title bar
            boxes = {{0.15, 0.15, 0.85, 0.15 + 2 * t},
                     {0.15, 0.15, 0.15 + t, 0.85},
                     {0.85 - t, 0.15, 0.85, 0.85},
                     {0.15, 0.85 - t, 0.85, 0.85}};
            break;
        case '2':  // restore: two overlapping windows
            boxes = {{0.35, 0.1, 0.9, 0.1 + 2 * t},   {0.9 - t, 0.1, 0.9, 0.6},
                     {0.7, 0.6 - t, 0.9, 0.6},        {0.35, 0.1, 0.35 + t, 0.3},
                     {0.1, 0.35, 0.65, 0.35 + 2 * t}, {0.1, 0.35, 0.1 + t, 0.88},
                     {0.65 - t, 0.35, 0.65, 0.88},    {0.1, 0.88 - t, 0.65, 0.88}};
            break;
        case 'r':  // close: a cross
            cross = true;
            break;
        default:
            return g;
    }
    const int ss = 4;
    g.width = size;
    g.height = size;
    g.left = 0;
    g.top = metrics_.ascent;
    g.coverage.assign(size_t(size) * size_t(size), 0);
    double half = (bold_ ? 1.6 : 1.1) * std::max(1.0, size / 12.0) / 2.0 / size;  // stroke half-width in em
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int hits = 0;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx) {
                    double u = (x + (sx + 0.5) / ss) / size, v = (y + (sy + 0.5) / ss) / size;
                    bool in = false;
                    for (const Box& b : boxes) in = in || (u >= b.x0 && u < b.x1 && v >= b.y0 && v < b.y1);
                    if (cross && u >= 0.2 && u <= 0.8 && v >= 0.2 && v <= 0.8) {
                        double d1 = std::abs(u - v) / std::sqrt(2.0),
                               d2 = std::abs(u + v - 1) / std::sqrt(2.0);
                        in = in || d1 <= half || d2 <= half;
                    }
                    hits += in;
                }
            uint8_t cov = uint8_t(hits * 255 / (ss * ss));
            if (!antialias_) cov = hits * 2 >= ss * ss ? 255 : 0;
            g.coverage[size_t(y) * size_t(size) + size_t(x)] = cov;
        }
    return g;
}

}  // namespace gfx
