#pragma once
// TGIFFrame — one decoded image of a GIF picture: its place in the logical screen, its timing and
// disposal, its colours and its pixels.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/GIFFrameStatus.h"

namespace media {

struct TGIFFrame {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int ColourBits = 0;  // exponent of the local colour table; 0 without one
    int Delay = 0;       // milliseconds
    uint8_t Disposal = 0;
    bool HasLocalPalette = false;
    bool Interlaced = false;
    bool Transparent = false;
    uint8_t TransparentIndex = 0;
    // How the image data ended; a kept frame is gsOk, gsTruncated or gsDamaged.
    TGIFFrameStatus Status = TGIFFrameStatus::gsOk;
    // Pixels, in the order the data stores them, that came from the data before it ended or before its
    // first damaged code: Width * Height for a whole frame.
    std::size_t DecodedPixels = 0;
    int RootCodeSize = 0;  // the LZW root code size byte of the data

    // RGB triples: the local table, or a copy of the global one. Only the first PaletteCount entries
    // belong to the frame's bitmap; pixels with a higher index show black.
    std::array<uint8_t, 768> Palette{};
    int PaletteCount = 0;

    // Width * Height colour indices, top row first.
    std::vector<uint8_t> Pixels;
    // Width * Height flags, 1 = transparent; only for a transparent frame.
    std::vector<uint8_t> Mask;

    // What lay under the frame before it was drawn (0x00RRGGBB per pixel, and the composed mask);
    // only for disposal 3, filled while composing.
    std::vector<uint32_t> SavedImage;
    std::vector<uint8_t> SavedMask;

    // The frame's colour of pixel index i as 0x00RRGGBB.
    uint32_t Rgb(uint8_t index) const {
        if (index >= PaletteCount) return 0;
        const uint8_t* p = &Palette[index * 3];
        return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
};

}  // namespace media
