#pragma once
// TFlatCheckBox: a painted check box — an 11x11 square with a drawn tick and a word-wrapped
// caption beside it. The square shows Color at rest, ColorFocused with the focus or the mouse
// over it, and ColorDown while a mouse button is held on it. Hover is watched by the
// pointer router's hover group, one flat check box at a time. OnClick is raised by every change of
// Checked, also by code.
#include "flat/FlatColors.h"
#include "flat/FlatHover.h"
#include "flat/FlatUtils.h"
#include "gui/CustomControl.h"
#include "gui/PressTracker.h"

namespace flat {

enum TCheckBoxLayout { checkboxLeft, checkboxRight };

// Colour slots kSlotFocused, kSlotDown, kSlotBorder.
class TFlatCheckBox : public TFlatControl<0, 1, 3> {
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

    gfx::TColor ColorCheck() const { return look_.Slot(kSlotCheck); }
    void SetColorCheck(gfx::TColor c) { SetColorSlot(kSlotCheck, c); }

    bool MouseInControl() const { return track_.inside; }
    bool Held() const { return press_.Held(); }
    gfx::TRect CheckRect() const;  // the square, in client coordinates
    // Whether the pointer router's hover group watches this box now.
    bool HoverWatched() const { return track_.Watched(); }

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
    void TextChanged() override;
    void PaintBox(gfx::TCanvas& canvas);

private:
    void Redraw();

    bool checked_ = false;
    bool transparent_ = false;
    TCheckBoxLayout layout_ = checkboxLeft;
    gui::TPressTracker press_{*this};
    TFlatHover track_;
    TOffscreen offscreen_;  // reused from paint to paint
};

}  // namespace flat
