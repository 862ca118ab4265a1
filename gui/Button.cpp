#include "gui/Button.h"

#include <cctype>

#include "gui/Form.h"
#include "gui/Label.h"
#include "gui/Panel.h"

namespace gui {

TButton::TButton(TComponent* owner) : TCustomControl(owner) {
    // A quick second press is another click, as with the system's push buttons; the press
    // tracker raises the click.
    SetControlStyle(ControlStyle() & ~(csDoubleClicks | csClickEvents));
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

TButton::~TButton() = default;

void TButton::SetDefault(bool v) {
    if (v == default_) return;
    default_ = v;
    Invalidate();
}

void TButton::SetPressed(bool v) {
    if (v == pressed_) return;
    pressed_ = v;
    Invalidate();
}

void TButton::Click() {
    if (TForm* f = ParentForm(); f && modalResult_ != mrNone) f->SetModalResult(modalResult_);
    TCustomControl::Click();
}

bool TButton::DialogChar(char key) {
    char accel = AcceleratorChar(Caption());
    if (!accel || std::toupper(std::uint8_t(accel)) != std::toupper(std::uint8_t(key)) || !CanFocus())
        return false;
    SetFocus();
    Click();
    return true;
}

bool TButton::DialogKey(int key, TShiftState shift) {
    if (shift & (ssCtrl | ssAlt | ssShift)) return false;
    if (!CanFocus()) return false;
    TForm* f = ParentForm();
    if (key == VK_RETURN) {
        if (!TPressTracker::EnterIsFor(this, default_, f ? f->ActiveControl() : nullptr)) return false;
        Click();
        return true;
    }
    if (key == VK_ESCAPE && cancel_) {
        Click();
        return true;
    }
    return false;
}

void TButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        press_.Press(shift);
        SetPressed(true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
    if (press_.Held()) {
        press_.Move(x, y);
        SetPressed(press_.Inside());
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && press_.Held()) {
        // The click comes before the release look, so OnClick still sees the button pressed.
        if (press_.ClickAt(x, y)) {
            Click();
            if (Freeing()) return;
        }
        press_.Release(x, y);
        SetPressed(false);
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TButton::KeyDown(int& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (press_.KeyDown(key)) {
        SetPressed(true);
        key = 0;
    }
}

void TButton::KeyUp(int& key, TShiftState shift) {
    TCustomControl::KeyUp(key, shift);
    if (press_.KeyUp(key)) {
        SetPressed(false);
        key = 0;
        Click();
    }
}

void TButton::DoEnter() {
    TCustomControl::DoEnter();
    Invalidate();
}

void TButton::DoExit() {
    press_.FocusLost();
    SetPressed(false);
    TCustomControl::DoExit();
    Invalidate();
}

void TButton::TextChanged() {
    Invalidate();
}

void TButton::EnabledChanged() {
    press_.Cancel();
    pressed_ = false;
    TCustomControl::EnabledChanged();
}

void TButton::Paint() {
    TCanvas& c = Canvas();
    TRect r = ClientRect();
    TForm* f = ParentForm();
    TWinControl* active = f ? f->ActiveControl() : nullptr;
    bool isDefault = Focused() || (default_ && !(active && active->IsPushButton()));
    c.Brush().SetStyle(gfx::bsSolid);
    if (isDefault) {
        c.Brush().SetColor(gfx::clWindowFrame);
        c.FrameRect(r);
        r = gfx::Inflate(r, -1, -1);
    }
    if (pressed_) {
        c.Brush().SetColor(gfx::clBtnShadow);
        c.FrameRect(r);
        r = gfx::Inflate(r, -1, -1);
    } else {
        Frame3D(c, r, gfx::clBtnHighlight, gfx::cl3DDkShadow, 1);
        Frame3D(c, r, gfx::clBtnFace, gfx::clBtnShadow, 1);
    }
    c.Brush().SetColor(Color());
    c.FillRect(r);
    c.SetFont(Font());
    c.Brush().SetStyle(gfx::bsClear);
    TRect t = ClientRect();
    if (pressed_) gfx::OffsetRect(t, 1, 1);
    unsigned flags = gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE;
    if (!EnabledChain()) {
        c.Font().SetColor(gfx::clBtnHighlight);
        c.DrawText(Caption(), gfx::Offset(t, 1, 1), flags);
        c.Font().SetColor(gfx::clBtnShadow);
    }
    c.DrawText(Caption(), t, flags);
}

}  // namespace gui
