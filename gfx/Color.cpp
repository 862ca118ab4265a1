#include "gfx/Color.h"

#include <array>
#include <atomic>

namespace gfx {

namespace {
// The classic Windows standard scheme.
constexpr std::array<TColor, kSystemColorCount> kClassic = {
    RGB(192, 192, 192),  // scroll bar
    RGB(0, 128, 128),    // desktop
    RGB(0, 0, 128),      // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(192, 192, 192),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(192, 192, 192),  // active border
    RGB(192, 192, 192),  // inactive border
    RGB(128, 128, 128),  // application workspace
    RGB(0, 0, 128),      // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(192, 192, 192),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(192, 192, 192),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(0, 0, 0),        // 3D dark shadow
    RGB(192, 192, 192),  // 3D light
    RGB(0, 0, 0),        // tooltip text
    RGB(255, 255, 225),  // tooltip background
    RGB(180, 180, 180),  // (unused slot 25)
    RGB(0, 0, 255),      // hot-tracked item
    RGB(16, 132, 208),   // gradient active caption
    RGB(181, 181, 181),  // gradient inactive caption
    RGB(0, 0, 128),      // menu highlight
    RGB(192, 192, 192),  // menu bar
};

// Set by the backend at start-up (and by tests); read while drawing.
std::array<std::atomic<TColor>, kSystemColorCount>& Table() {
    static std::array<std::atomic<TColor>, kSystemColorCount> table;
    static bool filled = [] {
        for (int i = 0; i < kSystemColorCount; ++i) table[size_t(i)] = kClassic[size_t(i)];
        return true;
    }();
    (void)filled;
    return table;
}
}  // namespace

TColor GetSysColor(int index) {
    if (index < 0 || index >= kSystemColorCount) return clBlack;
    return Table()[size_t(index)].load(std::memory_order_relaxed);
}

void SetSysColor(int index, TColor rgb) {
    if (index < 0 || index >= kSystemColorCount) return;
    Table()[size_t(index)].store(rgb & 0xFFFFFF, std::memory_order_relaxed);
}

void ResetSysColors() {
    for (int i = 0; i < kSystemColorCount; ++i) Table()[size_t(i)] = kClassic[size_t(i)];
}

TColor ColorToRGB(TColor color) {
    if (IsSystemColor(color)) return GetSysColor(int(color & 0xFF));
    return color;
}

}  // namespace gfx
