#include "gui/Button.h"

#include <cctype>

#include "gui/Form.h"
#include "gui/Label.h"
#include "gui/Panel.h"

namespace gui {

TButton::TButton(TComponent* owner) : TCustomControl(owner) {
    // A quick second press is another click, as with the system's push buttons.
    SetControlStyle(ControlStyle() & ~csDoubleClicks);
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
        TWinControl* active = f ? f->ActiveControl() : nullptr;
        // A focused push button takes Enter; otherwise the default button does.
        bool mine = active == this || (default_ && !(active && active->IsPushButton()));
        if (!mine) return false;
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
        held_ = true;
        SetPressed(true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
    if (held_) SetPressed(ClientRect().Contains({x, y}));
    TCustomControl::MouseMove(shift, x, y);
}

void TButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && held_) {
        held_ = false;
        SetPressed(false);
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TButton::KeyDown(int& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == VK_SPACE) {
        spaceDown_ = true;
        SetPressed(true);
        key = 0;
    }
}

void TButton::KeyUp(int& key, TShiftState shift) {
    TCustomControl::KeyUp(key, shift);
    if (key == VK_SPACE && spaceDown_) {
        spaceDown_ = false;
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
    spaceDown_ = false;
    SetPressed(false);
    TCustomControl::DoExit();
    Invalidate();
}

void TButton::TextChanged() {
    Invalidate();
}

void TButton::EnabledChanged() {
    held_ = false;
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
