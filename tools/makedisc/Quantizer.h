#pragma once
// Reduces an RGB picture to at most 256 colours (median cut over the exact colours), for
// the 8-bit palette skin pictures and the GIF banners.
#include <cstdint>
#include <vector>

#include "tools/makedisc/Raster.h"

struct IndexedImage {
    int Width = 0;
    int Height = 0;
    std::vector<Rgb> Palette;     // at most 256 entries
    std::vector<uint8_t> Pixels;  // Width * Height indices, top row first
};

IndexedImage Quantize(const Raster& raster, int maxColours = 256);
// Maps a picture onto a palette that already exists (nearest colour).
IndexedImage MapToPalette(const Raster& raster, const std::vector<Rgb>& palette);
