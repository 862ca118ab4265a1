#pragma once
// TFlatScrollbar: a scroll bar drawn in the flat style from child controls: two arrow buttons
// (flat buttons that repeat every 10 ms while held) and, between them, a track with a 17-pixel
// thumb that can be dragged. Kind decides the direction; the layout follows every resize.
//
// Position moves by the arrows (OnScroll after each step) and by dragging the thumb (OnScroll on
// every move over it). Keys and scroll requests move only the thumb: Position and OnScroll catch
// up at the next mouse move over the thumb.
#include <cstdint>
#include <functional>

#include "flat/FlatScrollbarTrack.h"
#include "gui/CustomControl.h"

namespace flat {

class TFlatScrollbarButton;

using TFlatOnScroll = std::function<void(gui::TComponent* sender, int scrollPos)>;

// Messages the scroll bar answers (Perform), numbered as the window system numbers them.
enum : int {
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    SBM_SETPOS = 0x00E0,
    SBM_GETPOS = 0x00E1,
    SBM_SETRANGE = 0x00E2,
    SBM_GETRANGE = 0x00E3,
    SBM_ENABLE_ARROWS = 0x00E4,
};
// Arrows for SBM_ENABLE_ARROWS.
enum : int { ESB_ENABLE_BOTH = 0, ESB_DISABLE_LTUP = 1, ESB_DISABLE_RTDN = 2, ESB_DISABLE_BOTH = 3 };

class TFlatScrollbar : public gui::TCustomControl {
public:
    static constexpr int kButtonLength = 17;

    explicit TFlatScrollbar(gui::TComponent* owner);
    ~TFlatScrollbar() override;

    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int v);
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int v);
    int Position() const { return position_; }
    void SetPosition(int v);
    // The height of a line of what the bar scrolls, 0 when it has none: a click on an arrow then
    // moves to the next line and a held arrow comes to rest on one (else they move by SmallChange).
    int LineStep() const { return lineStep_; }
    void SetLineStep(int v) { lineStep_ = v; }
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind v);

    gfx::TColor ButtonColor() const { return buttonColor_; }
    void SetButtonColor(gfx::TColor c);
    gfx::TColor ButtonFocusedColor() const { return buttonSlots_[0]; }
    void SetButtonFocusedColor(gfx::TColor c) { SetButtonSlot(0, c); }
    gfx::TColor ButtonDownColor() const { return buttonSlots_[1]; }
    void SetButtonDownColor(gfx::TColor c) { SetButtonSlot(1, c); }
    gfx::TColor ButtonBorderColor() const { return buttonSlots_[2]; }
    void SetButtonBorderColor(gfx::TColor c) { SetButtonSlot(2, c); }
    gfx::TColor ButtonHighlightColor() const { return buttonSlots_[3]; }
    void SetButtonHighlightColor(gfx::TColor c) { SetButtonSlot(3, c); }
    gfx::TColor ButtonShadowColor() const { return buttonSlots_[4]; }
    void SetButtonShadowColor(gfx::TColor c) { SetButtonSlot(4, c); }

    gfx::TColor ThumbColor() const { return thumbColor_; }
    void SetThumbColor(gfx::TColor c);
    gfx::TColor ThumbFocusedColor() const { return thumbSlots_[0]; }
    void SetThumbFocusedColor(gfx::TColor c) { SetThumbSlot(0, c); }
    gfx::TColor ThumbDownColor() const { return thumbSlots_[1]; }
    void SetThumbDownColor(gfx::TColor c) { SetThumbSlot(1, c); }
    gfx::TColor ThumbBorderColor() const { return thumbSlots_[2]; }
    void SetThumbBorderColor(gfx::TColor c) { SetThumbSlot(2, c); }
    gfx::TColor ThumbHighlightColor() const { return thumbSlots_[3]; }
    void SetThumbHighlightColor(gfx::TColor c) { SetThumbSlot(3, c); }
    gfx::TColor ThumbShadowColor() const { return thumbSlots_[4]; }
    void SetThumbShadowColor(gfx::TColor c) { SetThumbSlot(4, c); }

    TFlatOnScroll OnScroll;

    // The parts (first = up/left, second = down/right).
    TFlatScrollbarButton* FirstButton() const { return first_; }
    TFlatScrollbarButton* SecondButton() const { return second_; }
    TFlatScrollbarTrack* Track() const { return track_; }

    // Scroll requests and the standard scroll-bar messages, all handled by the track.
    // SBM_GETRANGE stores Min and Max where wparam and lparam point (int*).
    std::intptr_t Perform(int message, std::intptr_t wparam, std::intptr_t lparam);
    int ScrollRequest(int code, int pos) { return track_->ScrollRequest(code, pos); }
    void EnableArrows(int arrows);

    void KeyDown(int& key, gui::TShiftState shift) override;
    void SetBounds(int left, int top, int width, int height) override;

private:
    friend class TFlatScrollbarTrack;
    void ThumbMoved(int position);  // from the track: the thumb was moved by the mouse
    void LayoutParts();
    void LoadGlyphs();
    void SetButtonSlot(int slot, gfx::TColor c);
    void SetThumbSlot(int slot, gfx::TColor c);
    void StepBy(int delta);
    void StepLine(int direction);
    void SettleOnLine(int direction);

    TFlatScrollbarButton* first_ = nullptr;
    TFlatScrollbarButton* second_ = nullptr;
    TFlatScrollbarTrack* track_ = nullptr;
    int min_ = 0, max_ = 0, smallChange_ = 0, largeChange_ = 0, position_ = 0, lineStep_ = 0;
    TScrollBarKind kind_ = sbHorizontal;
    // Zero until the constructor assigns the defaults through the setters, which act only on a
    // change — so the black shadow default leaves the buttons' own (black) shadow untouched.
    gfx::TColor buttonColor_ = 0, thumbColor_ = 0;
    gfx::TColor buttonSlots_[5] = {0, 0, 0, 0, 0};
    gfx::TColor thumbSlots_[5] = {0, 0, 0, 0, 0};
};

}  // namespace flat
