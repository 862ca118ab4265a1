#pragma once
// TFlatCheckBox: a painted check box — an 11x11 square with a drawn tick and a word-wrapped
// caption beside it. The square shows Color at rest, ColorFocused with the focus or the mouse
// over it, and ColorDown while a mouse button is held on it. Hover is watched by one 100 ms timer
// shared by all flat check boxes. OnClick is raised by every change of Checked, also by code.
#include "flat/FlatUtils.h"
#include "gui/CustomControl.h"

namespace flat {

class THoverTimer;

enum TCheckBoxLayout { checkboxLeft, checkboxRight };

class TFlatCheckBox : public gui::TCustomControl {
public:
    enum : int { kSlotFocused = 0, kSlotDown = 1, kSlotCheck = 2, kSlotBorder = 3 };

    explicit TFlatCheckBox(gui::TComponent* owner);
    ~TFlatCheckBox() override;

    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TCheckBoxLayout Layout() const { return layout_; }
    void SetLayout(TCheckBoxLayout v);
    void SetBiDiMode(TBiDiMode v);  // right-to-left puts the square on the right

    gfx::TColor ColorSlot(int slot) const;
    void SetColorSlot(int slot, gfx::TColor color);
    gfx::TColor ColorFocused() const { return colors_[kSlotFocused]; }
    void SetColorFocused(gfx::TColor c) { SetColorSlot(kSlotFocused, c); }
    gfx::TColor ColorDown() const { return colors_[kSlotDown]; }
    void SetColorDown(gfx::TColor c) { SetColorSlot(kSlotDown, c); }
    gfx::TColor ColorCheck() const { return colors_[kSlotCheck]; }
    void SetColorCheck(gfx::TColor c) { SetColorSlot(kSlotCheck, c); }
    gfx::TColor ColorBorder() const { return colors_[kSlotBorder]; }
    void SetColorBorder(gfx::TColor c) { SetColorSlot(kSlotBorder, c); }
    int AdvColorFocused() const { return advFocused_; }
    void SetAdvColorFocused(int percent);
    int AdvColorDown() const { return advDown_; }
    void SetAdvColorDown(int percent);
    int AdvColorBorder() const { return advBorder_; }
    void SetAdvColorBorder(int percent);
    bool UseAdvColors() const { return useAdvColors_; }
    void SetUseAdvColors(bool v);

    bool MouseInControl() const { return mouseInControl_; }
    bool Held() const { return held_; }
    gfx::TRect CheckRect() const;  // the square, in client coordinates
    static THoverTimer& HoverTimer();

    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyPress(char& key) override;
    bool DialogChar(char key) override;
    void DoEnter() override;
    void DoExit() override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;
    void EraseBackground(gfx::TCanvas&) override {}
    void EnabledChanged() override;
    void ColorChanged() override;
    void ParentColorChanged() override;
    void FontChanged() override;
    void TextChanged() override;
    void PaintBox(gfx::TCanvas& canvas);

private:
    void Redraw();
    void CalcAdvColors();
    void StartHover();
    void EndHover();

    bool checked_ = false;
    bool transparent_ = false;
    TCheckBoxLayout layout_ = checkboxLeft;
    gfx::TColor colors_[4];
    int advFocused_ = 10, advDown_ = 10, advBorder_ = 50;
    bool useAdvColors_ = false;
    bool mouseInControl_ = false;
    bool held_ = false;
};

}  // namespace flat
