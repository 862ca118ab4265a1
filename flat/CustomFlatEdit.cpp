#include "flat/CustomFlatEdit.h"

#include "flat/FlatUtils.h"
#include "gui/Application.h"
#include "gui/Screen.h"

namespace flat {

using gfx::TColor;
using gfx::TRect;

TCustomFlatEdit::TCustomFlatEdit(gui::TComponent* owner)
    : gui::TEdit(owner),
      look_(
          *this, [this] { UpdateLook(); }, {gfx::clWhite, gfx::RGB(160, 150, 131)},
          {{kSlotFocused, 10, ctLighten}, {kSlotBorder, 50, ctDarken}}, [this] { return flat_; },
          // The edit's own Color is its current background: it follows its parent through ColorFlat.
          [this](bool v) { SetParentColor(v); }) {
    SetBorderVisible(false);
    SetBounds(Left(), Top(), 121, 19);
    UpdateLook();
}

TCustomFlatEdit::~TCustomFlatEdit() = default;

TColor TCustomFlatEdit::ColorSlot(int slot) const {
    return slot == kSlotFlat ? flat_ : look_.Slot(slot);
}

void TCustomFlatEdit::SetColorSlot(int slot, TColor color) {
    if (slot != kSlotFlat) {
        look_.SetSlot(slot, color);
        return;
    }
    flat_ = color;
    parentColor_ = false;
    UpdateLook();
}

void TCustomFlatEdit::FollowParentColor() {
    flat_ = Parent()->Color();
    look_.ColorChanged();
}

void TCustomFlatEdit::SetParentColor(bool v) {
    if (parentColor_ == v) return;
    parentColor_ = v;
    if (v && Parent()) FollowParentColor();
    UpdateLook();
}

void TCustomFlatEdit::ParentColorChanged() {
    // The edit's own Color is its current background, so the framework's ParentColor stays
    // off; the flat edit follows its parent through ColorFlat instead.
    if ((parentColor_ || look_.UseAdvanced()) && Parent()) {
        FollowParentColor();
        UpdateLook();
    }
}

bool TCustomFlatEdit::Highlighted() const {
    if (Focused()) return true;
    if (!mouseOver_) return false;
    gui::TWinControl* focused = gui::Screen ? gui::Screen->ActiveControl() : nullptr;
    return dynamic_cast<TCustomFlatEdit*>(focused) == nullptr;
}

void TCustomFlatEdit::UpdateLook() {
    // The background of the text follows the look; the rings are drawn in Paint.
    const TColor background = Highlighted() ? ColorFocused() : ColorFlat();
    if (Color() != background) {
        gui::TEdit::SetColor(background);  // repaints
    } else {
        Invalidate();
    }
}

void TCustomFlatEdit::MouseEnter() {
    gui::TEdit::MouseEnter();
    if (gui::Application == nullptr || gui::Application->ActiveForm() == nullptr) return;
    mouseOver_ = true;
    UpdateLook();
}

void TCustomFlatEdit::MouseLeave() {
    gui::TEdit::MouseLeave();
    mouseOver_ = false;
    UpdateLook();
}

void TCustomFlatEdit::DoEnter() {
    gui::TEdit::DoEnter();
    UpdateLook();
}

void TCustomFlatEdit::DoExit() {
    gui::TEdit::DoExit();
    UpdateLook();
}

void TCustomFlatEdit::Loaded() {
    gui::TEdit::Loaded();
    AdjustHeight();
}

void TCustomFlatEdit::FontChanged() {
    gui::TEdit::FontChanged();
    if (!Loading()) AdjustHeight();
}

void TCustomFlatEdit::AdjustHeight() {
    if (adjusting_) return;
    adjusting_ = true;
    gfx::TBitmap scratch(1, 1);
    scratch.Canvas().SetFont(Font());
    SetHeight(scratch.Canvas().TextHeight("Ag") + 2 * kBorder);
    adjusting_ = false;
}

void TCustomFlatEdit::Paint() {
    gui::TEdit::Paint();
    // The 3-pixel border over the edges of the text area, as a window frame would lie.
    gfx::TCanvas& canvas = Canvas();
    const TRect client = ClientRect();
    const TColor background = Highlighted() ? ColorFocused() : ColorFlat();
    DrawFrame(canvas, client, ColorBorder(), 1);
    DrawFrame(canvas, gfx::Inflate(client, -1, -1), background, 2);
}

}  // namespace flat
