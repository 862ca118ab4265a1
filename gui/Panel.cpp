#include "gui/Panel.h"

namespace gui {

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    canvas.Pen().SetWidth(1);
    for (int i = 0; i < width && !rect.IsEmpty(); ++i) {
        canvas.Pen().SetColor(topColor);
        canvas.MoveTo(rect.Left, rect.Bottom - 1);
        canvas.LineTo(rect.Left, rect.Top);
        canvas.LineTo(rect.Right - 1, rect.Top);
        canvas.Pen().SetColor(bottomColor);
        canvas.LineTo(rect.Right - 1, rect.Bottom - 1);
        canvas.LineTo(rect.Left - 1, rect.Bottom - 1);
        rect = gfx::Inflate(rect, -1, -1);
    }
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetBounds(0, 0, 185, 41);
}

TPanel::~TPanel() = default;

void TPanel::SetBevelOuter(TBevelCut v) {
    if (v == bevelOuter_) return;
    bevelOuter_ = v;
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut v) {
    if (v == bevelInner_) return;
    bevelInner_ = v;
    Invalidate();
}

void TPanel::SetBevelWidth(int v) {
    if (v == bevelWidth_ || v < 1) return;
    bevelWidth_ = v;
    Invalidate();
}

void TPanel::SetBorderWidth(int v) {
    if (v == borderWidth_ || v < 0) return;
    borderWidth_ = v;
    Invalidate();
}

void TPanel::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Invalidate();
}

void TPanel::SetShowCaption(bool v) {
    if (v == showCaption_) return;
    showCaption_ = v;
    Invalidate();
}

void TPanel::TextChanged() {
    Invalidate();
}

void TPanel::Paint() {
    TCanvas& c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        if (cut == bvSpace) {
            r = gfx::Inflate(r, -bevelWidth_, -bevelWidth_);
            return;
        }
        TColor top = cut == bvLowered ? gfx::clBtnShadow : gfx::clBtnHighlight;
        TColor bottom = cut == bvLowered ? gfx::clBtnHighlight : gfx::clBtnShadow;
        Frame3D(c, r, top, bottom, bevelWidth_);
    };
    bevel(bevelOuter_);
    r = gfx::Inflate(r, -borderWidth_, -borderWidth_);
    bevel(bevelInner_);
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(r);
    if (showCaption_ && !Caption().empty()) {
        c.SetFont(Font());
        c.Brush().SetStyle(gfx::bsClear);
        unsigned flags = gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_EXPANDTABS;
        flags |= alignment_ == taCenter         ? gfx::DT_CENTER
                 : alignment_ == taRightJustify ? gfx::DT_RIGHT
                                                : gfx::DT_LEFT;
        c.DrawText(Caption(), r, flags);
    }
}

}  // namespace gui
