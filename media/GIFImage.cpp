#include "media/GIFImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gui/Application.h"
#include "gui/Form.h"

namespace media {

using gfx::TBitmap;
using gui::TRect;

namespace {

inline bool MaskBit(const TBitmap& mask, int x, int y) {
    return (mask.Row8(y)[x >> 3] >> (7 - (x & 7))) & 1;
}

inline void SetMaskBit(TBitmap& mask, int x, int y, bool white) {
    uint8_t& b = mask.Row8(y)[x >> 3];
    const uint8_t bit = uint8_t(0x80 >> (x & 7));
    b = white ? uint8_t(b | bit) : uint8_t(b & ~bit);
}

void FillMask(TBitmap& mask, int left, int top, int width, int height, bool white) {
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x) SetMaskBit(mask, x, y, white);
}

}  // namespace

TGIFImage::TGIFImage(gui::TComponent* owner) : gui::TGraphicControl(owner) {
    SetBounds(Left(), Top(), 105, 105);
    SetControlStyle(ControlStyle() & ~gui::csOpaque);
}

TGIFImage::~TGIFImage() {
    ResetImage();
}

// ------------------------------------------------------------------------------------------------
// properties

const TGIFFrame* TGIFImage::Frame(int index) const {
    if (index < 1 || index > FrameCount()) return nullptr;
    return gif_.Frames[std::size_t(index - 1)].get();
}

uint32_t TGIFImage::FrameInterval(int index) const {
    const TGIFFrame* f = Frame(index);
    const int delay = std::max(f ? f->Delay : 0, 50);
    return uint32_t(std::max<int64_t>(int64_t(delay) * 100 / speed_, 1));
}

void TGIFImage::SetAnimate(bool v) {
    if (v == animate_) return;
    animate_ = v;
    loopsDone_ = 1;
    const uint32_t interval = v && FrameCount() > 1 ? FrameInterval(currentFrame_) : 0;
    SetAnimationTimer(v && animated_ && !empty_, interval);
    if (!v && currentFrame_ > 1) {
        DisposeFrame(currentFrame_ - 1);
        currentFrame_ = 1;
        ComposeFrame();
        Invalidate();
    }
}

void TGIFImage::SetLoop(bool v) {
    if (v == loop_) return;
    loop_ = v;
    // Restarts a finite animation that has finished; the next tick disposes the last frame first.
    if (v && FrameCount() > 0 && LoopCount() > 0 && loopsDone_ > LoopCount()) {
        currentFrame_ = 1;
        loopsDone_ = 1;
        SetAnimationTimer(animate_ && animated_ && !empty_, FrameInterval(1));
    }
}

void TGIFImage::SetSpeed(int v) {
    if (v == speed_) return;
    speed_ = v > 0 ? v : 1;
    if (FrameCount() > 1 && animate_ && timer_) timer_->SetInterval(1);  // the next tick comes at once
}

void TGIFImage::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    if (v && !empty_) SetBounds(Left(), Top(), ImageWidth(), ImageHeight());
    Invalidate();
}

#define GIF_LOOK_SETTER(Name, field)    \
    void TGIFImage::Set##Name(bool v) { \
        if (v == (field)) return;       \
        (field) = v;                    \
        UpdateOpaqueState();            \
        Invalidate();                   \
    }
GIF_LOOK_SETTER(Center, center_)
GIF_LOOK_SETTER(Opaque, opaque_)
GIF_LOOK_SETTER(Stretch, stretch_)
GIF_LOOK_SETTER(StretchRatio, stretchRatio_)
GIF_LOOK_SETTER(StretchBigOnly, stretchBigOnly_)
GIF_LOOK_SETTER(Tile, tile_)
#undef GIF_LOOK_SETTER

void TGIFImage::SetThreaded(bool v) {
    threaded_ = v;
    if (timer_) timer_->SetThreaded(v);
}

void TGIFImage::SetThreadPriority(TThreadPriority v) {
    threadPriority_ = v;
    if (timer_) timer_->SetThreadPriority(v);
}

void TGIFImage::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    UpdateOpaqueState();
    Invalidate();
}

void TGIFImage::SetCurrentFrame(int v) {
    if (v == currentFrame_ || v < 1 || v > FrameCount()) return;
    Changing();
    DisposeFrame(currentFrame_);
    currentFrame_ = v;
    ComposeFrame();
    Repaint();
    Change();
}

std::vector<gfx::TColor> TGIFImage::GetPalette() const {
    std::vector<gfx::TColor> colours;
    const TGIFFrame* f = Frame(currentFrame_);
    if (empty_ || !visible_ || !f) return colours;
    colours.reserve(std::size_t(f->PaletteCount));
    for (int i = 0; i < f->PaletteCount; ++i)
        colours.push_back(gfx::RGB(f->Palette[i * 3], f->Palette[i * 3 + 1], f->Palette[i * 3 + 2]));
    return colours;
}

void TGIFImage::Changing() {
    if (OnChanging) OnChanging(this);
}

void TGIFImage::Change() {
    if (OnChange) OnChange(this);
}

// ------------------------------------------------------------------------------------------------
// loading

bool TGIFImage::LoadFromStream(base::TStream& stream) {
    bool ok = false;
    try {
        work_.Clear();
        stream.SetPosition(0);
        work_.CopyFrom(stream, stream.Size());
        ok = Decode();
    } catch (...) {
        ok = false;
    }
    work_.Clear();
    if (!ok) Clear();
    return ok;
}

void TGIFImage::Progress() {
    if (!OnProgress) return;
    const int64_t done = gif_.Position(), total = work_.Size();
    const int percent = total > 0 ? int(std::nearbyint(100.0 * double(done) / double(total))) : 0;
    OnProgress(this, int(done), int(total), percent, gif_.KeepOnProcessing);
}

bool TGIFImage::Decode() {
    ResetImage();
    data_.Clear();
    data_.Write(work_.Memory(), work_.Size());
    if (work_.Size() == 0) return false;

    if (OnProgress)
        gif_.OnProgress = [this](int64_t, int64_t) {
            Progress();
            return gif_.KeepOnProcessing;
        };
    else
        gif_.OnProgress = nullptr;
    if (!gif_.Decode(work_.Memory(), std::size_t(work_.Size()))) return false;
    // A logical screen far larger than any frame it kept would still ask for a huge composed picture.
    if (gif_.BitmapBytes() > TGIFDecoder::kMaxBitmapBytes) return false;

    composed_ = std::make_unique<TBitmap>(ImageWidth(), ImageHeight(), gfx::pf32bit);
    if (autoSize_) SetBounds(Left(), Top(), ImageWidth(), ImageHeight());
    animated_ = FrameCount() > 1;
    empty_ = false;
    UpdateOpaqueState();
    // A picture that animates runs from here; a paint neither starts nor stops it.
    SetAnimationTimer(animated_ && animate_ && !empty_ && !Finished(), NextInterval());

    if (!composed_->Empty())
        std::memset(composed_->Bits(), 0, std::size_t(composed_->Stride()) * ImageHeight());
    mask_.reset();
    if (HasTransparency()) {
        mask_ = std::make_unique<TBitmap>(ImageWidth(), ImageHeight(), gfx::pf1bit);
        if (!mask_->Empty()) std::memset(mask_->Bits(), 0xFF, std::size_t(mask_->Stride()) * ImageHeight());
    }

    Changing();
    ComposeFrame();
    Change();
    work_.Clear();
    Invalidate();
    return true;
}

void TGIFImage::ResetImage() {
    empty_ = true;
    SetAnimationTimer(false);
    gif_.Reset();
    data_.Clear();
    work_.SetPosition(0);
    currentFrame_ = 1;
    loopsDone_ = 1;
    skipFirstDispose_ = true;
}

void TGIFImage::Clear() {
    ResetImage();
    composed_.reset();
    mask_.reset();
    UpdateOpaqueState();
    Invalidate();
}

void TGIFImage::ReadData(base::TStream& stream) {
    const int32_t length = stream.ReadI32();
    data_.Clear();
    if (length > 0) data_.CopyFrom(stream, length);
}

void TGIFImage::WriteData(base::TStream& stream) {
    stream.WriteU32(uint32_t(data_.Size()));
    stream.WriteBuffer(data_.Memory(), data_.Size());
}

void TGIFImage::Loaded() {
    gui::TGraphicControl::Loaded();
    if (data_.Size() > 0) {
        base::TMemoryStream copy(data_.Bytes());
        LoadFromStream(copy);
    }
}

// ------------------------------------------------------------------------------------------------
// animation

uint64_t TGIFImage::TickCount() const {
    return gui::Application ? gui::Application->TheBackend().Now() : 0;
}

void TGIFImage::SetAnimationTimer(bool on, uint32_t interval) {
    if (on) {
        if (!timer_) {
            timer_ = Make<TTimerEx>();
            timer_->SetThreaded(threaded_);
            timer_->SetThreadPriority(threadPriority_);
            timer_->SetOnTimer([this](gui::TComponent* sender) { AnimationTick(sender); });
        }
        timer_->SetInterval(interval);
    } else if (timer_) {
        TTimerEx* t = timer_;
        timer_ = nullptr;
        t->Free();  // may be inside its own tick
    }
}

uint32_t TGIFImage::NextInterval() const {
    return animate_ && FrameCount() > 1 && currentFrame_ <= FrameCount() ? FrameInterval(currentFrame_) : 1;
}

bool TGIFImage::Finished() const {
    return LoopCount() != 0 && loopsDone_ > LoopCount() && !loop_;
}

void TGIFImage::AnimationTick(gui::TComponent*) {
    if (empty_ || !animate_ || !timer_ || FrameCount() == 0) return;
    const uint64_t t0 = TickCount();
    if (currentFrame_ > FrameCount() || currentFrame_ <= 0) currentFrame_ = 1;
    Changing();
    if (Freeing()) return;
    if (skipFirstDispose_) {
        skipFirstDispose_ = false;  // frame 1 was composed when the picture was loaded
    } else {
        int previous = currentFrame_ - 1;
        if (previous <= 0) previous = FrameCount();
        DisposeFrame(previous);
        ComposeFrame();
        Repaint();
    }
    if (timer_) {
        // Time spent drawing comes off the next interval.
        const TGIFFrame* f = Frame(currentFrame_);
        const int64_t full = int64_t(std::max(f ? f->Delay : 0, 50)) * 100 / speed_;
        const int64_t spent = int64_t(TickCount() - t0);
        timer_->SetInterval(uint32_t(std::max<int64_t>(full - spent, 1)));
    }
    ++currentFrame_;
    const bool wrapped = currentFrame_ > FrameCount();
    if (!loop_ && LoopCount() > 0 && wrapped) {
        ++loopsDone_;
        // After the last pass the timer goes and the picture stays on the last frame.
        SetAnimationTimer(loopsDone_ <= LoopCount(), timer_ ? timer_->Interval() : 1);
    } else if (wrapped || currentFrame_ <= 0) {
        currentFrame_ = 1;
    }
    Change();
    if (Freeing()) return;
    if (wrapped && OnWrapAnimation) OnWrapAnimation(this);
}

// ------------------------------------------------------------------------------------------------
// composing

void TGIFImage::ComposeFrame() {
    if (currentFrame_ < 1 || currentFrame_ > FrameCount() || !composed_) return;
    TGIFFrame& f = *gif_.Frames[std::size_t(currentFrame_ - 1)];
    const int left = f.Left, top = f.Top, w = f.Width, h = f.Height;
    if (left + w > composed_->Width() || top + h > composed_->Height())
        return;  // cannot happen: sized to cover

    if (f.Disposal == 3) {
        for (int y = 0; y < h; ++y) {
            const uint32_t* src = composed_->Row32(top + y) + left;
            std::copy(src, src + w, f.SavedImage.begin() + std::ptrdiff_t(y) * w);
            if (mask_)
                for (int x = 0; x < w; ++x)
                    f.SavedMask[std::size_t(y) * w + x] = MaskBit(*mask_, left + x, top + y);
        }
    }

    uint32_t colours[256];
    for (int i = 0; i < 256; ++i) colours[i] = f.Rgb(uint8_t(i));
    if (f.Transparent) {
        // Mask AND frame mask; picture XOR image, AND frame mask, XOR image: transparent pixels keep
        // what was there, opaque ones show the frame.
        for (int y = 0; y < h; ++y) {
            uint32_t* dst = composed_->Row32(top + y) + left;
            const uint8_t* px = &f.Pixels[std::size_t(y) * w];
            const uint8_t* m = &f.Mask[std::size_t(y) * w];
            for (int x = 0; x < w; ++x) {
                if (m[x]) continue;
                dst[x] = colours[px[x]];
                if (mask_) SetMaskBit(*mask_, left + x, top + y, false);
            }
        }
    } else {
        if (mask_) FillMask(*mask_, left, top, w, h, false);
        for (int y = 0; y < h; ++y) {
            uint32_t* dst = composed_->Row32(top + y) + left;
            const uint8_t* px = &f.Pixels[std::size_t(y) * w];
            for (int x = 0; x < w; ++x) dst[x] = colours[px[x]];
        }
    }
}

void TGIFImage::DisposeFrame(int index) {
    if (index < 1 || index > FrameCount() || !composed_) return;
    TGIFFrame& f = *gif_.Frames[std::size_t(index - 1)];
    const int left = f.Left, top = f.Top, w = f.Width, h = f.Height;
    if (left + w > composed_->Width() || top + h > composed_->Height()) return;
    if (f.Disposal == 2) {
        // The logical screen's background colour is not used: the area becomes black and transparent.
        if (mask_) FillMask(*mask_, left, top, w, h, true);
        for (int y = 0; y < h; ++y) std::fill_n(composed_->Row32(top + y) + left, w, 0u);
    } else if (f.Disposal == 3) {
        for (int y = 0; y < h; ++y) {
            std::copy_n(f.SavedImage.begin() + std::ptrdiff_t(y) * w, w, composed_->Row32(top + y) + left);
            if (mask_)
                for (int x = 0; x < w; ++x)
                    SetMaskBit(*mask_, left + x, top + y, f.SavedMask[std::size_t(y) * w + x] != 0);
        }
    }
}

// ------------------------------------------------------------------------------------------------
// painting

void TGIFImage::UpdateOpaqueState() {
    const int iw = ImageWidth(), ih = ImageHeight();
    stretched_ = (stretch_ || stretchRatio_) && !(Width() == iw && Height() == ih) &&
                 !(stretchBigOnly_ && Width() >= iw && Height() >= ih);
    const TGIFFrame* first = Frame(1);
    const bool partlyTransparent = empty_ || (first && first->Transparent);
    if (!visible_ || (partlyTransparent && !opaque_)) {
        isOpaque_ = false;
    } else {
        const TRect client = ClientRect();
        isOpaque_ = !partlyTransparent && gfx::Intersect(DestRect(), client) == client;
    }
    const gui::TControlStyle style = ControlStyle();
    SetControlStyle(isOpaque_ ? style | gui::csOpaque : style & ~gui::csOpaque);
}

TRect TGIFImage::DestRect() const {
    const int iw = ImageWidth(), ih = ImageHeight();
    const int w = Width(), h = Height();
    if (iw == 0 || ih == 0) return TRect{};
    if (stretched_ && stretchRatio_ && !stretch_) {
        const float sx = float(w) / float(iw);
        const float sy = float(h) / float(ih);
        if (!std::isfinite(sx) || !std::isfinite(sy)) return ClientRect();
        if (sx > sy) {
            const double m = (double(w) - double(iw) * double(sy)) / 2;
            return TRect{int(std::nearbyint(m)), 0, int(std::nearbyint(double(w) - m)), h};
        }
        const double m = (double(h) - double(ih) * double(sx)) / 2;
        return TRect{0, int(std::nearbyint(m)), w, int(std::nearbyint(double(h) - m))};
    }
    if (stretched_ || tile_) return ClientRect();
    if (center_) return gfx::Bounds((w - iw) / 2, (h - ih) / 2, iw, ih);
    return TRect{0, 0, iw, ih};
}

void TGIFImage::DrawBitmap(gui::TCanvas& canvas, const TBitmap& bitmap, const TRect& target, uint32_t rop) {
    const int saved = canvas.SaveState();
    // A monochrome source turns 0 bits into black and 1 bits into white.
    canvas.Font().SetColor(gfx::clBlack);
    canvas.Brush().SetColor(gfx::clWhite);
    if (bitmap.Width() != target.Width() || bitmap.Height() != target.Height()) {
        canvas.SetStretchBltMode(bitmap.Monochrome() ? gfx::WHITEONBLACK : gfx::COLORONCOLOR);
        canvas.StretchBlt(target.Left, target.Top, target.Width(), target.Height(), bitmap, 0, 0,
                          bitmap.Width(), bitmap.Height(), rop);
    } else {
        canvas.BitBlt(target.Left, target.Top, target.Width(), target.Height(), bitmap, 0, 0, rop);
    }
    canvas.RestoreState(saved);
}

void TGIFImage::DrawPicture(gui::TCanvas& canvas, const TRect& target) {
    const TGIFFrame* first = Frame(1);
    if (first && first->Transparent && mask_) {
        DrawBitmap(canvas, *mask_, target, gfx::SRCAND);
        DrawBitmap(canvas, *composed_, target, gfx::SRCINVERT);
    } else {
        DrawBitmap(canvas, *composed_, target, gfx::SRCCOPY);
    }
}

void TGIFImage::PaintImage(gui::TCanvas& canvas) {
    if (!visible_) return;
    if (opaque_ && !isOpaque_) {
        const int saved = canvas.SaveState();
        canvas.Brush().SetStyle(gfx::bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.PatBlt(0, 0, Width(), Height(), gfx::PATCOPY);
        canvas.RestoreState(saved);
    }
    if (empty_ || FrameCount() == 0 || !composed_) return;
    const int iw = ImageWidth(), ih = ImageHeight();
    if (!stretched_ && tile_) {
        for (int r = 0; r <= Height() / ih; ++r)
            for (int c = 0; c <= Width() / iw; ++c) DrawPicture(canvas, gfx::Bounds(iw * c, ih * r, iw, ih));
    } else {
        DrawPicture(canvas, DestRect());
    }
}

void TGIFImage::Resize() {
    UpdateOpaqueState();
    gui::TGraphicControl::Resize();
}

void TGIFImage::Paint() {
    PaintImage(Canvas());
}

void TGIFImage::Repaint() {
    if (!Parent() || inRepaint_ || !visible_) return;
    inRepaint_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{inRepaint_};
    const TRect r = gfx::Intersect(DestRect(), ClientRect());
    if (r.IsEmpty()) return;
    if (ControlStyle() & gui::csOpaque) {
        PaintNow();
        return;
    }
    // The form paints what lies behind the picture rectangle, then the picture, into its back
    // buffer and shows that rectangle at once.
    gui::TForm* form = ParentForm();
    if (!form || !Showing() || Loading()) return;
    const TRect area = gfx::Intersect(FormRectOf(r), VisibleFormRect());
    if (!area.IsEmpty()) form->PaintFormRect(area);
}

}  // namespace media
