#pragma once
// TBmpWriter — builds uncompressed Windows bitmap files (BMP) in memory for tests and the sample disc,
// independent of the program's own BMP reader so that the reader can be checked against it.
//
// Pixels are given top row first: colour indices for 1, 4 and 8 bits, 0xAARRGGBB values for 24 and
// 32 bits (alpha only written at 32 bits). The file stores rows bottom-up unless TopDown is set.
#include <cstdint>
#include <string>
#include <vector>

struct TBmpSpec {
    int Width = 0, Height = 0;
    int BitCount = 24;              // 1, 4, 8, 24 or 32
    bool TopDown = false;           // negative height, first row on top
    std::vector<uint32_t> Palette;  // 0x00RRGGBB per entry, for 1/4/8 bits
    std::vector<uint32_t> Pixels;   // Width * Height values, top row first
    // Size of the info header: 40 (the usual one), 108 or 124 (v4/v5), or 12 (core header, with
    // three-byte palette entries and 16-bit dimensions).
    int InfoHeaderSize = 40;
    // Written into the "colours used" field; -1 = write the palette's size, or 0 when the palette
    // is full (2^BitCount entries) as most writers do. The palette itself is always written whole.
    int ColoursUsed = -1;
    uint32_t XPelsPerMeter = 2835, YPelsPerMeter = 2835;  // 72 dpi
};

class TBmpWriter {
public:
    // The whole file image. Throws std::invalid_argument for a picture it cannot write.
    static std::string Write(const TBmpSpec& spec);
    // Bytes per stored pixel row (padded to a multiple of 4).
    static int RowBytes(int width, int bitCount);
    // Convenience: a 24-bit picture filled by a function of (x, y) returning 0x00RRGGBB.
    template <class F>
    static std::string Fill24(int width, int height, F colourAt) {
        TBmpSpec spec;
        spec.Width = width;
        spec.Height = height;
        spec.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) spec.Pixels[static_cast<size_t>(y) * width + x] = colourAt(x, y);
        return Write(spec);
    }
};
