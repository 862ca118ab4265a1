#include "gui/Image.h"

#include <algorithm>
#include <utility>

namespace gui {

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<gfx::TBitmap>()) {
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::SetPicture(const gfx::TBitmap& bitmap) {
    ++generation_;
    picture_->Assign(bitmap);
    PictureChanged();
}

void TImage::SetPicture(gfx::TBitmap&& bitmap) {
    ++generation_;
    picture_->Assign(std::move(bitmap));
    PictureChanged();
}

void TImage::LoadFromFile(const std::string& fileName) {
    gfx::TBitmap b;
    b.LoadFromFile(fileName);
    SetPicture(std::move(b));
}

void TImage::LoadFromStream(base::TStream& stream) {
    gfx::TBitmap b;
    b.LoadFromStream(stream);
    SetPicture(std::move(b));
}

void TImage::ClearPicture() {
    ++generation_;
    scaled_.reset();
    picture_->FreeImage();
    PictureChanged();
}

void TImage::PictureChanged() {
    if (autoSize_ && HasPicture())
        SetBounds(Left(), Top(), picture_->LogicalWidth(), picture_->LogicalHeight());
    if (transparent_ || !HasPicture() || Stretch() || picture_->LogicalWidth() < Width() ||
        picture_->LogicalHeight() < Height())
        SetControlStyle(ControlStyle() & ~csOpaque);
    else
        SetControlStyle(ControlStyle() | csOpaque);
    Invalidate();
}

void TImage::SetStretch(bool v) {
    if (v == stretch_) return;
    stretch_ = v;
    PictureChanged();
}

void TImage::SetCenter(bool v) {
    if (v == center_) return;
    center_ = v;
    Invalidate();
}

void TImage::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    PictureChanged();
}

void TImage::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    PictureChanged();
}

void TImage::SetProportional(bool v) {
    if (v == proportional_) return;
    proportional_ = v;
    Invalidate();
}

TRect TImage::DestRect() const {
    int w = picture_->LogicalWidth(), h = picture_->LogicalHeight();
    int cw = Width(), ch = Height();
    if (stretch_ || (proportional_ && (w > cw || h > ch))) {
        if (proportional_ && w > 0 && h > 0) {
            // Fit inside, keeping the proportions.
            if (double(cw) / w < double(ch) / h) {
                h = int(std::int64_t(h) * cw / w);
                w = cw;
            } else {
                w = int(std::int64_t(w) * ch / h);
                h = ch;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r{0, 0, w, h};
    if (center_) gfx::OffsetRect(r, (cw - w) / 2, (ch - h) / 2);
    return r;
}

const gfx::TBitmap& TImage::ScaledPicture(const TRect& dest, double scale) {
    if (!scaled_) scaled_ = std::make_unique<Scaled>();
    Scaled& s = *scaled_;
    if (s.generation == generation_ && s.dest == dest && s.scale == scale && s.transparent == transparent_)
        return s.pixels;
    s = Scaled{};
    s.pixels.SetScaledSize(dest.Width(), dest.Height(), scale);
    TCanvas& c = s.pixels.Canvas();
    if (transparent_) {
        // Over the picture's own key: its resampled edges keep how much of the key shows, and blend
        // onto whatever lies behind when drawn (Canvas.h).
        const TColor key = picture_->TransparentColor();
        c.Brush().SetColor(key);
        c.FillRect({0, 0, dest.Width(), dest.Height()});
        s.pixels.SetTransparentColor(key);
        s.pixels.SetTransparentMode(gfx::tmFixed);
        s.pixels.SetTransparent(true);
    }
    c.StretchDraw({0, 0, dest.Width(), dest.Height()}, *picture_);
    s.dest = dest;
    s.scale = scale;
    s.generation = generation_;
    s.transparent = transparent_;
    return s.pixels;
}

void TImage::Paint() {
    if (!HasPicture()) return;
    TCanvas& c = Canvas();
    if (c.Scale() != picture_->Scale()) {
        const bool was = picture_->Transparent();
        picture_->SetTransparent(transparent_);
        const TRect d = DestRect();
        const gfx::TBitmap& scaled = ScaledPicture(d, c.Scale());
        picture_->SetTransparent(was);
        c.Draw(d.Left, d.Top, scaled);
        return;
    }
    bool was = picture_->Transparent();
    picture_->SetTransparent(transparent_);
    TRect d = DestRect();
    if (d.Width() == picture_->LogicalWidth() && d.Height() == picture_->LogicalHeight())
        c.Draw(d.Left, d.Top, *picture_);
    else
        c.StretchDraw(d, *picture_);
    picture_->SetTransparent(was);
}

}  // namespace gui
