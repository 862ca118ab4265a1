#include "tools/makedisc/IconArt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/makedisc/Raster.h"
#include "tools/makedisc/Theme.h"

namespace {

void Put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// How much of the pixel at (x, y) lies on the ring between the hole and the rim.
double Coverage(int x, int y, int size) {
    const double c = size / 2.0, d = std::hypot(x + 0.5 - c, y + 0.5 - c);
    const double outer = std::clamp(c - 0.5 - d + 0.5, 0.0, 1.0);
    const double hole = std::clamp(d - size * 0.09 + 0.5, 0.0, 1.0);
    return std::min(outer, hole);
}

Raster PaintDisc(int size) {
    const double c = size / 2.0, r = c - 0.5;
    Raster disc(size, size, theme::kNightTop);
    // Silver with a sheen that turns with the angle, as light falls on a pressed disc.
    disc.Circle(c, c, r, [c](double x, double y) {
        const double a = std::atan2(y - c, x - c);
        return Mix(Hex(0xC9D3E3), Hex(0xF4F7FB), 0.5 + 0.5 * std::cos(2 * a));
    });
    disc.Ring(c, c, r * 0.62, std::max(1.0, size * 0.16), theme::kBlue, 0.85);
    disc.Ring(c, c, r, std::max(1.0, size / 32.0), theme::kBlueDeep);
    disc.Circle(c, c, size * 0.17, Hex(0xDDE3EC));
    return disc;
}

// One image of the .ico: a 32-bit bitmap (height doubled for the AND mask, which stays clear:
// the alpha channel decides), rows from the bottom up.
std::string IconImage(int size) {
    const Raster disc = PaintDisc(size);
    std::string out;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(size));
    Put32(out, static_cast<uint32_t>(size * 2));
    Put16(out, 1);
    Put16(out, 32);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            const Rgb p = disc.At(x, y);
            out += static_cast<char>(p.B);
            out += static_cast<char>(p.G);
            out += static_cast<char>(p.R);
            out += static_cast<char>(std::lround(255 * Coverage(x, y, size)));
        }
    const size_t maskRow = (static_cast<size_t>(size) + 31) / 32 * 4;
    out.append(maskRow * static_cast<size_t>(size), '\0');
    return out;
}

}  // namespace

std::string EncodeProgramIcon() {
    const std::vector<int> sizes = {16, 32, 48};
    std::vector<std::string> images;
    images.reserve(sizes.size());
    for (int s : sizes) images.push_back(IconImage(s));
    std::string out;
    Put16(out, 0);
    Put16(out, 1);  // an icon, not a cursor
    Put16(out, static_cast<unsigned>(sizes.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        out += static_cast<char>(sizes[i]);
        out += static_cast<char>(sizes[i]);
        out += '\0';  // no palette
        out += '\0';
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const std::string& image : images) out += image;
    return out;
}
