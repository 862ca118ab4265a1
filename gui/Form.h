#pragma once
// TForm: a top-level window. It owns a back buffer the size of its client area into which all its
// controls paint; invalid areas are painted and shown when the loop is idle. Width and Height are
// the client size (the window system draws any frame outside it).
//
// A form is hidden until Show() or ShowModal(). ShowModal() disables the other windows and runs
// a nested loop until ModalResult becomes non-zero (Close() sets mrCancel) and returns it.
// Close() asks OnClose for the action (hide by default; caFree destroys the form later, when the
// loop is idle); closing the main form ends the application.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/Bitmap.h"
#include "gui/CustomControl.h"
#include "gui/Host.h"
#include "gui/backend/Backend.h"

namespace gui {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderIcons = std::uint32_t;
enum : TBorderIcons { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TPosition {
    poDesigned,
    poDefault,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;

class TForm : public TCustomControl, public TFormHost {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // Device pixels per logical pixel of the window (the desktop's factor): pictures made for it
    // may be made at that size.
    double PixelScale() const;
    // The backend's scale changed: a back buffer at the new one, painted anew.
    void ScaleChanged();

    // Window properties.
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons v);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition v) { position_ = v; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle v);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState v);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }
    void SetClientWidth(int w) { SetWidth(w); }
    void SetClientHeight(int h) { SetHeight(h); }
    // Outline of the window as a union of client rectangles; empty = rectangular.
    void SetWindowRegion(std::vector<TRect> region);
    const std::vector<TRect>& WindowRegion() const { return region_; }
    // Call from a left-button press: the user moves the window until the button is released
    // (the release is not delivered). Releases the mouse capture.
    void StartWindowDrag();

    // Focus.
    TWinControl* ActiveControl() const override { return activeControl_; }
    void SetActiveControl(TWinControl* c) override;
    // Move the focus in tab order (Tab / Shift+Tab).
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);
    // Keyboard focus that may also rest on a windowless control (a skin button, a link): while
    // one holds it no windowed control is active, and the form's own key handlers act for it;
    // Enter or Space clicks it. FocusedControl() is that control, else the active one.
    TControl* FocusedControl() const { return focusGraphic_ ? focusGraphic_ : activeControl_; }
    void FocusControl(TControl* c);
    // The focus mark: a frame the framework draws on the focused control of a form that asks for
    // it, shown from the first key press until the next mouse press (as desktops do), so that
    // pages used by mouse alone look exactly as they would without it.
    bool FocusMarks() const { return focusMarks_; }
    void SetFocusMarks(bool v) { focusMarks_ = v; }
    bool FocusMarkShown() const { return focusMarks_ && markShown_; }
    void SetFocusMarkShown(bool v);
    // A key went down in this form: shows the mark, except for keys that only edit the text of a
    // focused text field, so that typing a search term leaves the dialog looking as it did.
    void KeyboardUsed(int key);
    // A pointer event at p (client coordinates): a press hides the mark. Answers the control under
    // p and, in local, p in that control's client coordinates.
    TControl* PointerAt(TPoint p, bool press, TPoint& local);
    // A key went down: the mark shows (KeyboardUsed) and, with KeyPreview, the form's own
    // KeyDown sees the key first.
    void PreviewKeyDown(int& key, TShiftState shift);
    // Draws the mark when c is the marked control (the painting of controls calls it).
    void PaintFocusMark(const TControl* c, TCanvas& canvas, TPoint origin, const TRect& clip) const override;
    // The mark of a control that has it outside its bounds, painted over everything in dirty.
    void PaintOutsetFocusMark(const TRect& dirty);
    bool Active() const override { return active_; }

    // Showing and closing.
    void Show();
    void Hide();
    void Close();
    TModalResult ShowModal();
    bool Modal() const { return modal_; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    // Destroy the form once the events being handled now are done.
    void Release();
    bool CloseQuery();

    TNotifyEvent OnCreate;  // run by TApplication::CreateForm once the form is built
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;  // after the form's own background, before its children

    // The framework's side.
    WindowHandle Handle() const override { return handle_; }
    WindowHandle HandleNeeded();
    // The form's pixels; of the client area's size once the form has been shown.
    gfx::TBitmap& BackBuffer() override { return *backBuffer_; }
    // Mark/paint: rectangles in client coordinates.
    void InvalidateFormRect(const TRect& r) override;
    bool HasInvalid() const { return !dirty_.empty() || !unshown_.IsEmpty(); }
    // Pixels drawn straight into the back buffer (a control's Canvas outside Paint): shown when
    // the loop is idle, without painting anything again.
    void MarkDrawn(const TRect& r) override {
        unshown_ = gfx::UnionRect(unshown_, gfx::Intersect(r, ClientRect()));
    }
    void PaintInvalid() override;                 // paint and present everything invalid
    void PaintFormRect(const TRect& r) override;  // paint r now (all layers) and present it
    void Present(const TRect& r) override;
    TCanvas& FormCanvas() override { return *formCanvas_; }
    TForm* Form() override { return this; }
    void DoCreate();
    void SetActive(bool active);                                           // the window became (in)active
    void WindowMoved(int screenLeft, int screenTop);                       // the user moved it
    void WindowStateChanged(TWindowState state) { windowState_ = state; }  // the user changed it
    // Popup windows (hints) are never activated and take no focus.
    virtual bool IsPopup() const { return false; }

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;  // forms stay top-level; ignored

protected:
    TFormHost* AsFormHost() const override { return const_cast<TForm*>(this); }
    void VisibleChanged() override;
    void TextChanged() override;
    void EraseBackground(TCanvas& canvas) override;
    void Paint() override;
    void Notification(TComponent* c, TOperation op) override;
    void DoShow();
    void DoHide();
    virtual void DoClose(TCloseAction& action);
    WindowParams MakeWindowParams() const;
    void ApplyPosition();
    void SizeBackBuffer();

private:
    // Where the focused control's mark lies outside it, in form coordinates; empty when not.
    TRect OutsetFocusRing() const;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    bool keyPreview_ = false;
    std::vector<TRect> region_;
    TWinControl* activeControl_ = nullptr;
    TControl* focusGraphic_ = nullptr;
    bool focusMarks_ = false;
    bool markShown_ = false;
    TRect outsetRing_{};  // the outside mark as last painted
    bool active_ = false;
    bool modal_ = false;
    TModalResult modalResult_ = mrNone;
    WindowHandle handle_ = 0;
    bool windowShown_ = false;
    bool positioned_ = false;
    std::unique_ptr<gfx::TBitmap> backBuffer_;
    std::unique_ptr<TCanvas> formCanvas_;
    std::vector<TRect> dirty_;
    TRect unshown_{};
};

}  // namespace gui
