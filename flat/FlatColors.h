#pragma once
// TFlatColors: the colour properties of the flat controls over their look (FlatLook.h), written
// once: the slots by number; the hover (focused), pressed (down) and border colours at the slot
// each control keeps them in (-1: the control has none); the advanced shades.
//
// TFlatControl: a flat control with these colours, which paints again when its colour, its parent's
// colour or its font changes.
#include <functional>
#include <initializer_list>
#include <utility>

#include "flat/FlatLook.h"
#include "gui/CustomControl.h"

namespace flat {

template <int kFocused, int kDown, int kBorder>
class TFlatColors {
public:
    gfx::TColor ColorSlot(int slot) const { return look_.Slot(slot); }
    void SetColorSlot(int slot, gfx::TColor color) { look_.SetSlot(slot, color); }

    gfx::TColor ColorFocused() const requires(kFocused >= 0) { return look_.Slot(kFocused); }
    void SetColorFocused(gfx::TColor c) requires(kFocused >= 0) { look_.SetSlot(kFocused, c); }
    gfx::TColor ColorDown() const requires(kDown >= 0) { return look_.Slot(kDown); }
    void SetColorDown(gfx::TColor c) requires(kDown >= 0) { look_.SetSlot(kDown, c); }
    gfx::TColor ColorBorder() const { return look_.Slot(kBorder); }
    void SetColorBorder(gfx::TColor c) { look_.SetSlot(kBorder, c); }

    int AdvColorFocused() const requires(kFocused >= 0) { return look_.Advanced(kFocused); }
    void SetAdvColorFocused(int percent) requires(kFocused >= 0) { look_.SetAdvanced(kFocused, percent); }
    int AdvColorDown() const requires(kDown >= 0) { return look_.Advanced(kDown); }
    void SetAdvColorDown(int percent) requires(kDown >= 0) { look_.SetAdvanced(kDown, percent); }
    int AdvColorBorder() const { return look_.Advanced(kBorder); }
    void SetAdvColorBorder(int percent) { look_.SetAdvanced(kBorder, percent); }
    bool UseAdvColors() const { return look_.UseAdvanced(); }
    void SetUseAdvColors(bool v) { look_.SetUseAdvanced(v); }

protected:
    explicit TFlatColors(TFlatLook look) : look_(std::move(look)) {}
    TFlatLook look_;
};

template <int kFocused, int kDown, int kBorder>
class TFlatControl : public gui::TCustomControl, public TFlatColors<kFocused, kDown, kBorder> {
protected:
    // redraw: how a change of the look shows (see TFlatLook); slots and advanced: the look's colours.
    TFlatControl(gui::TComponent* owner, std::function<void()> redraw,
                 std::initializer_list<gfx::TColor> slots, std::initializer_list<TAdvancedSlot> advanced)
        : gui::TCustomControl(owner),
          TFlatColors<kFocused, kDown, kBorder>(TFlatLook(*this, std::move(redraw), slots, advanced)) {}

    void ColorChanged() override {
        gui::TCustomControl::ColorChanged();
        this->look_.ColorChanged();
        Invalidate();
    }
    void ParentColorChanged() override {
        gui::TCustomControl::ParentColorChanged();
        this->look_.ParentColorChanged();
        Invalidate();
    }
    void FontChanged() override {
        gui::TCustomControl::FontChanged();
        Invalidate();
    }
};

}  // namespace flat
