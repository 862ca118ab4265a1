#pragma once
// An off-screen picture in one of three storage formats:
//   pf32bit (and pf24bit, stored the same way): rows of uint32_t 0xAARRGGBB, contiguous,
//           Stride() == Width() * 4 — the fast path every blit takes;
//   pf8bit: one palette index byte per pixel, 256-entry palette of TColor;
//   pf1bit: monochrome, packed bits, most significant bit = leftmost pixel, rows padded to 4
//           bytes; bit 0 = palette entry 0 (black), bit 1 = entry 1 (white).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Color.h"
#include "gfx/Types.h"

namespace base {
class TStream;
}

namespace gfx {

class TCanvas;

enum TPixelFormat { pfDevice, pf1bit, pf8bit, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pf32bit);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    TBitmap(TBitmap&& other) noexcept;
    TBitmap& operator=(TBitmap&& other) noexcept;
    ~TBitmap();

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    // Keeps the overlapping top-left part; new pixels are white (bit 1 for pf1bit, the palette's
    // white entry for pf8bit).
    void SetSize(int width, int height);
    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    // A back buffer or work picture of a window shown at a desktop scale holds Scale() device
    // pixels per logical pixel: Width()/Height() and all pixel access count device pixels, a canvas
    // on it takes logical coordinates (see Canvas.h). Everything loaded or sized by SetSize has 1.
    double Scale() const { return scale_; }
    int LogicalWidth() const { return scale_ == 1.0 ? width_ : logicalWidth_; }
    int LogicalHeight() const { return scale_ == 1.0 ? height_ : logicalHeight_; }
    // width x height logical pixels at scale (ToPixels of each); the pixels are not kept.
    void SetScaledSize(int width, int height, double scale);

    // pfDevice and pf24bit report as given but store as 32-bit.
    TPixelFormat PixelFormat() const { return format_; }
    // Converts the pixels: to pf1bit by comparing with the canvas brush colour (that colour
    // becomes white, everything else black), to pf8bit by nearest palette entry.
    void SetPixelFormat(TPixelFormat format);
    bool Monochrome() const { return format_ == pf1bit; }
    void SetMonochrome(bool mono) { SetPixelFormat(mono ? pf1bit : pf32bit); }
    bool Is32() const { return format_ != pf1bit && format_ != pf8bit; }

    // 256 entries for pf8bit, 2 for pf1bit, none otherwise.
    const std::vector<TColor>& Palette() const { return palette_; }
    void SetPalette(const std::vector<TColor>& palette);

    // Direct pixel access; see the storage formats above. y outside the bitmap throws.
    void* ScanLine(int y);
    const void* ScanLine(int y) const;
    uint32_t* Row32(int y) { return reinterpret_cast<uint32_t*>(ScanLine(y)); }
    const uint32_t* Row32(int y) const { return reinterpret_cast<const uint32_t*>(ScanLine(y)); }
    uint8_t* Row8(int y) { return static_cast<uint8_t*>(ScanLine(y)); }
    const uint8_t* Row8(int y) const { return static_cast<const uint8_t*>(ScanLine(y)); }
    int Stride() const { return stride_; }
    uint8_t* Bits() { return bits_.data(); }
    const uint8_t* Bits() const { return bits_.data(); }

    // Colour of a pixel (palette resolved); clInvalid outside. Setting maps to the nearest
    // palette entry for palette formats; outside is ignored.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    // Palette index (pf8bit) or bit (pf1bit) of a pixel; 0 outside.
    int PixelIndex(int x, int y) const;
    void SetPixelIndex(int x, int y, int index);
    // Storage pixel as 0x00RRGGBB with the palette resolved (fast path for converters).
    uint32_t PixelRgb(int x, int y) const;

    // Transparent drawing (Canvas::Draw honours it). tmAuto takes the bottom-left pixel's colour.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode) { transparentMode_ = mode; }

    TCanvas& Canvas();

    // Copies size, format, palette, pixels and the transparency settings.
    void Assign(const TBitmap& other);
    // Takes other's pixels without copying them; other is left empty.
    void Assign(TBitmap&& other) noexcept;
    void FreeImage() { SetSize(0, 0); }

    // BMP or JPEG, chosen by the data's signature; EInvalidGraphic / EFOpenError otherwise.
    // The name is a native path in cp1252.
    void LoadFromFile(const std::string& fileName);
    // A BMP from the stream's current position, consuming exactly its bytes (see BmpCodec.h);
    // a JPEG consumes the rest of the stream.
    void LoadFromStream(base::TStream& stream);
    void SaveToFile(const std::string& fileName) const;  // BMP
    void SaveToStream(base::TStream& stream) const;      // BMP
    void SaveToPng(const std::string& fileName) const;

private:
    void Allocate(int width, int height, TPixelFormat format);
    // Hands the pixels, their layout and palette to `old` (a fresh bitmap) before a reallocation.
    void MovePixelsTo(TBitmap& old);

    int width_ = 0;
    int height_ = 0;
    double scale_ = 1.0;
    int logicalWidth_ = 0;
    int logicalHeight_ = 0;
    int stride_ = 0;
    TPixelFormat format_ = pf32bit;
    std::vector<uint8_t> bits_;
    std::vector<TColor> palette_;
    bool transparent_ = false;
    TTransparentMode transparentMode_ = tmAuto;
    TColor transparentColor_ = clNone;
    std::unique_ptr<TCanvas> canvas_;
};

// Default palettes: the 2-entry black/white one and a 256-entry one (the 16 VGA colours, a
// 6x6x6 colour cube and grey ramp) for fresh pf8bit bitmaps.
std::vector<TColor> MonoPalette();
std::vector<TColor> DefaultPalette256();

}  // namespace gfx
