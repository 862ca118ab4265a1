#include "flat/FlatScrollbar.h"

#include "flat/FlatGraphics.h"
#include "flat/FlatScrollbarButton.h"
#include "flat/FlatScrollbarThumb.h"

namespace flat {

using gfx::TColor;

TFlatScrollbar::TFlatScrollbar(gui::TComponent* owner) : gui::TCustomControl(owner) {
    SetControlStyle(gui::csCaptureMouse | gui::csOpaque);
    const TColor face = gfx::RGB(239, 233, 224);
    SetColor(face);

    first_ = Make<TFlatScrollbarButton>();
    first_->SetParent(this);
    first_->OnPress = [this](gui::TComponent*) { StepLine(-1); };
    first_->OnDown = [this](gui::TComponent*) { StepBy(-smallChange_); };
    first_->OnRelease = [this](gui::TComponent*) { SettleOnLine(-1); };
    second_ = Make<TFlatScrollbarButton>();
    second_->SetParent(this);
    second_->OnPress = [this](gui::TComponent*) { StepLine(1); };
    second_->OnDown = [this](gui::TComponent*) { StepBy(smallChange_); };
    second_->OnRelease = [this](gui::TComponent*) { SettleOnLine(1); };
    first_->SetGlyph(LoadFlatGlyph("THUMB_UP_ENABLED"));
    second_->SetGlyph(LoadFlatGlyph("THUMB_DOWN_ENABLED"));

    track_ = Make<TFlatScrollbarTrack>();
    track_->SetParent(this);

    SetBounds(Left(), Top(), 200, 17);
    SetKind(sbVertical);
    SetMin(0);
    SetMax(100);
    SetPosition(0);
    SetSmallChange(1);
    SetLargeChange(1);
    SetButtonHighlightColor(gfx::clWhite);
    SetButtonShadowColor(gfx::clBlack);
    SetButtonBorderColor(face);
    SetButtonFocusedColor(face);
    SetButtonDownColor(face);
    SetButtonColor(face);
    const TColor thumb = gfx::RGB(162, 154, 130);
    SetThumbHighlightColor(thumb);
    SetThumbShadowColor(thumb);
    SetThumbBorderColor(thumb);
    SetThumbFocusedColor(thumb);
    SetThumbDownColor(thumb);
    SetThumbColor(thumb);
}

TFlatScrollbar::~TFlatScrollbar() = default;

void TFlatScrollbar::SetMin(int v) {
    if (min_ == v) return;
    min_ = v;
    track_->SetMin(v);
}

void TFlatScrollbar::SetMax(int v) {
    if (max_ == v) return;
    max_ = v;
    track_->SetMax(v);
}

void TFlatScrollbar::SetSmallChange(int v) {
    if (smallChange_ == v) return;
    smallChange_ = v;
    track_->SetSmallChange(v);
}

void TFlatScrollbar::SetLargeChange(int v) {
    if (largeChange_ == v) return;
    largeChange_ = v;
    track_->SetLargeChange(v);
}

void TFlatScrollbar::SetPosition(int v) {
    if (v < min_) v = min_;
    if (v > max_) v = max_;
    position_ = v;
    track_->SetPosition(v);
}

void TFlatScrollbar::SetKind(TScrollBarKind v) {
    if (kind_ == v) return;
    kind_ = v;
    track_->SetKind(v);
    LoadGlyphs();
    LayoutParts();
}

void TFlatScrollbar::LoadGlyphs() {
    const bool vertical = kind_ == sbVertical;
    const char* firstName = vertical ? "THUMB_UP" : "THUMB_LEFT";
    const char* secondName = vertical ? "THUMB_DOWN" : "THUMB_RIGHT";
    first_->SetGlyph(LoadFlatGlyph(std::string(firstName) + (first_->Enabled() ? "_ENABLED" : "_DISABLED")));
    second_->SetGlyph(
        LoadFlatGlyph(std::string(secondName) + (second_->Enabled() ? "_ENABLED" : "_DISABLED")));
}

void TFlatScrollbar::SetButtonColor(TColor c) {
    if (buttonColor_ == c) return;
    buttonColor_ = c;
    first_->SetColor(c);
    second_->SetColor(c);
}

void TFlatScrollbar::SetButtonSlot(int slot, TColor c) {
    if (buttonSlots_[slot] == c) return;
    buttonSlots_[slot] = c;
    first_->SetColorSlot(slot, c);
    second_->SetColorSlot(slot, c);
}

void TFlatScrollbar::SetThumbColor(TColor c) {
    if (thumbColor_ == c) return;
    thumbColor_ = c;
    track_->Thumb()->SetColor(c);
}

void TFlatScrollbar::SetThumbSlot(int slot, TColor c) {
    if (thumbSlots_[slot] == c) return;
    thumbSlots_[slot] = c;
    track_->Thumb()->SetColorSlot(slot, c);
}

void TFlatScrollbar::SetBounds(int left, int top, int width, int height) {
    gui::TCustomControl::SetBounds(left, top, width, height);
    LayoutParts();
}

void TFlatScrollbar::LayoutParts() {
    if (track_ == nullptr) return;  // still being built
    const int w = Width(), h = Height();
    if (kind_ == sbVertical) {
        first_->SetBounds(0, 0, w, kButtonLength);
        second_->SetBounds(0, h - kButtonLength, w, kButtonLength);
        track_->SetBounds(0, kButtonLength, w, h - 2 * kButtonLength);
    } else {
        first_->SetBounds(0, 0, kButtonLength, h);
        second_->SetBounds(w - kButtonLength, 0, kButtonLength, h);
        track_->SetBounds(kButtonLength, 0, w - 2 * kButtonLength, h);
    }
    SetPosition(position_);
}

void TFlatScrollbar::StepBy(int delta) {
    SetPosition(position_ + delta);
    if (OnScroll) OnScroll(this, position_);
}

void TFlatScrollbar::StepLine(int direction) {
    if (lineStep_ <= 0) {
        StepBy(direction * smallChange_);
        return;
    }
    // To the next line boundary in that direction, from wherever the view stands.
    const int at = position_ - min_;
    const int line = direction < 0 ? (at - 1 < 0 ? -1 : (at - 1) / lineStep_) : at / lineStep_ + 1;
    StepBy(min_ + line * lineStep_ - position_);
}

void TFlatScrollbar::SettleOnLine(int direction) {
    const int at = position_ - min_;
    if (lineStep_ <= 0 || at % lineStep_ == 0 || position_ <= min_ || position_ >= max_) return;
    const int line = at / lineStep_ + (direction > 0 ? 1 : 0);
    StepBy(min_ + line * lineStep_ - position_);
}

void TFlatScrollbar::ThumbMoved(int position) {
    position_ = position;
    if (OnScroll) OnScroll(this, position_);
}

void TFlatScrollbar::EnableArrows(int arrows) {
    auto apply = [](TFlatScrollbarButton* button, bool enabled) { button->SetEnabled(enabled); };
    switch (arrows) {
        case ESB_ENABLE_BOTH:
            apply(first_, true);
            apply(second_, true);
            break;
        case ESB_DISABLE_LTUP:
            apply(first_, false);
            break;
        case ESB_DISABLE_RTDN:
            apply(second_, false);
            break;
        case ESB_DISABLE_BOTH:
            apply(first_, false);
            apply(second_, false);
            break;
        default:
            return;
    }
    LoadGlyphs();
}

std::intptr_t TFlatScrollbar::Perform(int message, std::intptr_t wparam, std::intptr_t lparam) {
    switch (message) {
        case WM_HSCROLL:
        case WM_VSCROLL:
            // The code is the low word, the thumb position the high word (signed 16 bits).
            return track_->ScrollRequest(int(wparam & 0xFFFF), int(int16_t((wparam >> 16) & 0xFFFF)));
        case SBM_SETPOS:
            track_->SetPosition(int(wparam));
            return 0;
        case SBM_GETPOS:
            return track_->Position();
        case SBM_SETRANGE:
            track_->SetMin(int(wparam));
            track_->SetMax(int(lparam));
            return 0;
        case SBM_GETRANGE:
            // The message passes pointers in its parameters, as the window message defines it.
            if (wparam) *reinterpret_cast<int*>(wparam) = track_->Min();  // NOLINT(performance-no-int-to-ptr)
            if (lparam) *reinterpret_cast<int*>(lparam) = track_->Max();  // NOLINT(performance-no-int-to-ptr)
            return 0;
        case SBM_ENABLE_ARROWS:
            EnableArrows(int(wparam));
            return 1;
        default:
            return 0;
    }
}

void TFlatScrollbar::KeyDown(int& key, gui::TShiftState shift) {
    track_->ScrollKey(key);
    gui::TCustomControl::KeyDown(key, shift);
}

}  // namespace flat
