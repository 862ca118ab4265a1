#include "gui/Form.h"

#include <algorithm>

#include "gui/Application.h"
#include "gui/Screen.h"

namespace gui {

TForm::TForm(TComponent* owner)
    : TCustomControl(owner),
      backBuffer_(std::make_unique<gfx::TBitmap>(1, 1, gfx::pf32bit)),
      formCanvas_(std::make_unique<TCanvas>(*backBuffer_)) {
    visible_ = false;  // a form appears only when shown
    width_ = 320;
    height_ = 240;
    SetColor(gfx::clBtnFace);
    SetParentFont(false);
    SetParentColor(false);
    SetShowHint(false);
    SetParentShowHint(false);
    if (Application) Application->RegisterForm(this);
}

TForm::~TForm() {
    MarkDestroying();
    if (OnDestroy) {
        try {
            FireEvent(OnDestroy, this);
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    if (Application) {
        if (modal_) Application->LeaveModal(this);
        Application->UnregisterForm(this);
    }
    // Children go while the form is still whole (their destructors look for their form).
    DestroyControls();
    if (handle_ && Application) Application->TheBackend().DestroyWindow(handle_);
    handle_ = 0;
}

void TForm::SetParent(TWinControl*) {}

// ---- window properties -----------------------------------------------------------------------

WindowParams TForm::MakeWindowParams() const {
    WindowParams p;
    p.bounds = gfx::Bounds(left_, top_, width_, height_);
    p.caption = Caption();
    p.frameless = borderStyle_ == bsNone;
    p.dialogFrame = borderStyle_ == bsDialog || borderStyle_ == bsSingle || borderStyle_ == bsToolWindow;
    p.topmost = formStyle_ == fsStayOnTop || IsPopup();
    p.popup = IsPopup();
    p.minimizeBox = (borderIcons_ & biSystemMenu) && (borderIcons_ & biMinimize) && borderStyle_ != bsDialog;
    p.maximizeBox =
        (borderIcons_ & biSystemMenu) && (borderIcons_ & biMaximize) && borderStyle_ == bsSizeable;
    return p;
}

WindowHandle TForm::HandleNeeded() {
    if (!handle_ && Application) {
        handle_ = Application->TheBackend().CreateWindow(MakeWindowParams());
        if (!region_.empty()) Application->TheBackend().SetWindowShape(handle_, region_);
    }
    return handle_;
}

void TForm::SetBorderStyle(TFormBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    // The frame is fixed when the window is made; a change afterwards makes it anew.
    if (handle_ && Application) {
        Backend& b = Application->TheBackend();
        b.DestroyWindow(handle_);
        handle_ = 0;
        if (windowShown_) {
            HandleNeeded();
            b.ShowWindow(handle_, true);
            Present(ClientRect());
        }
    }
}

void TForm::SetBorderIcons(TBorderIcons v) {
    borderIcons_ = v;
}

void TForm::SetFormStyle(TFormStyle v) {
    if (v == formStyle_) return;
    formStyle_ = v;
    if (handle_ && Application) Application->TheBackend().SetWindowTopmost(handle_, v == fsStayOnTop);
}

void TForm::SetWindowState(TWindowState v) {
    if (v == windowState_) return;
    windowState_ = v;
    if (!handle_ || !windowShown_ || !Application) return;
    Backend& b = Application->TheBackend();
    switch (v) {
        case wsMaximized:
            b.MaximizeWindow(handle_);
            break;
        case wsMinimized:
            b.MinimizeWindow(handle_);
            break;
        case wsNormal:
            b.RestoreWindow(handle_);
            break;
    }
}

void TForm::SetWindowRegion(std::vector<TRect> region) {
    region_ = std::move(region);
    if (handle_ && Application) Application->TheBackend().SetWindowShape(handle_, region_);
}

void TForm::StartWindowDrag() {
    if (!Application || !handle_) return;
    Application->SetCaptureControl(nullptr);
    Application->TheBackend().BeginWindowDrag(handle_);
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    bool resized = width != width_ || height != height_;
    bool moved = left != left_ || top != top_;
    if (!resized && !moved) return;
    left_ = left;
    top_ = top;
    if (resized) {
        width_ = width;
        height_ = height;
        if (windowShown_) SizeBackBuffer();
        dirty_.clear();
        InvalidateFormRect(ClientRect());
    }
    if (handle_ && Application)
        Application->TheBackend().SetWindowBounds(handle_, gfx::Bounds(left, top, width, height));
    if (resized) {
        Realign();
        Resize();
    }
}

void TForm::WindowMoved(int screenLeft, int screenTop) {
    left_ = screenLeft;
    top_ = screenTop;
}

void TForm::TextChanged() {
    if (handle_ && Application) Application->TheBackend().SetWindowCaption(handle_, Caption());
}

void TForm::Notification(TComponent* c, TOperation op) {
    if (op == opRemove && c == activeControl_) activeControl_ = nullptr;
    if (op == opRemove && c == focusGraphic_) focusGraphic_ = nullptr;
    TCustomControl::Notification(c, op);
}

// ---- focus ------------------------------------------------------------------------------------

void TForm::SetActiveControl(TWinControl* c) {
    if (c && focusGraphic_) {
        focusGraphic_->Invalidate();
        focusGraphic_ = nullptr;
    }
    if (c == activeControl_) return;
    if (c && (!ContainsControl(c) || c == this)) return;
    TWinControl* old = activeControl_;
    activeControl_ = c;
    if (old) {
        old->DoExit();
        old->Invalidate();
    }
    if (Freeing()) return;
    if (c && !c->Freeing() && activeControl_ == c) {
        c->DoEnter();
        c->Invalidate();
    }
    if (!Freeing() && handle_ && Application) {
        Backend& b = Application->TheBackend();
        if (activeControl_ && activeControl_->WantsChars())
            b.StartTextInput(handle_);
        else
            b.StopTextInput(handle_);
    }
}

void TForm::FocusControl(TControl* c) {
    if (c && c->IsWinControl()) {
        static_cast<TWinControl*>(c)->SetFocus();
        return;
    }
    if (c == focusGraphic_ || (c && (c == this || !ContainsControl(c)))) return;
    if (focusGraphic_) focusGraphic_->Invalidate();
    SetActiveControl(nullptr);
    focusGraphic_ = c;
    if (c) c->Invalidate();
}

void TForm::SetFocusMarkShown(bool v) {
    if (v == markShown_) return;
    markShown_ = v;
    if (!focusMarks_) return;
    if (TControl* c = FocusedControl()) c->Invalidate();
}

TControl* TForm::PointerAt(TPoint p, bool press, TPoint& local) {
    if (press) SetFocusMarkShown(false);
    return DeepestControlAt(p, false, &local);
}

void TForm::PreviewKeyDown(int& key, TShiftState shift) {
    KeyboardUsed(key);
    if (keyPreview_) KeyDown(key, shift);
}

void TForm::KeyboardUsed(int key) {
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return;
    const bool typing = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') ||
                        (key >= VK_NUMPAD0 && key <= VK_DIVIDE) || key == VK_SPACE || key == VK_BACK ||
                        key == VK_DELETE;
    if (typing && activeControl_ && activeControl_->WantsChars()) return;
    SetFocusMarkShown(true);
}

namespace {

// Dark outside, amber inside: one of the two stands out on every part of the skin.
void DrawFocusFrame(TCanvas& canvas, const TRect& r) {
    canvas.Brush().SetStyle(gfx::bsSolid);
    canvas.Brush().SetColor(gfx::RGB(16, 16, 24));
    canvas.FrameRect(r);
    canvas.Brush().SetColor(gfx::RGB(255, 184, 28));
    canvas.FrameRect(gfx::Inflate(r, -1, -1));
}

}  // namespace

void TForm::PaintFocusMark(const TControl* c, TCanvas& canvas, TPoint origin, const TRect& clip) const {
    if (!FocusMarkShown() || c != FocusedControl() || c->Width() < 4 || c->Height() < 4) return;
    if (c->FocusMarkOutset() > 0) return;  // over everything, by PaintOutsetFocusMark
    if (focusGraphic_ ? !c->Showing() : !active_) return;
    int level = canvas.SaveState();
    canvas.SetOrigin(origin);
    canvas.SetClipRect(gfx::Offset(clip, -origin.X, -origin.Y));
    DrawFocusFrame(canvas, {0, 0, c->Width(), c->Height()});
    canvas.RestoreState(level);
}

TRect TForm::OutsetFocusRing() const {
    const TControl* c = FocusedControl();
    if (!FocusMarkShown() || !c || c->FocusMarkOutset() <= 0 || !c->Showing()) return {};
    if (!focusGraphic_ && !active_) return {};
    const int o = c->FocusMarkOutset();
    const TPoint at = c->ClientToForm({0, 0});
    return gfx::Bounds(at.X - o, at.Y - o, c->Width() + 2 * o, c->Height() + 2 * o);
}

void TForm::PaintOutsetFocusMark(const TRect& dirty) {
    const TRect ring = OutsetFocusRing();
    const TRect clip = gfx::Intersect(gfx::Intersect(dirty, ring), ClientRect());
    if (clip.IsEmpty()) return;
    int level = formCanvas_->SaveState();
    formCanvas_->SetOrigin({0, 0});
    formCanvas_->SetClipRect(clip);
    DrawFocusFrame(*formCanvas_, ring);
    formCanvas_->RestoreState(level);
}

void TForm::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

void TForm::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (active) {
        if (!activeControl_ && !focusGraphic_) {
            if (TWinControl* first = FindNextControl(nullptr, true, true)) SetActiveControl(first);
        }
        if (!Freeing()) FireEvent(OnActivate, this);
    } else {
        FireEvent(OnDeactivate, this);
    }
    if (!Freeing() && activeControl_) {
        activeControl_->FormActiveChanged();
        activeControl_->Invalidate();
    }
}

// ---- showing and closing ----------------------------------------------------------------------

void TForm::Show() {
    SetVisible(true);
    if (handle_ && Application && windowShown_ && !IsPopup()) {
        Application->TheBackend().RaiseWindow(handle_);
        Application->SetActiveForm(this);
    }
}

void TForm::Hide() {
    SetVisible(false);
}

void TForm::ApplyPosition() {
    if (positioned_) return;
    positioned_ = true;
    int sw = Screen ? Screen->Width() : 1024;
    int sh = Screen ? Screen->Height() : 768;
    switch (position_) {
        case poScreenCenter:
        case poDesktopCenter:
            left_ = (sw - width_) / 2;
            top_ = (sh - height_) / 2;
            break;
        case poMainFormCenter:
        case poOwnerFormCenter: {
            TForm* main = Application ? Application->MainForm() : nullptr;
            if (main && main != this) {
                left_ = main->Left() + (main->Width() - width_) / 2;
                top_ = main->Top() + (main->Height() - height_) / 2;
            } else {
                left_ = (sw - width_) / 2;
                top_ = (sh - height_) / 2;
            }
            break;
        }
        case poDesigned:
        case poDefault:
            break;
    }
}

void TForm::VisibleChanged() {
    if (!Application) return;
    Backend& b = Application->TheBackend();
    if (Visible()) {
        // A window opened from the keyboard marks its focus at once; one opened by mouse does not.
        if (TForm* from = Application->ActiveForm(); from && from != this && !IsPopup())
            markShown_ = from->markShown_;
        ApplyPosition();
        DoShow();
        if (Freeing() || !Visible()) return;
        HandleNeeded();
        b.SetWindowBounds(handle_, gfx::Bounds(left_, top_, width_, height_));
        SizeBackBuffer();
        dirty_.clear();
        PaintAt(*formCanvas_, {0, 0}, ClientRect());
        if (Freeing()) return;
        b.ShowWindow(handle_, true);
        windowShown_ = true;
        b.Present(handle_, *backBuffer_, ClientRect());
        if (windowState_ == wsMaximized) b.MaximizeWindow(handle_);
        if (windowState_ == wsMinimized) b.MinimizeWindow(handle_);
        if (!IsPopup()) Application->SetActiveForm(this);
    } else {
        if (handle_ && windowShown_) b.ShowWindow(handle_, false);
        windowShown_ = false;
        Application->CancelHint();
        Application->ActivateNext(this);
        DoHide();
    }
}

double TForm::PixelScale() const {
    return Application ? Application->TheBackend().Scale() : 1.0;
}

void TForm::ScaleChanged() {
    if (windowShown_) SizeBackBuffer();
    Invalidate();
}

// Forms that are never shown (most dialogs, the full-screen viewer) never hold a buffer of their size.
void TForm::SizeBackBuffer() {
    backBuffer_->SetScaledSize(std::max(width_, 1), std::max(height_, 1), PixelScale());
}

void TForm::DoShow() {
    FireEvent(OnShow, this);
}

void TForm::DoHide() {
    FireEvent(OnHide, this);
}

void TForm::DoClose(TCloseAction& action) {
    FireEvent(OnClose, this, action);
}

bool TForm::CloseQuery() {
    bool canClose = true;
    FireEvent(OnCloseQuery, this, canClose);
    return canClose;
}

void TForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery() || Freeing()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (Freeing() || action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
        case caHide:
            Hide();
            break;
        case caMinimize:
            SetWindowState(wsMinimized);
            break;
        case caFree:
            Release();
            break;
        case caNone:
            break;
    }
}

TModalResult TForm::ShowModal() {
    if (!Application) return mrCancel;
    Application->CancelHint();
    Application->SetCaptureControl(nullptr);
    // A form freed by one of its handlers stays until this returns, and then answers mrCancel.
    TDispatchScope scope;
    modal_ = true;
    modalResult_ = mrNone;
    Application->EnterModal(this);
    TModalResult result = mrCancel;
    try {
        Show();
        while (!Freeing()) {
            Application->ModalLoop(this);
            if (Freeing()) break;
            if (Application->Terminated() && !modalResult_) modalResult_ = mrCancel;
            // The modal result closes the form unless OnCloseQuery/OnClose refuse.
            bool canClose = CloseQuery();
            if (Freeing()) break;
            TCloseAction action = caHide;
            if (canClose) DoClose(action);
            if (Freeing()) break;
            if ((canClose && action != caNone) || Application->Terminated()) {
                if (action == caFree) Release();
                result = modalResult_;
                Hide();
                break;
            }
            modalResult_ = mrNone;
        }
    } catch (...) {
        modal_ = false;
        Application->LeaveModal(this);
        if (!Freeing()) Hide();
        throw;
    }
    modal_ = false;
    Application->LeaveModal(this);
    return result;
}

void TForm::Release() {
    if (Application) Application->ScheduleRelease(this);
}

void TForm::DoCreate() {
    if (!OnCreate) return;
    try {
        FireEvent(OnCreate, this);
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

// ---- painting ---------------------------------------------------------------------------------

void TForm::InvalidateFormRect(const TRect& r) {
    TRect c = gfx::Intersect(r, ClientRect());
    if (c.IsEmpty()) return;
    for (TRect& d : dirty_) {
        TRect overlap = gfx::Intersect(d, c);
        if (!overlap.IsEmpty() || gfx::Intersect(gfx::Inflate(d, 1, 1), c).Width() > 0) {
            // Touching or overlapping: one rectangle is cheaper than two.
            if (overlap == c) return;
            d = gfx::UnionRect(d, c);
            return;
        }
    }
    dirty_.push_back(c);
    if (dirty_.size() > 16) {
        TRect all{};
        for (const TRect& d : dirty_) all = gfx::UnionRect(all, d);
        dirty_.assign(1, all);
    }
}

void TForm::PaintInvalid() {
    if (!windowShown_ || !Visible()) {
        dirty_.clear();  // the whole form paints when it is shown
        unshown_ = {};
        return;
    }
    if (!unshown_.IsEmpty()) {
        TRect r = unshown_;
        unshown_ = {};
        Present(r);
    }
    // A mark outside its control is nobody's to repaint when it moves or goes: the form is.
    if (const TRect ring = OutsetFocusRing(); ring != outsetRing_) {
        if (!outsetRing_.IsEmpty()) InvalidateFormRect(outsetRing_);
        if (!ring.IsEmpty()) InvalidateFormRect(ring);
        outsetRing_ = ring;
    }
    if (dirty_.empty()) return;
    std::vector<TRect> rects;
    rects.swap(dirty_);
    TDispatchScope scope;
    for (const TRect& r : rects) {
        PaintAt(*formCanvas_, {0, 0}, r);
        PaintOutsetFocusMark(r);
    }
    for (const TRect& r : rects) Present(r);
}

void TForm::PaintFormRect(const TRect& r) {
    TRect c = gfx::Intersect(r, ClientRect());
    if (c.IsEmpty() || !windowShown_) return;
    // Invalid areas inside r are painted now too.
    dirty_.erase(std::remove_if(dirty_.begin(), dirty_.end(),
                                [&](const TRect& d) { return gfx::Intersect(d, c) == d; }),
                 dirty_.end());
    TDispatchScope scope;
    PaintAt(*formCanvas_, {0, 0}, c);
    PaintOutsetFocusMark(c);
    Present(c);
}

void TForm::Present(const TRect& r) {
    TRect c = gfx::Intersect(r, ClientRect());
    if (c.IsEmpty() || !handle_ || !windowShown_ || !Application) return;
    Application->TheBackend().Present(handle_, *backBuffer_, c);
}

void TForm::EraseBackground(TCanvas& canvas) {
    TWinControl::EraseBackground(canvas);
}

void TForm::Paint() {
    FireEvent(OnPaint, this);
}

}  // namespace gui
