#include "flat/FlatGraphics.h"

#include "gfx/Color.h"

namespace flat {

namespace {

// The up arrow, 10 wide and 9 high: a triangular head on a short shaft. The other three
// directions are this picture flipped or turned, so all four share one shape.
constexpr int kArrowWidth = 10;
constexpr int kArrowHeight = 9;
constexpr const char* kUpArrow[kArrowHeight] = {
    "..........",  //
    "....##....",  //
    "...####...",  //
    "..######..",  //
    ".########.",  //
    "....##....",  //
    "....##....",  //
    "....##....",  //
    "..........",  //
};

enum Direction { kUp, kDown, kLeft, kRight };

bool ArrowPixel(Direction dir, int x, int y) {
    switch (dir) {
        case kUp:
            return kUpArrow[y][x] == '#';
        case kDown:
            return kUpArrow[kArrowHeight - 1 - y][x] == '#';
        case kLeft:
            return kUpArrow[x][y] == '#';  // turned: 9 wide, 10 high
        case kRight:
            return kUpArrow[kArrowHeight - 1 - x][y] == '#';
    }
    return false;
}

gfx::TBitmap MakeArrow(Direction dir, gfx::TColor ink) {
    const bool vertical = dir == kUp || dir == kDown;
    const int w = vertical ? kArrowWidth : kArrowHeight;
    const int h = vertical ? kArrowHeight : kArrowWidth;
    gfx::TBitmap bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bmp.SetPixel(x, y, ArrowPixel(dir, x, y) ? ink : gfx::clWhite);
    return bmp;
}

}  // namespace

gfx::TBitmap LoadFlatGlyph(std::string_view name) {
    constexpr std::string_view kPrefix = "THUMB_";
    if (!name.starts_with(kPrefix)) return {};
    name.remove_prefix(kPrefix.size());

    Direction dir;
    if (name.starts_with("UP_")) {
        dir = kUp;
    } else if (name.starts_with("DOWN_")) {
        dir = kDown;
    } else if (name.starts_with("LEFT_")) {
        dir = kLeft;
    } else if (name.starts_with("RIGHT_")) {
        dir = kRight;
    } else {
        return {};
    }
    name.remove_prefix(name.find('_') + 1);
    if (name == "ENABLED") return MakeArrow(dir, gfx::clBlack);
    if (name == "DISABLED") return MakeArrow(dir, gfx::RGB(160, 160, 128));
    return {};
}

}  // namespace flat
