#include "tools/common/BmpWriter.h"

#include <algorithm>
#include <stdexcept>

namespace {

void U16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void U32(std::string& out, uint32_t v) {
    U16(out, v & 0xFFFF);
    U16(out, v >> 16);
}

}  // namespace

int TBmpWriter::RowBytes(int width, int bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

std::string TBmpWriter::Write(const TBmpSpec& spec) {
    const int bits = spec.BitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        throw std::invalid_argument("TBmpWriter: bit count must be 1, 4, 8, 24 or 32");
    if (spec.Width <= 0 || spec.Height <= 0) throw std::invalid_argument("TBmpWriter: empty picture");
    if (spec.Pixels.size() != static_cast<size_t>(spec.Width) * static_cast<size_t>(spec.Height))
        throw std::invalid_argument("TBmpWriter: pixel count does not match the size");
    const bool core = spec.InfoHeaderSize == 12;
    if (!core && spec.InfoHeaderSize != 40 && spec.InfoHeaderSize != 108 && spec.InfoHeaderSize != 124)
        throw std::invalid_argument("TBmpWriter: info header size must be 12, 40, 108 or 124");
    if (core && (spec.Width > 0xFFFF || spec.Height > 0xFFFF || spec.TopDown))
        throw std::invalid_argument("TBmpWriter: the core header has no room for this picture");
    const size_t maxColours = bits <= 8 ? size_t(1) << bits : 0;
    if (spec.Palette.size() > maxColours) throw std::invalid_argument("TBmpWriter: palette too large");
    if (bits <= 8 && spec.Palette.empty()) throw std::invalid_argument("TBmpWriter: palette missing");
    if (core && spec.Palette.size() != maxColours)
        throw std::invalid_argument("TBmpWriter: a core header needs the full palette");
    for (uint32_t p : spec.Pixels)
        if (bits <= 8 && p >= spec.Palette.size())
            throw std::invalid_argument("TBmpWriter: index outside the palette");

    const uint32_t entry = core ? 3 : 4;
    const uint32_t rowBytes = static_cast<uint32_t>(RowBytes(spec.Width, bits));
    const uint32_t tableBytes = static_cast<uint32_t>(spec.Palette.size()) * entry;
    const uint32_t offBits = 14 + static_cast<uint32_t>(spec.InfoHeaderSize) + tableBytes;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(spec.Height);

    std::string out;
    out.reserve(offBits + imageBytes);
    out += "BM";
    U32(out, offBits + imageBytes);
    U32(out, 0);
    U32(out, offBits);

    U32(out, static_cast<uint32_t>(spec.InfoHeaderSize));
    if (core) {
        U16(out, static_cast<uint32_t>(spec.Width));
        U16(out, static_cast<uint32_t>(spec.Height));
        U16(out, 1);
        U16(out, static_cast<uint32_t>(bits));
    } else {
        U32(out, static_cast<uint32_t>(spec.Width));
        U32(out, static_cast<uint32_t>(spec.TopDown ? -spec.Height : spec.Height));
        U16(out, 1);
        U16(out, static_cast<uint32_t>(bits));
        U32(out, 0);  // BI_RGB
        U32(out, imageBytes);
        U32(out, spec.XPelsPerMeter);
        U32(out, spec.YPelsPerMeter);
        uint32_t used = spec.ColoursUsed >= 0               ? static_cast<uint32_t>(spec.ColoursUsed)
                        : spec.Palette.size() == maxColours ? 0
                                                            : static_cast<uint32_t>(spec.Palette.size());
        U32(out, used);
        U32(out, 0);  // all colours important
        // v4/v5: masks, colour space "sRGB", endpoints and gammas, then the v5 intent and profile.
        if (spec.InfoHeaderSize >= 108) {
            for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) U32(out, mask);
            U32(out, 0x73524742);
            out.append(36 + 12, '\0');
            if (spec.InfoHeaderSize == 124) {
                U32(out, 4);  // LCS_GM_IMAGES
                out.append(12, '\0');
            }
        }
    }
    for (uint32_t rgb : spec.Palette) {
        out.push_back(static_cast<char>(rgb & 0xFF));
        out.push_back(static_cast<char>((rgb >> 8) & 0xFF));
        out.push_back(static_cast<char>((rgb >> 16) & 0xFF));
        if (!core) out.push_back('\0');
    }

    std::string row(rowBytes, '\0');
    for (int r = 0; r < spec.Height; ++r) {
        const int y = spec.TopDown ? r : spec.Height - 1 - r;
        const uint32_t* src = spec.Pixels.data() + static_cast<size_t>(y) * spec.Width;
        std::fill(row.begin(), row.end(), '\0');
        for (int x = 0; x < spec.Width; ++x) {
            const uint32_t v = src[x];
            switch (bits) {
                case 1:
                    if (v) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
                    break;
                case 4:
                    row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 ? v : v << 4));
                    break;
                case 8:
                    row[x] = static_cast<char>(v);
                    break;
                default: {
                    const size_t at = static_cast<size_t>(x) * (bits / 8);
                    row[at] = static_cast<char>(v & 0xFF);
                    row[at + 1] = static_cast<char>((v >> 8) & 0xFF);
                    row[at + 2] = static_cast<char>((v >> 16) & 0xFF);
                    if (bits == 32) row[at + 3] = static_cast<char>(v >> 24);
                }
            }
        }
        out += row;
    }
    return out;
}
