#include "flat/FlatCheckBox.h"

namespace flat {

using gfx::TColor;
using gfx::TRect;

namespace {
const char kHoverGroup = 0;  // all flat check boxes share one hover group
}  // namespace

TFlatCheckBox::TFlatCheckBox(gui::TComponent* owner)
    : TFlatControl(owner, [this] { Redraw(); },
                   {gfx::clWhite, gfx::RGB(217, 214, 197), gfx::clBlack, gfx::RGB(160, 150, 131)},
                   {{kSlotFocused, 10, ctLighten}, {kSlotDown, 10, ctDarken}, {kSlotBorder, 50, ctDarken}}),
      track_(*this, &kHoverGroup, press_, [this] { Redraw(); }) {
    SetControlStyle(gui::csCaptureMouse | gui::csDoubleClicks | gui::csOpaque);
    SetParentColor(true);
    SetParentFont(true);
    SetTabStop(true);
    SetBounds(Left(), Top(), 121, 17);
}

TFlatCheckBox::~TFlatCheckBox() = default;

void TFlatCheckBox::Redraw() {
    if (Showing()) PaintNow();
}

void TFlatCheckBox::SetChecked(bool v) {
    if (checked_ == v) return;
    checked_ = v;
    gui::TCustomControl::Click();  // OnClick, for changes by code as much as by the user
    Redraw();
}

void TFlatCheckBox::SetTransparent(bool v) {
    transparent_ = v;
    Redraw();
}

void TFlatCheckBox::SetLayout(TCheckBoxLayout v) {
    layout_ = v;
    Redraw();
}

void TFlatCheckBox::SetBiDiMode(TBiDiMode v) {
    SetLayout(v == bdRightToLeft ? checkboxRight : checkboxLeft);
}

void TFlatCheckBox::TextChanged() {
    gui::TCustomControl::TextChanged();
    Invalidate();
}

void TFlatCheckBox::SetBounds(int left, int top, int width, int height) {
    gui::TCustomControl::SetBounds(left, top, width, height);
    if (transparent_) Invalidate();
}

// --- input -------------------------------------------------------------------------------------

void TFlatCheckBox::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    if (button == gui::mbLeft && Enabled()) {
        if (CanFocus()) SetFocus();
        press_.Press();        // the second press of a double click toggles too
        track_.inside = true;  // a press is over the box, even without a move before it
        Redraw();
    }
    gui::TCustomControl::MouseDown(button, shift, x, y);
}

void TFlatCheckBox::MouseMove(gui::TShiftState shift, int x, int y) {
    gui::TCustomControl::MouseMove(shift, x, y);
    if (press_.Held()) {
        // While held the pointer's place decides whether the release counts, so leaving the
        // box before releasing leaves Checked alone; the square shows it.
        if (press_.Move(x, y)) {
            track_.inside = press_.Inside();
            Redraw();
        }
        return;
    }
    track_.Start(true);
}

void TFlatCheckBox::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    if (button == gui::mbLeft && Enabled() && press_.Held()) {
        // Where the pointer last moved decides, as the square showed it.
        const bool inside = press_.Inside();
        press_.Release(x, y);
        if (inside) SetChecked(!checked_);
        Redraw();
    }
    gui::TCustomControl::MouseUp(button, shift, x, y);
}

void TFlatCheckBox::MouseEnter() {
    gui::TCustomControl::MouseEnter();
    Redraw();
}

void TFlatCheckBox::MouseLeave() {
    gui::TCustomControl::MouseLeave();
    Redraw();
}

void TFlatCheckBox::KeyPress(char& key) {
    if (key == ' ' && Focused()) {
        key = 0;
        SetChecked(!checked_);
        return;
    }
    gui::TCustomControl::KeyPress(key);
}

bool TFlatCheckBox::DialogChar(char key) {
    if (!IsAccel(key, Caption()) || !CanFocus()) return false;
    SetFocus();
    SetChecked(!checked_);
    return true;
}

void TFlatCheckBox::DoEnter() {
    gui::TCustomControl::DoEnter();
    Redraw();
}

void TFlatCheckBox::DoExit() {
    gui::TCustomControl::DoExit();
    track_.End();
    Redraw();
}

void TFlatCheckBox::EnabledChanged() {
    gui::TCustomControl::EnabledChanged();
    if (!Enabled()) {
        track_.inside = false;
        press_.Cancel();
        track_.Unwatch();
    }
    Redraw();
}

// --- painting ----------------------------------------------------------------------------------

TRect TFlatCheckBox::CheckRect() const {
    if (layout_ == checkboxRight) return TRect{ClientWidth() - 12, 3, ClientWidth() - 1, 14};
    return TRect{1, 3, 12, 14};
}

void TFlatCheckBox::Paint() {
    const TRect client = ClientRect();
    if (client.IsEmpty()) return;
    offscreen_.Paint(Canvas(), client.Width(), client.Height(), [this](gfx::TCanvas& c) { PaintBox(c); });
}

void TFlatCheckBox::PaintBox(gfx::TCanvas& canvas) {
    const TRect client = ClientRect();
    canvas.SetFont(Font());
    if (transparent_) {
        DrawParentImage(this, canvas);
    } else {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }

    const TRect square = CheckRect();
    TColor fill = ColorFocused();
    if (!Focused() && !track_.inside) {
        fill = Color();
    } else if (press_.Held()) {
        fill = ColorDown();
    }
    canvas.Brush().SetColor(fill);
    canvas.FillRect(square);

    if (checked_) {
        canvas.Pen().SetColor(Enabled() ? ColorCheck() : gfx::clBtnShadow);
        canvas.Pen().SetWidth(1);
        canvas.Pen().SetStyle(gfx::psSolid);
        const int l = square.Left, t = square.Top;
        static constexpr int kTick[6][4] = {{2, 4, 6, 8}, {2, 5, 5, 8}, {2, 6, 5, 9},
                                            {8, 2, 4, 6}, {8, 3, 4, 7}, {8, 4, 5, 7}};
        for (const auto& s : kTick) {
            canvas.MoveTo(l + s[0], t + s[1]);
            canvas.LineTo(l + s[2], t + s[3]);
        }
    }
    DrawFrame(canvas, square, ColorBorder());

    if (!Caption().empty()) {
        const bool right = layout_ == checkboxRight;
        const TRect textRect = right ? TRect{1, 1, client.Right - 16, client.Bottom - 1}
                                     : TRect{16, 1, client.Right - 1, client.Bottom - 1};
        const unsigned flags = gfx::DT_WORDBREAK | (right ? gfx::DT_RIGHT : gfx::DT_LEFT);
        DrawFlatText(canvas, Caption(), textRect, flags, Enabled(), Font().Color());
    }
}

}  // namespace flat
