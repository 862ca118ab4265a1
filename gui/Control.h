#pragma once
// TControl: anything with a place on a form. It has a parent (a TWinControl), bounds in the
// parent's client coordinates, look properties that can follow the parent (colour, font, hint),
// and the mouse handling of the framework:
//
//   event                  virtual handler        public event        notes
//   press                  MouseDown              OnMouseDown         captures the mouse (csCaptureMouse)
//   move                   MouseMove              OnMouseMove         to the captured control while held
//   left release inside    Click                  OnClick             before MouseUp (csClickEvents)
//   release                MouseUp                OnMouseUp           ends the capture
//   second press in time   DblClick, MouseDown    OnDblClick, ...     MouseDown gets ssDouble; the release
//                                                                     after it raises no Click
//   pointer arrives/goes   MouseEnter/MouseLeave  OnMouseEnter/Leave  only the deepest control under it
//   wheel                  DoMouseWheel           OnMouseWheel        focused control, then its parents
//
// Without csDoubleClicks a quick second press is an ordinary press (and click).
//
// Painting: Invalidate() marks the control's area; the loop paints it when idle. Repaint() paints
// the area at once (background, the control, what lies above it) and shows it. PaintNow() runs
// only this control's Paint() at once on its surface, without erasing, and shows it — the "paint
// routine called directly" of controls whose setters repaint immediately.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Types.h"
#include "gui/Component.h"
#include "gui/Consts.h"
#include "gui/Keys.h"

namespace gui {

using gfx::TCanvas;
using gfx::TColor;
using gfx::TFont;
using gfx::TPoint;
using gfx::TRect;

class TWinControl;
class TForm;
class TFormHost;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

using TControlStyle = std::uint32_t;
enum : TControlStyle {
    csAcceptsControls = 1u << 0,  // may be a parent at design time (informational)
    csCaptureMouse = 1u << 1,     // a press captures the mouse until release
    csClickEvents = 1u << 2,      // a left press and release inside raise Click
    csDoubleClicks = 1u << 3,     // a quick second press raises DblClick
    csOpaque = 1u << 4,           // paints its whole area: nothing behind it needs painting
    csNoStdEvents = 1u << 5,      // the OnMouse*/OnClick events are not raised
};

using TControlState = std::uint32_t;
enum : TControlState {
    csLButtonDown = 1u << 0,
    csClicked = 1u << 1,
    csPainting = 1u << 2,
    csFocusing = 1u << 3,
};

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
using TMouseWheelEvent = std::function<void(TComponent* sender, TShiftState shift, int wheelDelta,
                                            TPoint mousePos, bool& handled)>;
using TKeyEvent = std::function<void(TComponent* sender, int& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TComponent* sender, char& key)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Parent and position.
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    TForm* ParentForm() const;    // the form the control is on (itself for a form)
    TFormHost* FormHost() const;  // the same form, as the core sees it
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const;  // in the parent's client coordinates
    // How far outside its bounds the focus mark lies: text that starts at the control's edge
    // stays readable under it. 0: the mark lies on the control's own edge.
    virtual int FocusMarkOutset() const { return 0; }
    virtual TRect ClientRect() const;  // 0,0,Width,Height
    int ClientWidth() const { return ClientRect().Right - ClientRect().Left; }
    int ClientHeight() const { return ClientRect().Bottom - ClientRect().Top; }
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    TPoint ClientToForm(TPoint p) const;  // client point -> the form's client coordinates
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    // Look.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Showing() const;  // visible, and every parent up to a shown form too
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    bool EnabledChain() const;  // enabled, and every parent too
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont& Font() { return *font_; }
    const TFont& Font() const { return *font_; }
    void SetFont(const TFont& font);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool v);
    const std::string& Caption() const { return caption_; }  // also the control's "Text"
    void SetCaption(std::string caption);
    const std::string& Text() const { return caption_; }
    void SetText(std::string text) { SetCaption(std::move(text)); }

    TControlStyle ControlStyle() const { return style_; }
    void SetControlStyle(TControlStyle style) { style_ = style; }
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState s) { controlState_ = s; }
    bool MouseInside() const { return mouseInside_; }  // the pointer is over this control

    // Z-order among the parent's children.
    void BringToFront();
    void SendToBack();

    // Painting.
    void Invalidate();
    void InvalidateRect(const TRect& clientRect);
    void Update();    // paint what is invalid on this control's form now
    void Repaint();   // paint this control's area now (with what is behind and above it) and show it
    void PaintNow();  // run this control's Paint() now on its surface, no erase, and show it
    // Draw the parent's image (background, its Paint, the graphic siblings below this control)
    // into canvas so that the part behind this control lands at offset.
    void PaintParentInto(TCanvas& canvas, TPoint offset = {0, 0});
    // The canvas Paint() draws on (windowless and custom controls); nullptr for others.
    virtual TCanvas* ControlCanvas() { return nullptr; }

    // Events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnResize;

    // The framework's entry points (also usable to simulate input).
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Returns true when the wheel was used; otherwise it goes to the parent.
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    // Alt+key or a key no one else took: true when this control's "&" accelerator is key.
    virtual bool DialogChar(char key);
    // Enter/Escape offered to every control of the form before the default handling.
    virtual bool DialogKey(int key, TShiftState shift);
    // A left press at client x,y starts dragging the window (skins answer true).
    virtual bool StartsWindowDrag(int x, int y) const;
    // Counts as a push button for Enter (a focused push button takes Enter itself).
    virtual bool IsPushButton() const { return false; }
    virtual bool IsWinControl() const { return false; }

    // The hint this control would show (own hint; empty when ShowHint is off).
    bool HintEnabled() const;

protected:
    friend class TWinControl;
    friend class TForm;
    friend class TApplication;
    friend class TPointerRouter;

    virtual void Paint() {}
    virtual void Resize();
    virtual void VisibleChanged() {}
    virtual void EnabledChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void TextChanged();
    virtual void ParentColorChanged();
    virtual void ParentFontChanged();
    virtual void ParentShowHintChanged();
    virtual void CursorChanged();

    // Framework painting: draw this control (and, for windowed ones, its children) on canvas.
    // origin = where the control's client 0,0 lies on canvas's bitmap; clip = bitmap pixels.
    virtual void PaintAt(TCanvas& canvas, TPoint origin, const TRect& clip);
    // Run Paint() with Canvas() set up on canvas's bitmap at origin, clipped to clip.
    void RunPaint(TCanvas& canvas, TPoint origin, const TRect& clip);
    virtual bool HasCanvas() const { return false; }
    TCanvas& SurfaceCanvas();
    void EnsureOwnCanvas(gfx::TBitmap& target);
    // The parts of VisibleFormRect() not covered by windowed controls above this one.
    void VisibleRegion(std::vector<TRect>& region) const;
    // This control's area in form coordinates, clipped by its parents' client areas.
    TRect VisibleFormRect() const;

    TRect FormRectOf(const TRect& clientRect) const;
    void RequestAlign();
    // A top-level window answers itself (TForm); the core reaches its form only through this.
    virtual TFormHost* AsFormHost() const { return nullptr; }
    const TControl* Root() const;  // the topmost parent (the form, when on one)

private:
    void FontOnChange();

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    TCursor cursor_ = crDefault;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    std::string caption_;
    TControlStyle style_ = csCaptureMouse | csClickEvents | csDoubleClicks;
    TControlState controlState_ = 0;
    bool mouseInside_ = false;
    bool fontFromParent_ = false;
    std::unique_ptr<TCanvas> ownCanvas_;  // on the form's back buffer (or scratch_ off a form)
    std::unique_ptr<gfx::TBitmap> scratch_;
    TCanvas* paintCanvas_ = nullptr;  // the surface while Paint() runs
};

}  // namespace gui
