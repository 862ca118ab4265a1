#pragma once
// TSkinButton: the push button of the skin. Windowless; its look is one image of an image list
// holding the four states stacked in equal bands (normal, hot, pressed, disabled). The image is
// stretched to the button's width by keeping both end caps and repeating a 2-pixel column strip
// between them; the caption is drawn on top; pixels of the key colour 0x875F46 stay transparent.
//
// Enabled is the button's own flag, separate from the control's enabled state, so mouse events
// keep arriving while it is off (the button then shows band 3 and raises no OnClick). With an
// image list the button is always one band high: the height follows when the list is set and
// whenever the bounds change. Paint only draws.
//
//   input          state          repaint now (only while Enabled; otherwise the state ends at 3)
//   enter          1              yes (ignored while the form is loading)
//   leave          0              yes
//   press (any)    2              yes, after OnMouseDown
//   release (any)  1 unless 0     yes, after OnMouseUp; OnClick came before, in state 2
#include <string>

#include "gui/GraphicControl.h"
#include "gui/ImageList.h"
#include "gui/PressTracker.h"

namespace skin {

class TSkinButton : public gui::TGraphicControl {
public:
    static constexpr gfx::TColor kKeyColor = 0x875F46;
    enum TState { stNormal = 0, stHot = 1, stPressed = 2, stDisabled = 3 };

    explicit TSkinButton(gui::TComponent* owner);
    ~TSkinButton() override;

    gui::TImageList* ImageList() const { return imageList_; }
    void SetImageList(gui::TImageList* list);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // The button's own flag (the control itself stays enabled).
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) override;
    gfx::TColor DisabledFontColor() const { return disabledFontColor_; }
    void SetDisabledFontColor(gfx::TColor c) { disabledFontColor_ = c; }
    int RoundWidth() const { return roundWidth_; }
    void SetRoundWidth(int v) { roundWidth_ = v; }
    int TextDistance() const { return textDistance_; }
    void SetTextDistance(int v);
    gui::TAlignment Alignment() const { return alignment_; }
    void SetAlignment(gui::TAlignment v);

    int State() const { return state_; }
    int TextX() const { return textX_; }  // caption left of the last paint

    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void Click() override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;
    void TextChanged() override;
    void Notification(gui::TComponent* c, gui::TOperation op) override;

private:
    void RepaintIfEnabled();
    int BandHeight() const;  // a quarter of the image height

    gui::TImageList* imageList_ = nullptr;
    int imageIndex_ = 0;
    bool enabled_ = true;
    gfx::TColor disabledFontColor_ = gfx::clSilver;
    int roundWidth_ = 15;
    int textDistance_ = 5;
    gui::TAlignment alignment_ = gui::taCenter;
    int state_ = stNormal;
    gui::TPressTracker press_{*this};  // the click; the bands follow enter, leave, press, release
    int textX_ = 0;
    gfx::TBitmap work_;
    gfx::TBitmap scratch_;
};

}  // namespace skin
