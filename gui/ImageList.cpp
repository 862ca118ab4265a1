#include "gui/ImageList.h"

#include <algorithm>

namespace gui {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width > 0 ? width : 1), height_(height > 0 ? height : 1) {}

TImageList::~TImageList() = default;

void TImageList::SetSize(int width, int height) {
    if (width <= 0) width = 1;
    if (height <= 0) height = 1;
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    images_.clear();
    Changed();
}

void TImageList::Changed() {
    FireEvent(OnChange, this);
}

int TImageList::AddMasked(const gfx::TBitmap& strip, TColor maskColor) {
    if (strip.Empty()) return -1;
    int count = strip.Width() / width_;
    if (count <= 0) return -1;
    TColor key = gfx::ColorToRGB(maskColor) & 0xFFFFFF;
    int first = Count();
    for (int i = 0; i < count; ++i) {
        Image img;
        img.pixels.assign(size_t(width_) * size_t(height_), gfx::clBlack);
        img.mask.assign(size_t(width_) * size_t(height_), false);
        for (int y = 0; y < height_ && y < strip.Height(); ++y) {
            for (int x = 0; x < width_; ++x) {
                TColor c = strip.Pixel(i * width_ + x, y) & 0xFFFFFF;
                size_t at = size_t(y) * size_t(width_) + size_t(x);
                img.pixels[at] = c;
                img.mask[at] = c != key;
            }
        }
        images_.push_back(std::move(img));
    }
    Changed();
    return first;
}

int TImageList::Add(const gfx::TBitmap& image, const std::vector<bool>& mask) {
    Image img;
    img.pixels.assign(size_t(width_) * size_t(height_), gfx::clBlack);
    img.mask.assign(size_t(width_) * size_t(height_), false);
    // The skin's strips are 32-bit: their rows are read straight, not a pixel call at a time.
    const bool direct = image.Is32();
    for (int y = 0; y < height_ && y < image.Height(); ++y) {
        const uint32_t* row = direct ? image.Row32(y) : nullptr;
        for (int x = 0; x < width_ && x < image.Width(); ++x) {
            size_t at = size_t(y) * size_t(width_) + size_t(x);
            img.pixels[at] = (row ? gfx::PixelToColor(row[x] & 0xFFFFFF) : image.Pixel(x, y)) & 0xFFFFFF;
            size_t src = size_t(y) * size_t(image.Width()) + size_t(x);
            img.mask[at] = src < mask.size() ? bool(mask[src]) : true;
        }
    }
    images_.push_back(std::move(img));
    Changed();
    return Count() - 1;
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    images_.erase(images_.begin() + index);
    Changed();
}

void TImageList::Clear() {
    images_.clear();
    Changed();
}

bool TImageList::Masked(int index, int x, int y) const {
    if (index < 0 || index >= Count() || x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    return images_[size_t(index)].mask[size_t(y) * size_t(width_) + size_t(x)];
}

namespace {
// Disabled images are drawn in grey, keeping their lightness.
TColor Greyed(TColor c) {
    int l = (gfx::GetRValue(c) * 30 + gfx::GetGValue(c) * 59 + gfx::GetBValue(c) * 11) / 100;
    l = 128 + l / 2;
    return gfx::RGB(l, l, l);
}
}  // namespace

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count()) return;
    const Image& img = images_[size_t(index)];
    if (canvas.Scale() != 1.0) {
        // Resampled with the mask as a key colour that the picture does not use.
        gfx::TBitmap picture(width_, height_);
        uint32_t key = 0x00FF00FE;
        while (std::find(img.pixels.begin(), img.pixels.end(), TColor(gfx::PixelToColor(key))) !=
               img.pixels.end())
            --key;
        for (int py = 0; py < height_; ++py) {
            uint32_t* row = picture.Row32(py);
            for (int px = 0; px < width_; ++px) {
                const size_t at = size_t(py) * size_t(width_) + size_t(px);
                row[px] =
                    img.mask[at] ? gfx::ColorToPixel(enabled ? img.pixels[at] : Greyed(img.pixels[at])) : key;
            }
        }
        canvas.TransparentCopy(x, y, width_, height_, picture, 0, 0, gfx::PixelToColor(key));
        return;
    }
    // Only pixels inside the mask and the canvas's clip change; they are written straight into the
    // target's rows (buttons draw their image on every repaint).
    gfx::TBitmap& target = canvas.Bitmap();
    const TPoint o = canvas.Origin();
    const int left = x + o.X, top = y + o.Y;
    const TRect area =
        gfx::Intersect(gfx::Offset(canvas.ClipRect(), o.X, o.Y), gfx::Bounds(left, top, width_, height_));
    for (int ty = area.Top; ty < area.Bottom; ++ty) {
        const size_t rowStart = size_t(ty - top) * size_t(width_);
        uint32_t* row = target.Is32() ? target.Row32(ty) : nullptr;
        for (int tx = area.Left; tx < area.Right; ++tx) {
            const size_t at = rowStart + size_t(tx - left);
            if (!img.mask[at]) continue;
            TColor c = img.pixels[at];
            if (!enabled) c = Greyed(c);
            if (row)
                row[tx] = gfx::ColorToPixel(c);  // stored colours are plain RGB, never system colours
            else
                target.SetPixel(tx, ty, c);
        }
    }
}

void TImageList::GetBitmap(int index, gfx::TBitmap& bmp) const {
    if (index < 0 || index >= Count()) return;
    bmp.SetSize(width_, height_);
    gfx::TCanvas& c = bmp.Canvas();
    int level = c.SaveState();
    c.SetOrigin(0, 0);
    c.ResetClip();
    Draw(c, 0, 0, index);
    c.RestoreState(level);
}

}  // namespace gui
