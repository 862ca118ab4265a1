#include "flat/FlatGroupBox.h"

#include <algorithm>
#include <array>

#include "flat/HslColor.h"
#include "gfx/Bitmap.h"

namespace flat {

using gfx::TColor;
using gfx::TPoint;
using gfx::TRect;

TFlatGroupBox::TFlatGroupBox(gui::TComponent* owner)
    : TFlatControl(owner, [this] { Redraw(); }, {gfx::RGB(160, 150, 131)}, {{0, 50, ctDarken}}) {
    SetControlStyle(gui::csAcceptsControls | gui::csOpaque | gui::csCaptureMouse | gui::csClickEvents |
                    gui::csDoubleClicks);
    SetBounds(Left(), Top(), 185, 105);
}

TFlatGroupBox::~TFlatGroupBox() = default;

// The box holds controls: its area is painted again with them on top, at once.
void TFlatGroupBox::Redraw() {
    if (Showing()) Repaint();
}

void TFlatGroupBox::SetTransparent(bool v) {
    transparent_ = v;
    Redraw();
}

void TFlatGroupBox::SetBorder(TGroupBoxBorder v) {
    border_ = v;
    Redraw();
}

void TFlatGroupBox::SetBiDiMode(TBiDiMode v) {
    biDiMode_ = v;
    Redraw();
}

void TFlatGroupBox::SetBounds(int left, int top, int width, int height) {
    gui::TCustomControl::SetBounds(left, top, width, height);
    if (transparent_) Invalidate();
}

void TFlatGroupBox::EnabledChanged() {
    gui::TCustomControl::EnabledChanged();
    Invalidate();
}

void TFlatGroupBox::TextChanged() {
    gui::TCustomControl::TextChanged();
    Invalidate();
}

void TFlatGroupBox::Paint() {
    const TRect client = ClientRect();
    if (client.IsEmpty()) return;
    offscreen_.Paint(Canvas(), client.Width(), client.Height(), [this](gfx::TCanvas& c) { PaintBox(c); });
}

TFlatGroupBox::TCaptionLayout TFlatGroupBox::LayOutCaption(gfx::TCanvas& canvas) const {
    TCaptionLayout l;
    const TRect client = ClientRect();
    const bool rtl = biDiMode_ == bdRightToLeft;
    l.height = canvas.TextHeight(Caption().empty() ? std::string_view("W") : std::string_view(Caption()));
    l.width = canvas.TextWidth(Caption());
    l.rect = TRect{10, 0, client.Right - 10, l.height};
    // The caption ends before a child that reaches into its row (the page title's glyph buttons).
    constexpr int kGap = 4;
    for (int i = 0; i < ControlCount(); ++i) {
        const gui::TControl* c = Controls(i);
        if (!c->Visible() || c->Top() >= l.height || c->Top() + c->Height() <= 0) continue;
        if (!rtl && c->Left() > l.rect.Left) l.rect.Right = std::min(l.rect.Right, c->Left() - kGap);
        if (rtl && c->Left() + c->Width() < l.rect.Right)
            l.rect.Left = std::max(l.rect.Left, c->Left() + c->Width() + kGap);
    }
    TRect shown = l.rect;
    canvas.DrawText(Caption(), shown, gfx::DT_SINGLELINE | gfx::DT_CALCRECT);
    if (shown.Width() > l.rect.Width()) {
        l.shortened = true;
        shown = l.rect;
        canvas.DrawText(Caption(), shown, gfx::DT_SINGLELINE | gfx::DT_CALCRECT | gfx::DT_END_ELLIPSIS);
        l.width = shown.Width();
    }
    return l;
}

bool TFlatGroupBox::CaptionShortened() const {
    gfx::TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas().SetFont(Font());
    return LayOutCaption(measure.Canvas()).shortened;
}

void TFlatGroupBox::PaintBox(gfx::TCanvas& canvas) {
    const TRect client = ClientRect();
    const int right = client.Right, bottom = client.Bottom;
    canvas.SetFont(Font());
    const TCaptionLayout caption = LayOutCaption(canvas);
    const int th = caption.height;
    const int tw = caption.width;
    const int y = th / 2;
    const bool rtl = biDiMode_ == bdRightToLeft;

    if (transparent_) {
        DrawParentImage(this, canvas);
    } else {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }

    canvas.Pen().SetColor(ColorBorder());
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(gfx::psSolid);
    if (border_ == brFull) {
        if (rtl) {
            const std::array<TPoint, 6> line{
                TPoint{right - 7, y},  TPoint{right - 1, y}, TPoint{right - 1, bottom - 1},
                TPoint{0, bottom - 1}, TPoint{0, y},         TPoint{right - tw - 15, y}};
            canvas.Polyline(line);
        } else {
            const std::array<TPoint, 6> line{TPoint{5, y},          TPoint{0, y},
                                             TPoint{0, bottom - 1}, TPoint{right - 1, bottom - 1},
                                             TPoint{right - 1, y},  TPoint{tw + 12, y}};
            canvas.Polyline(line);
        }
    } else if (rtl) {
        canvas.MoveTo(right - 5, y);
        canvas.LineTo(right - 1, y);
        canvas.MoveTo(0, y);
        canvas.LineTo(right - tw - 12, y);
    } else {
        canvas.MoveTo(5, y);
        canvas.LineTo(0, y);
        canvas.MoveTo(right - 1, y);
        canvas.LineTo(tw + 12, y);
    }

    if (!Caption().empty()) {
        const unsigned align = rtl ? gfx::DT_RIGHT : gfx::DT_LEFT;
        DrawFlatText(canvas, Caption(), caption.rect, gfx::DT_SINGLELINE | gfx::DT_END_ELLIPSIS | align,
                     Enabled(), Font().Color());
    }
}

}  // namespace flat
