#include "skin/SkinButton.h"

#include <cmath>

#include "base/Round.h"

namespace skin {

using base::RoundHalfEven;

TSkinButton::TSkinButton(gui::TComponent* owner)
    : gui::TGraphicControl(owner), work_(0, 0, gfx::pf24bit), scratch_(0, 0, gfx::pf32bit) {
    SetControlStyle(ControlStyle() & ~gui::csClickEvents);  // the press tracker clicks
    SetBounds(0, 0, 30, 30);
    work_.SetTransparentColor(kKeyColor);
    work_.SetTransparentMode(gfx::tmFixed);
    work_.SetTransparent(true);  // text edges over the key blend onto the skin, no key fringe
}

TSkinButton::~TSkinButton() {
    if (imageList_) imageList_->RemoveFreeNotification(this);
}

void TSkinButton::SetImageList(gui::TImageList* list) {
    if (imageList_) imageList_->RemoveFreeNotification(this);
    imageList_ = list;
    if (list) {
        list->FreeNotification(this);
        SetBounds(Left(), Top(), Width(), Height());  // one band high
        PaintNow();
    }
}

int TSkinButton::BandHeight() const {
    return RoundHalfEven(imageList_->Height() / 4.0);
}

void TSkinButton::SetBounds(int left, int top, int width, int height) {
    gui::TGraphicControl::SetBounds(left, top, width, imageList_ ? BandHeight() : height);
}

void TSkinButton::SetImageIndex(int index) {
    // Clamped at the top only: a negative index is kept (and draws nothing).
    if (imageList_ && index > imageList_->Count() - 1) index = imageList_->Count() - 1;
    imageIndex_ = index;
    PaintNow();
}

void TSkinButton::SetEnabled(bool enabled) {
    // The control stays enabled: a disabled skin button still sees the mouse.
    enabled_ = enabled;
    state_ = enabled ? stNormal : stDisabled;
    PaintNow();
}

void TSkinButton::SetTextDistance(int v) {
    textDistance_ = v;
    PaintNow();
}

void TSkinButton::SetAlignment(gui::TAlignment v) {
    alignment_ = v;
    PaintNow();
}

void TSkinButton::TextChanged() {
    PaintNow();
}

void TSkinButton::Notification(gui::TComponent* c, gui::TOperation op) {
    if (op == gui::opRemove && c == imageList_) imageList_ = nullptr;
    gui::TGraphicControl::Notification(c, op);
}

void TSkinButton::RepaintIfEnabled() {
    if (enabled_)
        PaintNow();
    else
        state_ = stDisabled;
}

void TSkinButton::MouseEnter() {
    gui::TGraphicControl::MouseEnter();
    if (Loading()) return;
    state_ = stHot;
    RepaintIfEnabled();
}

void TSkinButton::MouseLeave() {
    gui::TGraphicControl::MouseLeave();
    state_ = stNormal;
    RepaintIfEnabled();
}

void TSkinButton::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    if (button == gui::mbLeft) press_.Press(shift);
    gui::TGraphicControl::MouseDown(button, shift, x, y);
    state_ = stPressed;
    RepaintIfEnabled();
}

void TSkinButton::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    if (button == gui::mbLeft) {
        // The click comes before the release handling, so OnClick sees the pressed band.
        if (press_.Release(x, y)) {
            Click();
            if (Freeing()) return;
        }
    }
    gui::TGraphicControl::MouseUp(button, shift, x, y);
    if (state_ != stNormal) state_ = stHot;
    RepaintIfEnabled();
}

void TSkinButton::Click() {
    if (state_ != stDisabled) gui::TGraphicControl::Click();
}

void TSkinButton::Paint() {
    if (!imageList_) return;
    // Every change of the flag and of the mouse leaves a disabled button in band 3.
    const int iw = imageList_->Width(), ih = imageList_->Height();
    const int rw = roundWidth_, s = state_;
    const int band = BandHeight();
    const int w = Width(), h = Height();

    work_.SetScaledSize(w, h, Canvas().Scale());
    gfx::TCanvas& wc = work_.Canvas();
    wc.Brush().SetStyle(gfx::bsSolid);
    wc.Brush().SetColor(kKeyColor);
    wc.FillRect({0, 0, w, h});

    // The strip comes from the whole image on white: outside the mask it is white, not key.
    scratch_.SetSize(iw, ih);
    gfx::TCanvas& sc = scratch_.Canvas();
    sc.Brush().SetStyle(gfx::bsSolid);
    sc.Brush().SetColor(gfx::clWhite);
    sc.FillRect({0, 0, iw, ih});
    imageList_->Draw(sc, 0, 0, imageIndex_);

    // Left cap, then the right cap right-aligned; both from band s.
    imageList_->Draw(wc, 0, -s * h, imageIndex_);
    imageList_->Draw(wc, w - iw, -s * h, imageIndex_);

    if (w - 2 * rw >= 0) {
        for (int i = 0; i <= w - 2 * rw; ++i)
            wc.BitBlt(rw + i, 0, 2, h, scratch_, rw + 1, band * s, gfx::SRCCOPY);
    }

    wc.SetFont(Font());
    wc.Brush().SetStyle(gfx::bsClear);
    if (!enabled_) wc.Font().SetColor(disabledFontColor_);
    const std::string& caption = Caption();
    const int tw = wc.TextWidth(caption), th = wc.TextHeight(caption);
    switch (alignment_) {
        case gui::taLeftJustify:
            textX_ = textDistance_;
            break;
        case gui::taRightJustify:
            textX_ = w - tw - textDistance_;
            break;
        case gui::taCenter:
            textX_ = RoundHalfEven(w / 2.0) - tw / 2;
            break;
        default:
            break;  // keeps the last position
    }
    const int textY = RoundHalfEven(h / 2.0) - th / 2;
    // A left-aligned caption leaves the right end to a mark the skin may draw there (the built-in
    // one's chevron): twice its left inset. One too long for the rest ends in an ellipsis.
    if (alignment_ == gui::taLeftJustify && textX_ + tw > w - 2 * textDistance_) {
        gfx::TRect room{textX_, textY, w - 2 * textDistance_, textY + th};
        wc.DrawText(caption, room, gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
    } else {
        wc.TextOut(textX_, textY, caption);  // "&" is an ordinary character here
    }

    Canvas().TransparentCopy(0, 0, w, h, work_, 0, 0, kKeyColor);
}

}  // namespace skin
