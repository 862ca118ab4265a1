#include "flat/FlatCheckBox.h"

#include <algorithm>

#include "flat/HoverTimer.h"
#include "flat/HslColor.h"
#include "gui/Application.h"
#include "gui/Screen.h"

namespace flat {

using gfx::TColor;
using gfx::TRect;

THoverTimer& TFlatCheckBox::HoverTimer() {
    static THoverTimer timer([](gui::TControl* c) {
        auto* box = static_cast<TFlatCheckBox*>(c);
        if (gui::Screen == nullptr || gui::Screen->ControlAtCursor() != box) box->EndHover();
    });
    return timer;
}

TFlatCheckBox::TFlatCheckBox(gui::TComponent* owner) : gui::TCustomControl(owner) {
    SetControlStyle(gui::csCaptureMouse | gui::csDoubleClicks | gui::csOpaque);
    colors_[kSlotFocused] = gfx::clWhite;
    colors_[kSlotDown] = gfx::RGB(217, 214, 197);
    colors_[kSlotCheck] = gfx::clBlack;
    colors_[kSlotBorder] = gfx::RGB(160, 150, 131);
    SetParentColor(true);
    SetParentFont(true);
    SetTabStop(true);
    SetBounds(Left(), Top(), 121, 17);
    HoverTimer().AddUser();
}

TFlatCheckBox::~TFlatCheckBox() {
    HoverTimer().RemoveUser(this);
}

void TFlatCheckBox::Redraw() {
    if (Showing()) PaintNow();
}

void TFlatCheckBox::SetChecked(bool v) {
    if (checked_ == v) return;
    checked_ = v;
    WeakOf<TFlatCheckBox> self(this);
    gui::TCustomControl::Click();  // OnClick, for changes by code as much as by the user
    if (self) Redraw();
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

TColor TFlatCheckBox::ColorSlot(int slot) const {
    return (slot >= 0 && slot < 4) ? colors_[slot] : gfx::clNone;
}

void TFlatCheckBox::SetColorSlot(int slot, TColor color) {
    if (slot < 0 || slot >= 4) return;
    colors_[slot] = color;
    Redraw();
}

void TFlatCheckBox::CalcAdvColors() {
    if (!useAdvColors_) return;
    colors_[kSlotFocused] = CalcAdvancedColor(Color(), colors_[kSlotFocused], advFocused_, ctLighten);
    colors_[kSlotDown] = CalcAdvancedColor(Color(), colors_[kSlotDown], advDown_, ctDarken);
    colors_[kSlotBorder] = CalcAdvancedColor(Color(), colors_[kSlotBorder], advBorder_, ctDarken);
}

void TFlatCheckBox::SetAdvColorFocused(int percent) {
    advFocused_ = std::clamp(percent, 0, 100);
    CalcAdvColors();
    Redraw();
}

void TFlatCheckBox::SetAdvColorDown(int percent) {
    advDown_ = std::clamp(percent, 0, 100);
    CalcAdvColors();
    Redraw();
}

void TFlatCheckBox::SetAdvColorBorder(int percent) {
    advBorder_ = std::clamp(percent, 0, 100);
    CalcAdvColors();
    Redraw();
}

void TFlatCheckBox::SetUseAdvColors(bool v) {
    if (useAdvColors_ == v) return;
    useAdvColors_ = v;
    SetParentColor(v);
    CalcAdvColors();
    Redraw();
}

void TFlatCheckBox::ColorChanged() {
    gui::TCustomControl::ColorChanged();
    CalcAdvColors();
    Invalidate();
}

void TFlatCheckBox::ParentColorChanged() {
    gui::TCustomControl::ParentColorChanged();
    if (useAdvColors_) {
        SetParentColor(true);
        CalcAdvColors();
    }
    Invalidate();
}

void TFlatCheckBox::FontChanged() {
    gui::TCustomControl::FontChanged();
    Invalidate();
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
        held_ = true;
        mouseInControl_ = true;  // a press is over the box, even without a move before it
        Redraw();
    }
    gui::TCustomControl::MouseDown(button, shift, x, y);
}

void TFlatCheckBox::MouseMove(gui::TShiftState shift, int x, int y) {
    gui::TCustomControl::MouseMove(shift, x, y);
    if (held_) {
        // While held the pointer's place decides whether the release counts, so leaving the
        // box before releasing leaves Checked alone.
        const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
        if (inside != mouseInControl_) {
            mouseInControl_ = inside;
            Redraw();
        }
        return;
    }
    StartHover();
}

void TFlatCheckBox::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    if (button == gui::mbLeft && Enabled() && held_) {
        held_ = false;
        WeakOf<TFlatCheckBox> self(this);
        if (mouseInControl_) SetChecked(!checked_);
        if (!self) return;
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

void TFlatCheckBox::StartHover() {
    THoverTimer& hover = HoverTimer();
    if (hover.Watched() == this) return;
    if (auto* previous = static_cast<TFlatCheckBox*>(hover.Watched())) previous->EndHover();
    if (gui::Application == nullptr || gui::Application->ActiveForm() == nullptr) return;
    hover.Watch(this);
    mouseInControl_ = true;
    Redraw();
}

void TFlatCheckBox::EndHover() {
    if (!Enabled() || !mouseInControl_ || held_) return;
    mouseInControl_ = false;
    HoverTimer().Unwatch(this);
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
    EndHover();
    Redraw();
}

void TFlatCheckBox::EnabledChanged() {
    gui::TCustomControl::EnabledChanged();
    if (!Enabled()) {
        mouseInControl_ = false;
        held_ = false;
        HoverTimer().Unwatch(this);
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
    gfx::TBitmap offscreen(client.Width(), client.Height());
    PaintBox(offscreen.Canvas());
    PresentOffscreen(Canvas(), offscreen);
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
    if (!Focused() && !mouseInControl_) {
        fill = Color();
    } else if (held_) {
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
