#include "gfx/Bitmap.h"

#include <cstring>
#include <utility>

#include "base/Cp1252.h"
#include "base/FileStream.h"
#include "base/MemoryStream.h"
#include "base/StrUtils.h"
#include "gfx/BmpCodec.h"
#include "gfx/Canvas.h"
#include "gfx/GraphicError.h"
#include "gfx/JpegCodec.h"
#include "gfx/PngCodec.h"

namespace gfx {

namespace {
constexpr uint32_t kWhitePixel = 0x00FFFFFF;

int NearestIndex(const std::vector<TColor>& palette, TColor c) {
    int best = 0;
    int bestDist = 1 << 30;
    for (size_t i = 0; i < palette.size(); ++i) {
        TColor p = palette[i];
        int dr = GetRValue(p) - GetRValue(c), dg = GetGValue(p) - GetGValue(c),
            db = GetBValue(p) - GetBValue(c);
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = int(i);
            if (d == 0) break;
        }
    }
    return best;
}

int StrideFor(int width, TPixelFormat format) {
    if (width <= 0) return 0;
    if (format == pf1bit) return ((width + 31) / 32) * 4;
    if (format == pf8bit) return width;
    return width * 4;
}
}  // namespace

std::vector<TColor> MonoPalette() {
    return {clBlack, clWhite};
}

std::vector<TColor> DefaultPalette256() {
    std::vector<TColor> p = {clBlack, clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clSilver,
                             clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) p.push_back(RGB(r * 51, g * 51, b * 51));
    for (int i = 0; p.size() < 256; ++i) p.push_back(RGB(8 + i * 10, 8 + i * 10, 8 + i * 10));
    return p;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
    format_ = format;
    SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap& other) {
    Assign(other);
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this != &other) Assign(other);
    return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept {
    Assign(std::move(other));
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
    Assign(std::move(other));
    return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::Allocate(int width, int height, TPixelFormat format) {
    scale_ = 1.0;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    format_ = format;
    stride_ = StrideFor(width_, format);
    bits_.assign(size_t(stride_) * size_t(height_), 0);
    if (format == pf1bit) {
        if (palette_.size() != 2) palette_ = MonoPalette();
        std::memset(bits_.data(), 0xFF, bits_.size());
    } else if (format == pf8bit) {
        if (palette_.size() != 256) palette_ = DefaultPalette256();
        std::memset(bits_.data(), NearestIndex(palette_, clWhite), bits_.size());
    } else {
        palette_.clear();
        std::fill(reinterpret_cast<uint32_t*>(bits_.data()),
                  reinterpret_cast<uint32_t*>(bits_.data() + bits_.size()), kWhitePixel);
    }
    if (canvas_) canvas_->TargetResized();
}

void TBitmap::MovePixelsTo(TBitmap& old) {
    old.width_ = width_;
    old.height_ = height_;
    old.stride_ = stride_;
    old.format_ = format_;
    old.palette_ = palette_;
    old.bits_.swap(bits_);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_ &&
        bits_.size() == size_t(StrideFor(width, format_)) * size_t(height)) {
        scale_ = 1.0;
        return;
    }
    TBitmap old;
    MovePixelsTo(old);
    Allocate(width, height, format_);
    int w = std::min(width_, old.width_), h = std::min(height_, old.height_);
    if (w > 0 && h > 0) {
        if (format_ == pf1bit) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) SetPixelIndex(x, y, old.PixelIndex(x, y));
        } else {
            size_t bytes = format_ == pf8bit ? size_t(w) : size_t(w) * 4;
            for (int y = 0; y < h; ++y) std::memcpy(Row8(y), old.Row8(y), bytes);
        }
    }
}

void TBitmap::SetScaledSize(int width, int height, double scale) {
    if (!(scale > 0)) scale = 1.0;
    const int w = std::max(width, 0), h = std::max(height, 0);
    const int pw = ToPixels(w, scale), ph = ToPixels(h, scale);
    if (pw != width_ || ph != height_ || bits_.size() != size_t(StrideFor(pw, format_)) * size_t(ph))
        Allocate(pw, ph, format_);
    scale_ = scale;
    logicalWidth_ = w;
    logicalHeight_ = h;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == pfDevice) format = pf32bit;
    bool wasPacked = !Is32();
    bool toPacked = format == pf1bit || format == pf8bit;
    if (format == format_) return;
    if (!wasPacked && !toPacked) {  // 24 <-> 32 share their storage
        format_ = format;
        return;
    }
    TBitmap old;
    MovePixelsTo(old);
    if (format == pf8bit) palette_ = format_ == pf8bit ? old.palette_ : DefaultPalette256();
    if (format == pf1bit) palette_ = MonoPalette();
    const double scale = scale_;
    Allocate(old.width_, old.height_, format);
    scale_ = scale;
    if (!toPacked) {
        // Palette indices to pixels: one table lookup each.
        uint32_t table[256] = {};
        for (size_t i = 0; i < old.palette_.size() && i < 256; ++i)
            table[i] = ColorToPixel(ColorToRGB(old.palette_[i]) & 0xFFFFFF);
        for (int y = 0; y < height_; ++y) {
            const uint8_t* from = old.bits_.data() + size_t(y) * size_t(old.stride_);
            uint32_t* to = Row32(y);
            if (old.format_ == pf8bit)
                for (int x = 0; x < width_; ++x) to[x] = table[from[x]];
            else
                for (int x = 0; x < width_; ++x) to[x] = table[(from[x >> 3] >> (7 - (x & 7))) & 1];
        }
        return;
    }
    TColor reference = ColorToRGB(old.canvas_ ? old.canvas_->Brush().Color() : clWhite) & 0xFFFFFF;
    if (canvas_) reference = ColorToRGB(canvas_->Brush().Color()) & 0xFFFFFF;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            TColor c = old.Pixel(x, y);
            if (format == pf1bit)
                SetPixelIndex(x, y, c == reference ? 1 : 0);
            else
                SetPixel(x, y, c);
        }
}

void TBitmap::SetPalette(const std::vector<TColor>& palette) {
    if (format_ == pf1bit) {
        palette_ = palette;
        palette_.resize(2, clWhite);
    } else if (format_ == pf8bit) {
        palette_ = palette;
        palette_.resize(256, clBlack);
    }
}

void* TBitmap::ScanLine(int y) {
    if (y < 0 || y >= height_)
        throw EInvalidGraphic(
            base::Format("Zeilenindex %d au\xDF"
                         "erhalb des Bildes",
                         y));
    return bits_.data() + size_t(y) * size_t(stride_);
}

const void* TBitmap::ScanLine(int y) const {
    return const_cast<TBitmap*>(this)->ScanLine(y);
}

int TBitmap::PixelIndex(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const uint8_t* row = bits_.data() + size_t(y) * size_t(stride_);
    if (format_ == pf1bit) return (row[x >> 3] >> (7 - (x & 7))) & 1;
    if (format_ == pf8bit) return row[x];
    return 0;
}

void TBitmap::SetPixelIndex(int x, int y, int index) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint8_t* row = bits_.data() + size_t(y) * size_t(stride_);
    if (format_ == pf1bit) {
        uint8_t mask = uint8_t(0x80 >> (x & 7));
        if (index & 1)
            row[x >> 3] |= mask;
        else
            row[x >> 3] &= uint8_t(~mask);
    } else if (format_ == pf8bit) {
        row[x] = uint8_t(index);
    }
}

uint32_t TBitmap::PixelRgb(int x, int y) const {
    if (format_ == pf1bit || format_ == pf8bit) return ColorToPixel(palette_[size_t(PixelIndex(x, y))]);
    return reinterpret_cast<const uint32_t*>(bits_.data() + size_t(y) * size_t(stride_))[x] & 0xFFFFFF;
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clInvalid;
    return PixelToColor(PixelRgb(x, y));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    TColor c = ColorToRGB(color) & 0xFFFFFF;
    if (format_ == pf1bit || format_ == pf8bit) {
        SetPixelIndex(x, y, NearestIndex(palette_, c));
        return;
    }
    Row32(y)[x] = ColorToPixel(c);
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed) return transparentColor_;
    if (Empty()) return clNone;
    return Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>(*this);
    return *canvas_;
}

void TBitmap::Assign(const TBitmap& other) {
    if (this == &other) return;
    width_ = other.width_;
    height_ = other.height_;
    scale_ = other.scale_;
    logicalWidth_ = other.logicalWidth_;
    logicalHeight_ = other.logicalHeight_;
    stride_ = other.stride_;
    format_ = other.format_;
    bits_ = other.bits_;
    palette_ = other.palette_;
    transparent_ = other.transparent_;
    transparentMode_ = other.transparentMode_;
    transparentColor_ = other.transparentColor_;
    if (canvas_) canvas_->TargetResized();
}

void TBitmap::Assign(TBitmap&& other) noexcept {
    if (this == &other) return;
    width_ = other.width_;
    height_ = other.height_;
    scale_ = other.scale_;
    logicalWidth_ = other.logicalWidth_;
    logicalHeight_ = other.logicalHeight_;
    stride_ = other.stride_;
    format_ = other.format_;
    bits_ = std::move(other.bits_);
    palette_ = std::move(other.palette_);
    transparent_ = other.transparent_;
    transparentMode_ = other.transparentMode_;
    transparentColor_ = other.transparentColor_;
    if (canvas_) canvas_->TargetResized();
    other.width_ = other.height_ = other.stride_ = 0;
    other.scale_ = 1.0;
    other.bits_.clear();
    other.palette_.clear();
    if (other.canvas_) other.canvas_->TargetResized();
}

void TBitmap::LoadFromFile(const std::string& fileName) {
    base::TMemoryStream m;
    m.LoadFromFile(fileName);
    const uint8_t* d = m.Memory();
    size_t n = size_t(m.Size());
    if (n >= 2 && d[0] == 'B' && d[1] == 'M') {
        TBmpReadOptions opt;
        opt.honourPixelOffset = true;
        ReadBmp(d, n, *this, opt);
    } else if (IsJpeg(d, n) || IsPng(d, n)) {
        bool transparent = transparent_;
        TTransparentMode mode = transparentMode_;
        TColor key = transparentColor_;
        if (IsJpeg(d, n))
            DecodeJpeg(d, n, *this);
        else
            DecodePng(d, n, *this);
        transparent_ = transparent, transparentMode_ = mode, transparentColor_ = key;
    } else {
        throw EInvalidGraphic(base::Cp("Unbekanntes Bildformat: ") + fileName);
    }
}

void TBitmap::LoadFromStream(base::TStream& stream) {
    int64_t start = stream.Position();
    uint8_t sig[8] = {};
    int64_t got = stream.Read(sig, 8);
    stream.SetPosition(start);
    if (got >= 2 && sig[0] == 'B' && sig[1] == 'M') {
        ReadBmp(stream, *this);
        return;
    }
    if (IsJpeg(sig, size_t(got)) || IsPng(sig, size_t(got))) {
        std::vector<uint8_t> rest(size_t(std::max<int64_t>(stream.Size() - start, 0)));
        stream.ReadBuffer(rest.data(), int64_t(rest.size()));
        bool transparent = transparent_;
        TTransparentMode mode = transparentMode_;
        TColor key = transparentColor_;
        if (IsJpeg(sig, size_t(got)))
            DecodeJpeg(rest.data(), rest.size(), *this);
        else
            DecodePng(rest.data(), rest.size(), *this);
        // Loading replaces the pixels, not the way the picture is drawn.
        transparent_ = transparent, transparentMode_ = mode, transparentColor_ = key;
        return;
    }
    throw EInvalidGraphic("Unbekanntes Bildformat");
}

void TBitmap::SaveToFile(const std::string& fileName) const {
    base::TFileStream f(fileName, base::TFileStream::fmCreate);
    SaveToStream(f);
}

void TBitmap::SaveToStream(base::TStream& stream) const {
    WriteBmp(stream, *this);
}

void TBitmap::SaveToPng(const std::string& fileName) const {
    SavePngFile(*this, fileName);
}

}  // namespace gfx
