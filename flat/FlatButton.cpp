#include "flat/FlatButton.h"

#include <algorithm>

#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/Screen.h"

namespace flat {

using gfx::TColor;
using gfx::TRect;
using BS = TFlatButtonState;

namespace {
const char kHoverGroup = 0;  // all flat buttons (and the scroll bar's) share one hover group
}  // namespace

TFlatButton::TFlatButton(gui::TComponent* owner)
    : TFlatControl(owner, [this] { Redraw(); },
                   {gfx::RGB(235, 234, 225), gfx::RGB(217, 214, 197), gfx::RGB(160, 150, 131), gfx::clWhite,
                    gfx::clBlack},
                   {{kSlotFocused, 10, ctLighten}, {kSlotDown, 10, ctDarken}, {kSlotBorder, 50, ctDarken}}),
      // The bottom row counts as inside too.
      press_(*this,
             [this](int x, int y) { return x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight(); }),
      track_(*this, &kHoverGroup, press_, [this] { Redraw(); }) {
    SetControlStyle(gui::csCaptureMouse | gui::csDoubleClicks | gui::csOpaque);
    SetParentColor(true);
    SetParentFont(true);
    SetBounds(Left(), Top(), 25, 25);
}

TFlatButton::~TFlatButton() = default;

// Setters that change the look paint at once, without erasing first.
void TFlatButton::Redraw() {
    if (Showing()) PaintNow();
}

void TFlatButton::SetTransparentMode(TTransparentMode v) {
    transparentMode_ = v;
    Redraw();
}

void TFlatButton::SetDefault(bool v) {
    // Enter finds the default button when it is pressed (DialogKey), so there is nothing else
    // to re-evaluate here.
    default_ = v;
    Redraw();
}

void TFlatButton::SetAllowAllUp(bool v) {
    if (allowAllUp_ == v) return;
    allowAllUp_ = v;
    UpdateExclusive();
}

void TFlatButton::SetGroupIndex(int v) {
    if (groupIndex_ == v) return;
    groupIndex_ = v;
    UpdateExclusive();
}

void TFlatButton::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = v;
    // A disabled button stays in the disabled state; enabling it finds Down then.
    if (v) {
        if (state_ == BS::Up) Invalidate();
        if (Enabled()) state_ = BS::Exclusive;
        UpdateExclusive();
    } else {
        if (Enabled()) state_ = BS::Up;
        Redraw();
    }
}

void TFlatButton::UpdateExclusive() {
    if (groupIndex_ == 0 || Parent() == nullptr) return;
    gui::TWinControl* parent = Parent();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        if (auto* other = dynamic_cast<TFlatButton*>(parent->Controls(i))) other->ButtonPressed(this);
    }
}

void TFlatButton::ButtonPressed(TFlatButton* sender) {
    if (sender == this || sender->groupIndex_ != groupIndex_) return;
    if (sender->down_ && down_) {
        down_ = false;
        if (Enabled()) state_ = BS::Up;
        Redraw();
    }
    allowAllUp_ = sender->allowAllUp_;
}

void TFlatButton::SetGlyph(const gfx::TBitmap& glyph) {
    glyph_.Assign(glyph);
    if (!glyph_.Empty() && glyph_.Width() % glyph_.Height() == 0) {
        const int n = glyph_.Width() / glyph_.Height();
        numGlyphs_ = n > 4 ? 1 : n;
    }
    Redraw();
}

void TFlatButton::SetNumGlyphs(int n) {
    n = std::clamp(n, 1, 4);
    if (numGlyphs_ == n) return;
    numGlyphs_ = n;
    Redraw();
}

void TFlatButton::SetLayout(TButtonLayout v) {
    if (layout_ == v) return;
    layout_ = v;
    Redraw();
}

void TFlatButton::SetMargin(int v) {
    if (margin_ == v || v < -1) return;
    margin_ = v;
    Redraw();
}

void TFlatButton::SetSpacing(int v) {
    if (spacing_ == v) return;
    spacing_ = v;
    Redraw();
}

// --- input -------------------------------------------------------------------------------------

void TFlatButton::Click() {
    if (gui::TForm* form = ParentForm()) form->SetModalResult(modalResult_);
    gui::TCustomControl::Click();
}

void TFlatButton::DblClick() {
    if (down_) gui::TCustomControl::DblClick();
}

void TFlatButton::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    gui::TCustomControl::MouseDown(button, shift, x, y);
    if (button != gui::mbLeft || !Enabled()) return;
    if (!down_) {
        state_ = BS::Pressed;
        Redraw();
    }
    press_.Press();  // the second press of a double click clicks too
    if (CanFocus()) SetFocus();
}

void TFlatButton::MouseMove(gui::TShiftState shift, int x, int y) {
    gui::TCustomControl::MouseMove(shift, x, y);
    if (press_.Held()) {
        press_.Move(x, y);
        BS next = down_ ? BS::Exclusive : BS::Up;
        if (press_.Inside()) next = down_ ? BS::Exclusive : BS::Pressed;
        if (next != state_) {
            state_ = next;
            Redraw();
        }
    }
    StartHover();
}

void TFlatButton::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    gui::TCustomControl::MouseUp(button, shift, x, y);
    if (!press_.Held()) return;
    const bool inside = press_.Release(x, y);  // released inside: the click
    if (groupIndex_ == 0) {
        const bool wasInside = track_.inside;
        state_ = BS::Up;
        track_.inside = false;
        // Released outside after the hover look was shown: the look must go too, and the
        // hover group's watch with it.
        if (!inside) track_.Unwatch();
        if (inside || wasInside) Redraw();
    } else if (inside) {
        SetDown(!down_);
        if (down_) Redraw();
    } else {
        if (down_) state_ = BS::Exclusive;
        Redraw();
    }
    if (inside) {
        Click();
    } else {
        track_.End();
    }
    UpdateTracking();
}

void TFlatButton::KeyDown(int& key, gui::TShiftState shift) {
    if (key == gui::VK_SPACE && Enabled()) {
        press_.KeyDown(key);
        if (groupIndex_ != 0) {
            SetDown(true);
        } else {
            state_ = BS::Pressed;
        }
        Redraw();
    }
    gui::TCustomControl::KeyDown(key, shift);
}

void TFlatButton::KeyUp(int& key, gui::TShiftState shift) {
    if (key == gui::VK_SPACE && Enabled()) {
        press_.KeyUp(key);
        if (groupIndex_ != 0) {
            SetDown(false);
        } else {
            state_ = BS::Up;
        }
        Click();
        Redraw();
    }
    gui::TCustomControl::KeyUp(key, shift);
}

bool TFlatButton::DialogChar(char key) {
    if (!IsAccel(key, Caption()) || !Enabled() || !Showing()) return false;
    if (groupIndex_ != 0) SetDown(true);
    Click();
    return true;
}

bool TFlatButton::DialogKey(int key, gui::TShiftState shift) {
    // Enter belongs to the focused push button, or to the default one when the focus is on
    // something else.
    if (key != gui::VK_RETURN || shift != 0 || !CanFocus()) return false;
    if (!gui::TPressTracker::EnterIsFor(this, default_, gui::Screen ? gui::Screen->ActiveControl() : nullptr))
        return false;
    Click();
    return true;
}

void TFlatButton::DoEnter() {
    gui::TCustomControl::DoEnter();
    if (Enabled()) {
        track_.inside = true;
        Redraw();
    }
}

void TFlatButton::DoExit() {
    gui::TCustomControl::DoExit();
    track_.End();
}

void TFlatButton::EnabledChanged() {
    gui::TCustomControl::EnabledChanged();
    if (!Enabled()) {
        state_ = BS::Disabled;
        track_.inside = false;
        press_.Cancel();
        track_.Unwatch();
    } else {
        if (state_ == BS::Disabled) state_ = (down_ && groupIndex_ != 0) ? BS::Exclusive : BS::Up;
        UpdateTracking();
    }
    Redraw();
}

void TFlatButton::TextChanged() {
    gui::TCustomControl::TextChanged();
    Invalidate();
}

void TFlatButton::SetBounds(int left, int top, int width, int height) {
    gui::TCustomControl::SetBounds(left, top, width, height);
    if (transparentMode_ != tmNone) Invalidate();
}

void TFlatButton::Loaded() {
    gui::TCustomControl::Loaded();
    Invalidate();
}

// --- hover -------------------------------------------------------------------------------------

void TFlatButton::StartHover() {
    track_.Start(Enabled());
}

void TFlatButton::UpdateTracking() {
    if (!Enabled()) return;
    const bool over = track_.CursorOver();
    if (over != track_.inside) {
        track_.inside = over;
        Redraw();
    }
}

// --- painting ----------------------------------------------------------------------------------

void TFlatButton::Paint() {
    const TRect client = ClientRect();
    if (client.IsEmpty()) return;
    offscreen_.Paint(Canvas(), client.Width(), client.Height(), [this](gfx::TCanvas& c) { PaintButton(c); });
}

void TFlatButton::PaintButton(gfx::TCanvas& canvas) {
    const TRect client = ClientRect();
    canvas.SetFont(Font());

    // Background.
    const bool parentImage =
        transparentMode_ == tmAlways || (transparentMode_ == tmNotFocused && !track_.inside);
    if (parentImage) {
        DrawParentImage(this, canvas);
    } else {
        TColor face = Color();
        switch (state_) {
            case BS::Up:
                face = track_.inside ? ColorFocused() : Color();
                break;
            case BS::Disabled:
                face = Color();
                break;
            case BS::Pressed:
                face = ColorDown();
                break;
            case BS::Exclusive:
                face = track_.inside ? ColorFocused() : ColorDown();
                break;
        }
        canvas.Brush().SetColor(face);
        canvas.FillRect(client);
    }

    // Frame.
    switch (state_) {
        case BS::Up:
            if (track_.inside) {
                DrawBevel(canvas, client, ColorHighLight(), 1, ColorShadow());
            } else {
                DrawFrame(canvas, client, ColorBorder(), default_ ? 2 : 1);
            }
            break;
        case BS::Disabled:
            DrawFrame(canvas, client, ColorBorder(), 1);
            break;
        case BS::Pressed:
        case BS::Exclusive:
            DrawBevel(canvas, client, ColorShadow(), 1, ColorHighLight());
            break;
    }

    // Glyph and caption.
    const gfx::TPoint offset =
        (state_ == BS::Pressed || state_ == BS::Exclusive) ? gfx::TPoint{1, 1} : gfx::TPoint{0, 0};
    gfx::TSize glyphSize{};
    if (!glyph_.Empty()) glyphSize = {glyph_.Width() / numGlyphs_, glyph_.Height()};
    gfx::TSize textSize{};
    if (!Caption().empty()) {
        TRect measure{0, 0, client.Width(), 0};
        canvas.DrawText(Caption(), measure, gfx::DT_CALCRECT | gfx::DT_SINGLELINE);
        textSize = {measure.Width(), measure.Height()};
    }
    const TButtonLayoutResult layout =
        CalcButtonLayout(client, offset, layout_, margin_, spacing_, glyphSize, textSize);

    if (!glyph_.Empty() && glyphSize.cx > 0) {
        // Image per state for 1..4 images: up, disabled, pressed, exclusive.
        static constexpr int kImage[4][4] = {
            {0, 0, 0, 0},  // 1 image (disabled: drawn embossed)
            {0, 1, 0, 0},
            {0, 1, 2, 2},
            {0, 1, 2, 3},
        };
        const int image = kImage[numGlyphs_ - 1][int(state_)];
        gfx::TBitmap part(glyphSize.cx, glyphSize.cy);
        part.Canvas().BitBlt(0, 0, glyphSize.cx, glyphSize.cy, glyph_, image * glyphSize.cx, 0, gfx::SRCCOPY);
        // The strip's bottom-left pixel is the see-through colour of every image; the
        // embossed image has its own background there.
        TColor key = glyph_.Pixel(0, glyph_.Height() - 1);
        if (numGlyphs_ == 1 && state_ == BS::Disabled) {
            part = CreateDisabledGlyph(part);
            key = part.Pixel(0, part.Height() - 1);
        }
        canvas.TransparentCopy(layout.GlyphPos.X, layout.GlyphPos.Y, glyphSize.cx, glyphSize.cy, part, 0, 0,
                               key);
    }

    if (!Caption().empty()) {
        DrawFlatText(canvas, Caption(), layout.TextBounds,
                     gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE, state_ != BS::Disabled,
                     Font().Color());
    }
}

}  // namespace flat
