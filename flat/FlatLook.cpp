#include "flat/FlatLook.h"

#include <algorithm>

#include "gui/Control.h"

namespace flat {

TFlatLook::TFlatLook(gui::TControl& owner, std::function<void()> redraw,
                     std::initializer_list<gfx::TColor> slots, std::initializer_list<TAdvancedSlot> advanced,
                     std::function<gfx::TColor()> base, std::function<void(bool)> followParent)
    : owner_(owner),
      redraw_(std::move(redraw)),
      base_(std::move(base)),
      followParent_(std::move(followParent)) {
    for (gfx::TColor c : slots)
        if (count_ < kMaxSlots) slots_[count_++] = c;
    for (const TAdvancedSlot& a : advanced)
        if (advancedCount_ < kMaxSlots) advanced_[advancedCount_++] = a;
}

void TFlatLook::SetSlot(int slot, gfx::TColor color) {
    if (slot < 0 || slot >= count_) return;
    slots_[slot] = color;
    redraw_();
}

int TFlatLook::Advanced(int slot) const {
    for (int i = 0; i < advancedCount_; ++i)
        if (advanced_[i].slot == slot) return advanced_[i].percent;
    return 0;
}

void TFlatLook::SetAdvanced(int slot, int percent) {
    for (int i = 0; i < advancedCount_; ++i)
        if (advanced_[i].slot == slot) advanced_[i].percent = std::clamp(percent, 0, 100);
    Recalc();
    redraw_();
}

void TFlatLook::SetUseAdvanced(bool v) {
    if (useAdvanced_ == v) return;
    useAdvanced_ = v;
    if (followParent_)
        followParent_(v);
    else
        owner_.SetParentColor(v);
    Recalc();
    redraw_();
}

void TFlatLook::ColorChanged() {
    Recalc();
}

void TFlatLook::ParentColorChanged() {
    if (!useAdvanced_) return;
    owner_.SetParentColor(true);
    Recalc();
}

void TFlatLook::Recalc() {
    if (!useAdvanced_) return;
    const gfx::TColor base = base_ ? base_() : owner_.Color();
    for (int i = 0; i < advancedCount_; ++i) {
        gfx::TColor& c = slots_[advanced_[i].slot];
        c = CalcAdvancedColor(base, c, advanced_[i].percent, advanced_[i].type);
    }
}

}  // namespace flat
