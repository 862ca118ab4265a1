#include "skin/GlyphButton.h"

namespace skin {

namespace {

constexpr int kSize = 20;
// The plate under a hovered or pressed glyph: a light wash with a cool frame, drawn over
// whatever lies behind so it suits any skin.
constexpr gfx::TColor kFrame = gfx::RGB(86, 110, 140);
constexpr gfx::TColor kHotWash = gfx::RGB(255, 255, 255);
constexpr int kHotShare = 110;  // of 255
constexpr gfx::TColor kDownWash = gfx::RGB(36, 54, 82);
constexpr int kDownShare = 70;

}  // namespace

TGlyphButton::TGlyphButton(gui::TComponent* owner) : gui::TGraphicControl(owner) {
    SetControlStyle(ControlStyle() & ~gui::csClickEvents);  // the press tracker clicks
    SetBounds(0, 0, kSize, kSize);
}

TGlyphButton::~TGlyphButton() {
    if (imageList_) imageList_->RemoveFreeNotification(this);
}

void TGlyphButton::SetImageList(gui::TImageList* list) {
    if (list == imageList_) return;
    if (imageList_) imageList_->RemoveFreeNotification(this);
    imageList_ = list;
    if (list) list->FreeNotification(this);
    Invalidate();
}

void TGlyphButton::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    Invalidate();
}

void TGlyphButton::Notification(gui::TComponent* c, gui::TOperation op) {
    if (op == gui::opRemove && c == imageList_) imageList_ = nullptr;
    gui::TGraphicControl::Notification(c, op);
}

void TGlyphButton::EnabledChanged() {
    press_.Cancel();
    gui::TGraphicControl::EnabledChanged();
    Invalidate();
}

// The looks blend over the background, so every change repaints what lies behind first.
void TGlyphButton::MouseEnter() {
    gui::TGraphicControl::MouseEnter();
    Repaint();
}

void TGlyphButton::MouseLeave() {
    gui::TGraphicControl::MouseLeave();
    Repaint();
}

void TGlyphButton::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    if (button == gui::mbLeft) {
        press_.Press(shift);
        Repaint();
    }
    gui::TGraphicControl::MouseDown(button, shift, x, y);
}

void TGlyphButton::MouseMove(gui::TShiftState shift, int x, int y) {
    if (press_.Move(x, y)) Repaint();
    gui::TGraphicControl::MouseMove(shift, x, y);
}

void TGlyphButton::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    // The click comes before the release, while the button still shows pressed.
    if (button == gui::mbLeft && press_.ClickAt(x, y)) {
        Click();
        if (Freeing()) return;
    }
    gui::TGraphicControl::MouseUp(button, shift, x, y);
    if (button == gui::mbLeft && press_.Held()) {
        press_.Release(x, y);
        Repaint();
    }
}

void TGlyphButton::Click() {
    if (Enabled()) gui::TGraphicControl::Click();
}

void TGlyphButton::Paint() {
    gfx::TCanvas& c = Canvas();
    const int w = Width(), h = Height();
    const bool pressed = press_.Inside() && Enabled();
    const bool hot = !pressed && MouseInside() && Enabled();
    if (pressed || hot) {
        const gfx::TColor wash = pressed ? kDownWash : kHotWash;
        const int share = pressed ? kDownShare : kHotShare;
        c.Wash({1, 1, w - 1, h - 1}, wash, share);
        // A frame with its corner pixels left out reads as slightly rounded.
        for (int x = 1; x < w - 1; ++x) {
            c.SetPixel(x, 0, kFrame);
            c.SetPixel(x, h - 1, kFrame);
        }
        for (int y = 1; y < h - 1; ++y) {
            c.SetPixel(0, y, kFrame);
            c.SetPixel(w - 1, y, kFrame);
        }
    }
    if (!imageList_) return;
    int x = (w - imageList_->Width()) / 2, y = (h - imageList_->Height()) / 2;
    if (pressed) ++x, ++y;  // the glyph sinks with the plate
    imageList_->Draw(c, x, y, imageIndex_, Enabled());
}

}  // namespace skin
