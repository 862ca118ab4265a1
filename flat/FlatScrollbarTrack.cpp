#include "flat/FlatScrollbarTrack.h"

#include "flat/FlatScrollbar.h"
#include "flat/FlatScrollbarThumb.h"
#include "flat/ScrollMath.h"
#include "gui/Keys.h"

namespace flat {

TFlatScrollbarTrack::TFlatScrollbarTrack(gui::TComponent* owner) : gui::TCustomControl(owner) {
    SetControlStyle(gui::csCaptureMouse | gui::csOpaque);
    SetColor(gfx::RGB(239, 233, 224));
    thumb_ = Make<TFlatScrollbarThumb>();
    thumb_->SetParent(this);
    const gfx::TColor thumbColor = gfx::RGB(162, 154, 130);
    thumb_->SetColor(thumbColor);
    for (int slot = 0; slot < 5; ++slot) thumb_->SetColorSlot(slot, thumbColor);
    thumb_->SetBounds(0, 0, Width(), kThumbLength);
}

TFlatScrollbarTrack::~TFlatScrollbarTrack() = default;

TFlatScrollbar* TFlatScrollbarTrack::Scrollbar() const {
    return dynamic_cast<TFlatScrollbar*>(Owner());
}

void TFlatScrollbarTrack::SetMin(int v) {
    min_ = v;
    PlaceThumb();
}

void TFlatScrollbarTrack::SetMax(int v) {
    max_ = v;
    PlaceThumb();
}

void TFlatScrollbarTrack::SetPosition(int v) {
    if (v > max_) v = max_;
    if (v < min_) v = min_;
    position_ = v;
    PlaceThumb();
}

void TFlatScrollbarTrack::SetKind(TScrollBarKind v) {
    kind_ = v;
    if (kind_ == sbVertical) {
        thumb_->SetBounds(0, thumb_->Top(), Width(), kThumbLength);
    } else {
        thumb_->SetBounds(thumb_->Left(), 0, kThumbLength, Height());
    }
    PlaceThumb();
}

void TFlatScrollbarTrack::SetBounds(int left, int top, int width, int height) {
    gui::TCustomControl::SetBounds(left, top, width, height);
    if (thumb_ == nullptr) return;
    if (kind_ == sbVertical) {
        thumb_->SetBounds(thumb_->Left(), thumb_->Top(), width, thumb_->Height());
    } else {
        thumb_->SetBounds(thumb_->Left(), thumb_->Top(), thumb_->Width(), height);
    }
}

void TFlatScrollbarTrack::PlaceThumb() {
    if (kind_ == sbVertical) {
        const int offset = ThumbOffset(Height(), thumb_->Height(), min_, max_, position_);
        thumb_->SetBounds(0, offset, thumb_->Width(), thumb_->Height());
    } else {
        const int offset = ThumbOffset(Width(), thumb_->Width(), min_, max_, position_);
        thumb_->SetBounds(offset, 0, thumb_->Width(), thumb_->Height());
    }
}

int TFlatScrollbarTrack::ScrollRequest(int code, int pos) {
    switch (code) {
        case SB_LINEUP:
            SetPosition(position_ - smallChange_);
            break;
        case SB_LINEDOWN:
            SetPosition(position_ + smallChange_);
            break;
        case SB_PAGEUP:
            SetPosition(position_ - largeChange_);
            break;
        case SB_PAGEDOWN:
            SetPosition(position_ + largeChange_);
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            SetPosition(pos);
            break;
        case SB_TOP:
            SetPosition(min_);
            break;
        case SB_BOTTOM:
            SetPosition(max_);
            break;
        default:
            break;  // end of scroll and anything above: nothing to do
    }
    return 0;
}

bool TFlatScrollbarTrack::ScrollKey(int key) {
    const bool vertical = kind_ == sbVertical;
    switch (key) {
        case gui::VK_PRIOR:
            SetPosition(position_ - largeChange_);
            return true;
        case gui::VK_NEXT:
            SetPosition(position_ + largeChange_);
            return true;
        case gui::VK_LEFT:
            if (!vertical) SetPosition(position_ - smallChange_);
            return true;
        case gui::VK_RIGHT:
            if (!vertical) SetPosition(position_ + smallChange_);
            return true;
        case gui::VK_UP:
            if (vertical) SetPosition(position_ - smallChange_);
            return true;
        case gui::VK_DOWN:
            if (vertical) SetPosition(position_ + smallChange_);
            return true;
        default:
            return false;
    }
}

void TFlatScrollbarTrack::ThumbMoved(int position) {
    position_ = position;
    if (TFlatScrollbar* bar = Scrollbar()) bar->ThumbMoved(position);
}

}  // namespace flat
