#include "gui/GroupBox.h"

#include "gui/Panel.h"

namespace gui {

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetBounds(0, 0, 185, 105);
}

TGroupBox::~TGroupBox() = default;

void TGroupBox::AlignControls(TRect& rect) {
    TCanvas& c = Canvas();
    c.SetFont(Font());
    int th = c.TextHeight("0");
    rect = {rect.Left + 2, rect.Top + th, rect.Right - 2, rect.Bottom - 2};
    TCustomControl::AlignControls(rect);
}

void TGroupBox::TextChanged() {
    Invalidate();
}

void TGroupBox::FontChanged() {
    TCustomControl::FontChanged();
    Realign();
}

void TGroupBox::Paint() {
    TCanvas& c = Canvas();
    c.SetFont(Font());
    int th = c.TextHeight("0");
    TRect r{0, th / 2, Width(), Height()};
    // Etched frame: shadow, then highlight one pixel inside.
    TRect outer = r;
    TRect inner = gfx::Offset(r, 1, 1);
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(gfx::clBtnHighlight);
    c.FrameRect(inner);
    c.Brush().SetColor(gfx::clBtnShadow);
    c.FrameRect({outer.Left, outer.Top, outer.Right - 1, outer.Bottom - 1});
    if (!Caption().empty()) {
        int tw = c.TextWidth(Caption());
        TRect tr{8, 0, 8 + tw + 4, th};
        c.Brush().SetColor(Color());
        c.FillRect(tr);
        c.Brush().SetStyle(gfx::bsClear);
        c.DrawText(Caption(), gfx::Offset(tr, 2, 0), gfx::DT_SINGLELINE | gfx::DT_LEFT);
    }
}

}  // namespace gui
