#pragma once
// TCustomFlatEdit: the framework's single-line edit without its own border, inside a 3-pixel
// border that the control draws itself: an outer ring in ColorBorder and two rings in the
// background colour. Plain look: background ColorFlat. Highlighted look: background
// ColorFocused — when the edit has the focus, or when the mouse is over it while the focused
// control is not a flat edit (so two flat edits never look active at once).
#include "flat/FlatLook.h"
#include "gui/Edit.h"

namespace flat {

class TCustomFlatEdit : public gui::TEdit {
public:
    enum : int { kSlotFocused = 0, kSlotBorder = 1, kSlotFlat = 2 };
    static constexpr int kBorder = 3;

    explicit TCustomFlatEdit(gui::TComponent* owner);
    ~TCustomFlatEdit() override;

    gfx::TColor ColorSlot(int slot) const;
    void SetColorSlot(int slot, gfx::TColor color);  // ColorFlat also turns ParentColor off
    gfx::TColor ColorFocused() const { return look_.Slot(kSlotFocused); }
    void SetColorFocused(gfx::TColor c) { SetColorSlot(kSlotFocused, c); }
    gfx::TColor ColorBorder() const { return look_.Slot(kSlotBorder); }
    void SetColorBorder(gfx::TColor c) { SetColorSlot(kSlotBorder, c); }
    gfx::TColor ColorFlat() const { return flat_; }
    void SetColorFlat(gfx::TColor c) { SetColorSlot(kSlotFlat, c); }
    // ParentColor of a flat edit: ColorFlat follows the parent's colour.
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    // The advanced shades derive from ColorFlat.
    int AdvColorFocused() const { return look_.Advanced(kSlotFocused); }
    void SetAdvColorFocused(int percent) { look_.SetAdvanced(kSlotFocused, percent); }
    int AdvColorBorder() const { return look_.Advanced(kSlotBorder); }
    void SetAdvColorBorder(int percent) { look_.SetAdvanced(kSlotBorder, percent); }
    bool UseAdvColors() const { return look_.UseAdvanced(); }
    void SetUseAdvColors(bool v) { look_.SetUseAdvanced(v); }

    bool MouseOver() const { return mouseOver_; }
    bool Highlighted() const;

    void MouseEnter() override;
    void MouseLeave() override;
    void DoEnter() override;
    void DoExit() override;
    void FormActiveChanged() override {
        gui::TEdit::FormActiveChanged();
        UpdateLook();
    }
    void Loaded() override;

protected:
    void Paint() override;
    void FontChanged() override;
    void ParentColorChanged() override;

private:
    void UpdateLook();
    void FollowParentColor();  // ColorFlat takes the parent's colour
    void AdjustHeight();

    gfx::TColor flat_ = gfx::RGB(235, 234, 225);
    TFlatLook look_;  // ColorFocused and ColorBorder, shades of ColorFlat
    bool parentColor_ = true;
    bool mouseOver_ = false;
    bool adjusting_ = false;
};

}  // namespace flat
