#pragma once
// TFlatLook: the colours of a flat control, written once for all of them. A few numbered colour
// slots, and the "advanced" mode in which some slots become lighter or darker shades of the
// control's own colour (which it then takes from its parent). A change redraws the control the
// way the control asks for (most paint at once, a box that holds controls repaints).
//
// The control forwards ColorChanged and ParentColorChanged, and invalidates itself after them.
// The shades come from the control's colour unless it names another base colour (the flat edit's
// ColorFlat), and advanced mode makes the control follow its parent's colour through the
// framework's ParentColor unless it names its own way (followParent).
#include <functional>
#include <initializer_list>

#include "flat/HslColor.h"
#include "gfx/Color.h"

namespace gui {
class TControl;
}

namespace flat {

// A slot that follows the control's colour in advanced mode: percent of lighter or darker.
struct TAdvancedSlot {
    int slot;
    int percent;
    TColorCalcType type;
};

class TFlatLook {
public:
    static constexpr int kMaxSlots = 5;

    TFlatLook(gui::TControl& owner, std::function<void()> redraw, std::initializer_list<gfx::TColor> slots,
              std::initializer_list<TAdvancedSlot> advanced, std::function<gfx::TColor()> base = {},
              std::function<void(bool)> followParent = {});

    int SlotCount() const { return count_; }
    gfx::TColor Slot(int slot) const { return slot >= 0 && slot < count_ ? slots_[slot] : gfx::clNone; }
    void SetSlot(int slot, gfx::TColor color);  // out of range: ignored

    // The percent of an advanced slot (0 when slot is not one).
    int Advanced(int slot) const;
    void SetAdvanced(int slot, int percent);  // clamped to 0..100
    bool UseAdvanced() const { return useAdvanced_; }
    void SetUseAdvanced(bool v);

    void ColorChanged();  // also: the base colour changed
    void ParentColorChanged();

private:
    void Recalc();

    gui::TControl& owner_;
    std::function<void()> redraw_;
    std::function<gfx::TColor()> base_;
    std::function<void(bool)> followParent_;
    gfx::TColor slots_[kMaxSlots]{};
    int count_ = 0;
    TAdvancedSlot advanced_[kMaxSlots]{};
    int advancedCount_ = 0;
    bool useAdvanced_ = false;
};

}  // namespace flat
