#pragma once
// TFlatButton: a flat push button that paints itself. Looks: a face in Color that turns
// ColorFocused under the mouse and ColorDown when pressed, a thin ColorBorder frame, a raised or
// sunken one-pixel bevel, an optional glyph strip of 1 to 4 images and a caption. Buttons with a
// GroupIndex stay down and release each other like radio buttons.
//
// State machine (states up, disabled, pressed, exclusive):
//   left press            -> pressed (unless Down); held; takes the focus
//   move while held       -> pressed/exclusive inside, up/exclusive outside
//   release while held    -> no group: up; group: inside toggles Down. Inside raises the click.
//   Space down / up       -> group: Down true / false; else pressed / up and the click (on every
//                            Space release, also one whose press went elsewhere)
//   accelerator           -> group: Down; the click
//   double click          -> OnDblClick only while Down
// Hover is watched by the pointer router's hover group, one flat button at a time; moving onto
// another flat button ends the previous one's hover at once.
#include <string>

#include "flat/ButtonLayout.h"
#include "flat/FlatColors.h"
#include "flat/FlatHover.h"
#include "flat/FlatUtils.h"
#include "gfx/Bitmap.h"
#include "gui/CustomControl.h"
#include "gui/PressTracker.h"

namespace flat {

enum class TFlatButtonState { Up, Disabled, Pressed, Exclusive };

// Colour slots kSlotFocused, kSlotDown, kSlotBorder.
class TFlatButton : public TFlatControl<0, 1, 2> {
public:
    // Colour slots, also addressable by number.
    enum : int { kSlotFocused = 0, kSlotDown = 1, kSlotBorder = 2, kSlotHighLight = 3, kSlotShadow = 4 };

    explicit TFlatButton(gui::TComponent* owner);
    ~TFlatButton() override;

    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode v);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    bool Down() const { return down_; }
    void SetDown(bool v);
    gui::TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(gui::TModalResult v) { modalResult_ = v; }

    gfx::TColor ColorHighLight() const { return look_.Slot(kSlotHighLight); }
    void SetColorHighLight(gfx::TColor c) { SetColorSlot(kSlotHighLight, c); }
    gfx::TColor ColorShadow() const { return look_.Slot(kSlotShadow); }
    void SetColorShadow(gfx::TColor c) { SetColorSlot(kSlotShadow, c); }

    const gfx::TBitmap& Glyph() const { return glyph_; }
    void SetGlyph(const gfx::TBitmap& glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int n);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v);
    int Margin() const { return margin_; }
    void SetMargin(int v);
    int Spacing() const { return spacing_; }
    void SetSpacing(int v);

    // Run-time state (read by tests and the scroll bar).
    TFlatButtonState State() const { return state_; }
    bool MouseInControl() const { return track_.inside; }
    bool Held() const { return press_.Held(); }
    // Whether the pointer router's hover group watches this button now.
    bool HoverWatched() const { return track_.Watched(); }

    void Click() override;
    void DblClick() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void KeyDown(int& key, gui::TShiftState shift) override;
    void KeyUp(int& key, gui::TShiftState shift) override;
    bool DialogChar(char key) override;
    bool DialogKey(int key, gui::TShiftState shift) override;
    bool IsPushButton() const override { return true; }
    void DoEnter() override;
    void DoExit() override;
    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;

protected:
    void Paint() override;
    void EraseBackground(gfx::TCanvas&) override {}  // the whole area is painted
    void EnabledChanged() override;
    void TextChanged() override;

    // Paints the whole button into canvas (client coordinates); Paint() does it off-screen.
    void PaintButton(gfx::TCanvas& canvas);

private:
    void Redraw();
    void UpdateExclusive();
    void ButtonPressed(TFlatButton* sender);  // a button of the group went down
    void StartHover();
    void UpdateTracking();

    TTransparentMode transparentMode_ = tmNone;
    bool default_ = false;
    bool allowAllUp_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    gui::TModalResult modalResult_ = gui::mrNone;
    gfx::TBitmap glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphTop;
    int margin_ = -1;
    int spacing_ = 4;

    TFlatButtonState state_ = TFlatButtonState::Up;
    gui::TPressTracker press_;
    TFlatHover track_;
    TOffscreen offscreen_;  // reused from paint to paint
};

}  // namespace flat
