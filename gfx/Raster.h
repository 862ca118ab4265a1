#pragma once
// Pixel kernels behind TCanvas: ternary raster operations between bitmaps of any two formats,
// clipping of a blit, stretching by the stretch modes, and channel blending.
#include <cstdint>

#include "gfx/Bitmap.h"
#include "gfx/Types.h"

namespace gfx::raster {

constexpr uint32_t kRgbMask = 0x00FFFFFF;

// Per-channel mix of two 0x00RRGGBB values: cov 255 = src, 0 = dst.
inline uint32_t Blend(uint32_t dst, uint32_t src, unsigned cov) {
    unsigned inv = 255 - cov;
    uint32_t r = ((src >> 16 & 0xFF) * cov + (dst >> 16 & 0xFF) * inv + 127) / 255;
    uint32_t g = ((src >> 8 & 0xFF) * cov + (dst >> 8 & 0xFF) * inv + 127) / 255;
    uint32_t b = ((src & 0xFF) * cov + (dst & 0xFF) * inv + 127) / 255;
    return (r << 16) | (g << 8) | b;
}

// The ternary operation `code` (bits of the op's third byte) on pattern, source and destination.
uint32_t Rop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d);
bool RopUsesSource(uint8_t code);

// Any pixel format read as 0x00RRGGBB.
inline uint32_t SourceRgb(const TBitmap& b, int x, int y) {
    if (b.Is32()) return b.Row32(y)[x] & kRgbMask;
    return b.PixelRgb(x, y);
}

// Row y as R, G, B bytes, the order the picture writers take.
inline void RgbBytesOfRow(const TBitmap& b, int y, uint8_t* out) {
    for (int x = 0; x < b.Width(); ++x, out += 3) {
        const uint32_t p = b.PixelRgb(x, y);
        out[0] = uint8_t(p >> 16);
        out[1] = uint8_t(p >> 8);
        out[2] = uint8_t(p);
    }
}

struct BlitColors {
    uint32_t pattern;    // brush of the destination canvas
    uint32_t text;       // mono 0 bits become this (destination's font colour)
    uint32_t back;       // mono 1 bits become this (destination's brush colour)
    uint32_t reference;  // colour -> mono: source pixels of this colour become 1 (source's brush)
};

// dst rectangle [dx, dx+w) x [dy, dy+h) in device coordinates, already clipped; src (when the
// operation reads it) already inside the source. Formats are converted as TCanvas describes.
void BlitCore(TBitmap& dst, int dx, int dy, int w, int h, const TBitmap* src, int sx, int sy, uint8_t rop,
              const BlitColors& colors);

// Intersects the destination rectangle with clip and the source rectangle with the source bitmap,
// moving both together. Returns false when nothing remains.
bool ClipBlit(const TRect& clip, int& dx, int& dy, int& w, int& h, const TBitmap* src, int& sx, int& sy);

// The stretched picture of src's rectangle at |w| x |h| (mirrored for negative sizes), pf1bit for
// a monochrome source and pf32bit otherwise.
TBitmap StretchSource(const TBitmap& src, int sx, int sy, int sw, int sh, int w, int h, int mode);

// Draws src's pixel rectangle `from` stretched onto dst's pixel rectangle `to`, only the part
// `part` of `to` (inside dst). Where the picture grows a destination pixel mixes the two nearest
// source pixels on each axis (bilinear); where it shrinks it averages the source area it covers.
// With a key, source pixels of that colour carry nothing: the destination shows through them, and
// at the picture's edge in proportion. For pictures shown at a desktop scale.
void DrawResampled(TBitmap& dst, const TRect& to, const TRect& part, const TBitmap& src, const TRect& from,
                   const uint32_t* key = nullptr);

}  // namespace gfx::raster
