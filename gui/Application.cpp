// The application object and its message loop.
//
//  1. construction and forms
//  2. the loop: HandleMessage, ProcessMessages, idle work, modal loops
//  3. dispatch: mouse (capture, click, double click, enter/leave, wheel), keys, text
//  4. exceptions and message boxes
//  5. hints
//  6. Synchronize
#include "gui/Application.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "gfx/Font.h"
#include "gui/Form.h"
#include "gui/HintWindow.h"
#include "gui/MessageForm.h"
#include "gui/Screen.h"
#include "gui/Timer.h"

namespace gui {

TApplication* Application = nullptr;

namespace {

// The controls of a form that can take a dialog key or an accelerator: the visible, enabled ones
// whose containers are visible and enabled too.
std::vector<TControl*> DialogControls(TForm* form) {
    std::vector<TControl*> all;
    std::vector<TWinControl*> stack{form};
    while (!stack.empty()) {
        TWinControl* w = stack.back();
        stack.pop_back();
        for (int i = 0; i < w->ControlCount(); ++i) {
            TControl* c = w->Controls(i);
            if (!c->Visible() || !c->Enabled()) continue;
            all.push_back(c);
            if (c->IsWinControl()) stack.push_back(static_cast<TWinControl*>(c));
        }
    }
    return all;
}

bool IsInside(const TControl* c, const TControl* container) {
    for (; c; c = c->Parent())
        if (c == container) return true;
    return false;
}

}  // namespace

// ---- 1. construction and forms ----------------------------------------------------------------

TApplication::TApplication(std::unique_ptr<gui::Backend> backend)
    : TComponent(nullptr), backend_(std::move(backend)), screen_(std::make_unique<TScreen>()) {
    Application = this;
    Screen = screen_.get();
    guiThread_ = std::this_thread::get_id();
    backend_->SetHost(this);
    DesktopSettings s = backend_->Settings();
    hintPause_ = s.hintPause;
    hintShortPause_ = s.hintShortPause;
    hintHidePause_ = s.hintHidePause;
    hintColor_ = gfx::clInfoBk;
    gfx::SetFontSmoothing(s.fontSmoothing);
}

TApplication::~TApplication() {
    MarkDestroying();
    terminated_ = true;
    // Forms and everything else owned go while Application still answers.
    while (ComponentCount() > 0) {
        TComponent* c = Components(ComponentCount() - 1);
        delete c;
    }
    {
        std::lock_guard<std::mutex> lock(syncMutex_);
        for (SyncCall* call : syncQueue_) call->done = true;
        syncQueue_.clear();
    }
    syncDone_.notify_all();
    backend_->SetHost(nullptr);
    Screen = nullptr;
    screen_.reset();
    backend_.reset();
    Application = nullptr;
}

void TApplication::FormCreated(TForm* form) {
    WeakOf<TForm> alive(form);
    if (!mainForm_ && !form->IsPopup()) mainForm_ = form;
    form->DoCreate();
    (void)alive;
}

void TApplication::RegisterForm(TForm* f) {
    forms_.push_back(f);
}

void TApplication::UnregisterForm(TForm* f) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), f), modalStack_.end());
    if (f == hintWindow_) hintWindow_ = nullptr;
    activation_.erase(std::remove(activation_.begin(), activation_.end(), f), activation_.end());
    if (f == activeForm_) {
        activeForm_ = nullptr;
        if (!Destroying()) {
            for (auto it = activation_.rbegin(); it != activation_.rend(); ++it)
                if ((*it)->Visible() && !(*it)->IsPopup()) {
                    SetActiveForm(*it);
                    break;
                }
        }
    }
    if (f == dragForm_) dragForm_ = nullptr;
    if (f == mainForm_) {
        mainForm_ = nullptr;
        terminated_ = true;  // the program ends with its main window
    }
}

void TApplication::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
}

TForm* TApplication::FormOfHandle(WindowHandle h) const {
    if (!h) return nullptr;
    for (TForm* f : forms_)
        if (f->Handle() == h) return f;
    return nullptr;
}

void TApplication::SetActiveForm(TForm* f) {
    if (f && f->IsPopup()) return;
    TForm* old = activeForm_;
    if (f == old) {
        if (f) f->SetActive(true);
        return;
    }
    activeForm_ = f;
    if (f) {
        activation_.erase(std::remove(activation_.begin(), activation_.end(), f), activation_.end());
        activation_.push_back(f);
    }
    if (old && std::find(forms_.begin(), forms_.end(), old) != forms_.end()) old->SetActive(false);
    if (f && activeForm_ == f) f->SetActive(true);
}

void TApplication::ActivateNext(TForm* f) {
    activation_.erase(std::remove(activation_.begin(), activation_.end(), f), activation_.end());
    if (activeForm_ != f) return;
    TForm* next = nullptr;
    if (!modalStack_.empty() && modalStack_.back() != f && modalStack_.back()->Visible())
        next = modalStack_.back();
    for (auto it = activation_.rbegin(); !next && it != activation_.rend(); ++it)
        if ((*it)->Visible() && !(*it)->IsPopup()) next = *it;
    SetActiveForm(next);
    if (next && next->Handle()) backend_->RaiseWindow(next->Handle());
}

void TApplication::RegisterTimer(TTimer* t) {
    if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) timers_.push_back(t);
}

void TApplication::UnregisterTimer(TTimer* t) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end());
}

void TApplication::ScheduleRelease(TForm* f) {
    released_.emplace_back(f);
}

void TApplication::FreeReleased() {
    if (released_.empty()) return;
    auto list = std::move(released_);
    released_.clear();
    for (auto& w : list)
        if (TForm* f = w.Get(); f && !f->Modal())
            delete f;
        else if (f)
            released_.push_back(w);  // still in its modal loop: later
}

void TApplication::EnterModal(TForm* f) {
    modalStack_.push_back(f);
    ++modalLevel_;
    for (TForm* other : forms_)
        if (other != f && other->Handle()) backend_->SetWindowEnabled(other->Handle(), false);
}

void TApplication::LeaveModal(TForm* f) {
    auto it = std::find(modalStack_.begin(), modalStack_.end(), f);
    if (it != modalStack_.end()) modalStack_.erase(it);
    if (modalLevel_ > 0) --modalLevel_;
    TForm* top = modalStack_.empty() ? nullptr : modalStack_.back();
    for (TForm* other : forms_) {
        if (!other->Handle() || other == f) continue;
        // Under a remaining modal form only that one (and what it opened later) stays enabled.
        bool enabled = !top || other == top;
        backend_->SetWindowEnabled(other->Handle(), enabled);
    }
}

bool TApplication::HintShowing() const {
    return hintWindow_ && hintWindow_->Visible();
}

// ---- 2. the loop ------------------------------------------------------------------------------

void TApplication::Run() {
    if (mainForm_ && !mainForm_->Visible() && !terminated_) {
        try {
            mainForm_->Show();
        } catch (...) {
            HandleException(mainForm_);
        }
    }
    while (!terminated_) {
        HandleMessage();
        if (stalled_) {
            stalled_ = false;
            terminated_ = true;  // nothing can ever happen again (headless without a script)
        }
    }
    FreeReleased();
}

void TApplication::Terminate() {
    terminated_ = true;
    backend_->Wake();
}

void TApplication::HandleMessage() {
    Event ev;
    if (backend_->PollEvent(ev)) {
        Dispatch(ev);
        return;
    }
    Idle(true);
}

void TApplication::ProcessMessages() {
    Event ev;
    int guard = 0;
    // Bounded, so that an event source that never dries up cannot hold the caller forever.
    while (guard++ < 10000 && backend_->PollEvent(ev)) Dispatch(ev);
    Idle(false);
}

void TApplication::Pump() {
    ProcessMessages();
}

void TApplication::Idle(bool wait) {
    RunSynchronized();
    FireTimers();
    UpdateHint();
    FreeReleased();
    PaintAll();
    if (!wait) return;
    bool done = true;
    if (OnIdle) {
        try {
            auto h = OnIdle;
            h(this, done);
        } catch (...) {
            HandleException(this);
        }
        PaintAll();
    }
    if (!done || terminated_) return;
    Event ev;
    // Something queued by the idle work is handled before waiting.
    if (backend_->PollEvent(ev)) {
        Dispatch(ev);
        return;
    }
    if (!syncQueueEmpty()) return;
    WaitResult r = backend_->WaitEvent(NextDeadline());
    if (r == WaitResult::Stalled) stalled_ = true;
}

bool TApplication::syncQueueEmpty() {
    std::lock_guard<std::mutex> lock(syncMutex_);
    return syncQueue_.empty();
}

void TApplication::ModalLoop(TForm* f) {
    WeakOf<TForm> self(f);
    while (self && !self->ModalResult() && !terminated_) {
        HandleMessage();
        if (stalled_) {
            stalled_ = false;
            // Nobody can ever answer this form: give up on it as if it were cancelled.
            if (self) self->SetModalResult(mrCancel);
        }
    }
}

std::uint64_t TApplication::NextDeadline() const {
    std::uint64_t next = kNoDeadline;
    for (TTimer* t : timers_)
        if (t->Active()) next = std::min(next, t->Due());
    next = std::min(next, HintDeadline());
    return next;
}

void TApplication::FireTimers() {
    if (timers_.empty()) return;
    std::uint64_t now = backend_->Now();
    std::vector<TTimer*> due;
    for (TTimer* t : timers_)
        if (t->Active() && t->Due() <= now) due.push_back(t);
    std::stable_sort(due.begin(), due.end(), [](TTimer* a, TTimer* b) { return a->Due() < b->Due(); });
    std::vector<WeakOf<TTimer>> weak;
    for (TTimer* t : due) weak.emplace_back(t);
    for (auto& w : weak) {
        TTimer* t = w.Get();
        if (!t || !t->Active() || t->Due() > now) continue;
        try {
            t->Fire();
        } catch (...) {
            HandleException(w.Get());
        }
    }
}

void TApplication::PaintAll() {
    std::vector<TForm*> list = forms_;
    for (TForm* f : list) {
        if (std::find(forms_.begin(), forms_.end(), f) == forms_.end()) continue;
        if (!f->HasInvalid()) continue;
        try {
            f->PaintInvalid();
        } catch (...) {
            HandleException(f);
        }
    }
}

bool TApplication::IsWindowDragArea(WindowHandle window, int x, int y) {
    TForm* form = FormOfHandle(window);
    if (!form || !form->Visible()) return false;
    if (!modalStack_.empty() && modalStack_.back() != form) return false;
    TControl* c = form->DeepestControlAt({x, y});
    if (!c) return false;
    TPoint local = c->ScreenToClient({form->Left() + x, form->Top() + y});
    return c->StartsWindowDrag(local.X, local.Y);
}

// ---- 3. dispatch ------------------------------------------------------------------------------

void TApplication::Dispatch(const Event& ev) {
    // A used-up key press swallows only the text that comes right after it.
    if (ev.type != EventType::Text) suppressChar_ = false;
    try {
        TForm* form = FormOfHandle(ev.window);
        bool blocked = form && !modalStack_.empty() && modalStack_.back() != form && !form->IsPopup() &&
                       !IsInside(form, modalStack_.back());
        switch (ev.type) {
            case EventType::MouseMove:
            case EventType::MouseDown:
            case EventType::MouseUp:
            case EventType::MouseWheel:
                if (!form) return;
                if (form->IsPopup()) {
                    if (ev.type != EventType::MouseMove) CancelHint();
                    return;
                }
                if (blocked) return;
                DispatchMouse(form, ev);
                break;
            case EventType::MouseLeftWindow:
                if (!CaptureControl()) {
                    SetMouseControl(nullptr);
                    HintMouseMoved(nullptr);
                }
                break;
            case EventType::KeyDown:
            case EventType::KeyUp:
            case EventType::Text: {
                TForm* target = activeForm_ ? activeForm_ : form;
                if (!modalStack_.empty()) target = modalStack_.back();
                if (!target || !target->Visible()) return;
                if (ev.type == EventType::Text)
                    DispatchText(target, ev);
                else
                    DispatchKey(target, ev);
                break;
            }
            case EventType::CloseRequest:
                if (form && !blocked) form->Close();
                break;
            case EventType::Expose:
                if (form) form->Present(form->ClientRect());
                break;
            case EventType::Activated:
                if (form && !blocked && !form->IsPopup()) SetActiveForm(form);
                if (blocked) backend_->RaiseWindow(modalStack_.back()->Handle());
                break;
            case EventType::Deactivated:
                break;
            case EventType::Moved:
                if (form) form->WindowMoved(ev.x, ev.y);
                break;
            case EventType::Resized:
                if (form) form->SetBounds(form->Left(), form->Top(), ev.x, ev.y);
                break;
            case EventType::Minimized:
                if (form) form->WindowStateChanged(wsMinimized);
                break;
            case EventType::Restored:
                if (form) form->WindowStateChanged(wsNormal);
                if (form) form->Present(form->ClientRect());
                break;
            case EventType::Wake:
            case EventType::None:
                break;
            case EventType::Quit:
                Terminate();
                break;
        }
    } catch (...) {
        HandleException(nullptr);
    }
}

void TApplication::SetMouseControl(TControl* c) {
    TControl* old = mouseControl_.Get();
    if (c == old) return;
    mouseControl_ = WeakOf<TControl>(c);
    if (old) {
        old->mouseInside_ = false;
        old->MouseLeave();
    }
    if (c && mouseControl_.Get() == c) {
        c->mouseInside_ = true;
        c->MouseEnter();
    }
    UpdateCursor();
}

void TApplication::SetCaptureControl(TControl* c) {
    capture_ = WeakOf<TControl>(c);
    backend_->CaptureMouse(c != nullptr);
}

void TApplication::ReleaseMouseState(TControl* c) {
    if (!c) return;
    if (IsInside(capture_.Get(), c)) {
        capture_ = {};
        if (backend_) backend_->CaptureMouse(false);
    }
    if (IsInside(mouseControl_.Get(), c)) {
        // The pointer is no longer over it (hidden, disabled or gone): no leave event for a
        // control that is going, but the flag is cleared.
        mouseControl_.Get()->mouseInside_ = false;
        mouseControl_ = {};
    }
    if (IsInside(lastDown_.Get(), c)) lastDown_ = {};
    if (IsInside(hintPending_.Get(), c)) hintPending_ = {};
    if (IsInside(hintControl_.Get(), c)) {
        hintControl_ = {};
        if (!Destroying()) CancelHint();
    }
}

void TApplication::UpdateCursor() {
    if (!backend_) return;
    TCursor cur = Screen ? Screen->Cursor() : crDefault;
    if (cur == crDefault) {
        for (TControl* c = capture_.Get() ? capture_.Get() : mouseControl_.Get(); c; c = c->Parent()) {
            if (c->Cursor() != crDefault) {
                cur = c->Cursor();
                break;
            }
        }
    }
    backend_->SetCursor(cur == crDefault ? crArrow : cur);
}

void TApplication::DispatchMouse(TForm* form, const Event& ev) {
    TPoint p{ev.x, ev.y};
    TPoint screen{form->Left() + ev.x, form->Top() + ev.y};
    if (ev.type == EventType::MouseDown) form->SetFocusMarkShown(false);
    TControl* under = form->DeepestControlAt(p);
    auto local = [&](TControl* c) { return c->ScreenToClient(screen); };

    switch (ev.type) {
        case EventType::MouseMove: {
            SetMouseControl(under);
            HintMouseMoved(under);
            TControl* target = capture_.Get() ? capture_.Get() : mouseControl_.Get();
            if (!target) return;
            TPoint l = local(target);
            target->MouseMove(ev.shift, l.X, l.Y);
            break;
        }
        case EventType::MouseDown: {
            CancelHint();
            if (activeForm_ != form) SetActiveForm(form);
            SetMouseControl(under);
            TControl* target = capture_.Get() ? capture_.Get() : mouseControl_.Get();
            if (!target) return;
            WeakOf<TControl> alive(target);
            TPoint l = local(target);
            TShiftState shift = ev.shift;
            bool dbl = false;
            if (ev.button == mbLeft) {
                DesktopSettings s = backend_->Settings();
                std::uint64_t now = backend_->Now();
                dbl = !lastDownWasDouble_ && lastDown_.Get() == target &&
                      now - lastDownTime_ <= std::uint64_t(s.doubleClickTime) &&
                      std::abs(screen.X - lastDownPos_.X) <= s.doubleClickWidth / 2 &&
                      std::abs(screen.Y - lastDownPos_.Y) <= s.doubleClickHeight / 2 &&
                      (target->ControlStyle() & csDoubleClicks);
                lastDown_ = WeakOf<TControl>(target);
                lastDownTime_ = now;
                lastDownPos_ = screen;
                lastDownWasDouble_ = dbl;
                if (target->ControlStyle() & csCaptureMouse) SetCaptureControl(target);
            }
            if (dbl) {
                target->controlState_ &= ~csClicked;
                target->DblClick();
                if (!alive) return;
                target->MouseDown(mbLeft, shift | ssDouble, l.X, l.Y);
            } else {
                if (ev.button == mbLeft && (target->ControlStyle() & csClickEvents))
                    target->controlState_ |= csClicked;
                target->MouseDown(ev.button, shift, l.X, l.Y);
            }
            break;
        }
        case EventType::MouseUp: {
            TControl* target = capture_.Get() ? capture_.Get() : mouseControl_.Get();
            if (ev.button == mbLeft && capture_.Get()) SetCaptureControl(nullptr);
            if (target) {
                WeakOf<TControl> alive(target);
                TPoint l = local(target);
                if (ev.button == mbLeft && (target->controlState_ & csClicked)) {
                    target->controlState_ &= ~csClicked;
                    // The click comes before the release handling, so a control's OnClick still
                    // sees it pressed.
                    if (target->ClientRect().Contains(l)) target->Click();
                }
                if (alive) target->MouseUp(ev.button, ev.shift, l.X, l.Y);
            }
            // The pointer may have left the control while it was held.
            if (FormOfHandle(ev.window) == form) SetMouseControl(form->DeepestControlAt(p));
            break;
        }
        case EventType::MouseWheel: {
            CancelHint();
            TControl* start = form->ActiveControl();
            if (!start) start = under;
            WeakOf<TControl> alive(start);
            for (TControl* c = start; c; c = c->Parent()) {
                if (c->DoMouseWheel(ev.shift, ev.wheelDelta, screen)) break;
                if (!alive) break;
            }
            break;
        }
        default:
            break;
    }
    UpdateCursor();
}

void TApplication::DispatchKey(TForm* form, const Event& ev) {
    WeakOf<TForm> formAlive(form);
    int key = ev.key;
    TShiftState shift = ev.shift;
    if (ev.type == EventType::KeyUp) {
        if (form->KeyPreview()) form->KeyUp(key, shift);
        if (!key || !formAlive) return;
        TWinControl* fc = form->ActiveControl();
        if (fc && fc != form) fc->KeyUp(key, shift);
        return;
    }
    CancelHint();
    suppressChar_ = false;
    if (key != VK_SHIFT && key != VK_CONTROL && key != VK_MENU) form->SetFocusMarkShown(true);
    if (form->KeyPreview()) form->KeyDown(key, shift);
    if (!formAlive) return;
    if (!key) {
        suppressChar_ = true;
        return;
    }
    // A windowless control with the focus is pressed by Enter or Space.
    if (TControl* g = form->FocusedControl();
        g && !g->IsWinControl() && (key == VK_RETURN || key == VK_SPACE) && !(shift & (ssCtrl | ssAlt))) {
        suppressChar_ = true;
        if (g->Showing() && g->Enabled()) g->Click();
        return;
    }
    TWinControl* fc = form->ActiveControl();
    if (fc && fc != form) {
        WeakOf<TWinControl> fcAlive(fc);
        fc->KeyDown(key, shift);
        if (!formAlive) return;
        if (!key) {
            suppressChar_ = true;
            return;
        }
        if (!fcAlive) fc = nullptr;
    }
    // The keys of a dialog.
    bool plain = !(shift & (ssCtrl | ssAlt));
    if (key == VK_TAB && !(shift & (ssCtrl | ssAlt)) && !(fc && fc->WantsTab())) {
        form->SelectNext(fc, !(shift & ssShift), true);
        suppressChar_ = true;
        return;
    }
    if ((key == VK_RETURN || key == VK_ESCAPE) && plain) {
        std::vector<TControl*> all = DialogControls(form);
        std::vector<WeakOf<TControl>> weak;
        for (TControl* c : all) weak.emplace_back(c);
        for (auto& w : weak) {
            if (!formAlive) return;
            if (TControl* c = w.Get(); c && c->DialogKey(key, shift)) {
                suppressChar_ = true;
                return;
            }
        }
    }
    if ((shift & ssAlt) && !(shift & ssCtrl) && ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) {
        if (DoDialogChar(form, char(key))) {
            suppressChar_ = true;
            return;
        }
    }
    // Keys that type a control character (a keyboard layer does this for Enter, Escape, ...).
    char ch = 0;
    switch (key) {
        case VK_RETURN:
            ch = '\r';
            break;
        case VK_ESCAPE:
            ch = 27;
            break;
        case VK_BACK:
            ch = 8;
            break;
        case VK_TAB:
            ch = '\t';
            break;
        default:
            break;
    }
    if (ch && !(shift & (ssCtrl | ssAlt))) KeyPressChar(form, ch);
}

void TApplication::DispatchText(TForm* form, const Event& ev) {
    WeakOf<TForm> formAlive(form);
    bool skip = suppressChar_;
    suppressChar_ = false;
    for (char ch : ev.text) {
        if (!formAlive) return;
        if (skip) {
            skip = false;
            continue;
        }
        KeyPressChar(form, ch);
    }
}

void TApplication::KeyPressChar(TForm* form, char ch) {
    WeakOf<TForm> formAlive(form);
    if (form->KeyPreview()) form->KeyPress(ch);
    if (!ch || !formAlive) return;
    TWinControl* fc = form->ActiveControl();
    if (fc && fc != form) {
        WeakOf<TWinControl> fcAlive(fc);
        fc->KeyPress(ch);
        if (!ch || !formAlive) return;
        if (fcAlive && fc->WantsChars()) return;
    }
    // A character nobody typed into may be an accelerator.
    if (std::uint8_t(ch) > ' ') DoDialogChar(form, ch);
}

bool TApplication::DoDialogChar(TForm* form, char ch) {
    std::vector<TControl*> all = DialogControls(form);
    for (TControl* c : all)
        if (c->DialogChar(ch)) return true;
    return false;
}

// ---- 4. exceptions and message boxes ----------------------------------------------------------

void TApplication::HandleException(TComponent* sender) {
    std::exception_ptr ep = std::current_exception();
    if (!ep) return;
    if (handlingException_ > 2) {
        std::fputs("cdmenu: an exception occurred while showing an exception\n", stderr);
        return;
    }
    ++handlingException_;
    try {
        try {
            std::rethrow_exception(ep);
        } catch (const std::exception& e) {
            if (OnException) {
                auto h = OnException;
                h(sender, e);
            } else {
                ShowException(e);
            }
        } catch (...) {
            std::runtime_error unknown("Unbekannter Fehler");
            if (OnException) {
                auto h = OnException;
                h(sender, unknown);
            } else {
                ShowException(unknown);
            }
        }
    } catch (...) {
        std::fputs("cdmenu: the exception handler failed\n", stderr);
    }
    --handlingException_;
}

void TApplication::ShowException(const std::exception& e) {
    std::string text;
    if (auto* be = dynamic_cast<const base::Exception*>(&e))
        text = be->Message();
    else
        text = base::Utf8ToCp1252(e.what());
    // The classic toolkit ends the message with a full stop.
    if (!text.empty() && std::uint8_t(text.back()) > '.') text += '.';
    MessageBox(text, title_.empty() ? std::string("Fehler") : title_, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, int flags) {
    if (!OnGuiThread()) {
        int result = IDCANCEL;
        Synchronize([&] { result = MessageBox(text, caption, flags); });
        return result;
    }
    CancelHint();
    MessageBoxRequest req{text, caption, flags};
    if (auto answer = backend_->PromptMessageBox(req)) return *answer;
    TMessageForm* box = new TMessageForm(this, req);
    WeakOf<TMessageForm> alive(box);
    TModalResult r = mrCancel;
    try {
        r = box->ShowModal();
    } catch (...) {
        if (alive) delete box;
        throw;
    }
    if (alive) delete box;
    return r;
}

int TApplication::Warning(const std::string& text, int buttons) {
    return MessageBox(text, "Warnung", buttons | MB_ICONWARNING);
}

int TApplication::Information(const std::string& text, int buttons) {
    return MessageBox(text, "Information", buttons | MB_ICONINFORMATION);
}

int TApplication::Error(const std::string& text, int buttons) {
    return MessageBox(text, "Fehler", buttons | MB_ICONERROR);
}

void TApplication::Minimize() {
    for (TForm* f : forms_)
        if (f->Handle() && f->Visible() && !f->IsPopup()) backend_->MinimizeWindow(f->Handle());
}

void TApplication::Restore() {
    for (TForm* f : forms_)
        if (f->Handle() && f->Visible() && !f->IsPopup()) backend_->RestoreWindow(f->Handle());
}

void TApplication::BringToFront() {
    if (activeForm_ && activeForm_->Handle()) backend_->RaiseWindow(activeForm_->Handle());
}

// ---- 5. hints ---------------------------------------------------------------------------------

void TApplication::SetShowHint(bool v) {
    showHint_ = v;
    if (!v) CancelHint();
}

void TApplication::CancelHint() {
    hintPending_ = {};
    hintControl_ = {};
    hintText_.clear();
    if (hintWindow_ && hintWindow_->Visible()) {
        hintWindow_->Hide();
        lastHintHidden_ = backend_->Now();
    }
}

void TApplication::HintMouseMoved(TControl* c) {
    // The control whose hint applies: the first one up the parents that shows hints.
    TControl* h = c;
    while (h && !h->ShowHint()) h = h->Parent();
    if (h && h->Hint().empty()) h = nullptr;
    if (!showHint_) h = nullptr;
    if (h == hintPending_.Get() || (h && h == hintControl_.Get())) return;
    bool wasShowing = HintShowing();
    if (wasShowing) {
        hintWindow_->Hide();
        lastHintHidden_ = backend_->Now();
    }
    hintControl_ = {};
    hintText_.clear();
    hintPending_ = WeakOf<TControl>(h);
    hintPendingSince_ = backend_->Now();
    hintPendingShort_ = wasShowing;
}

std::uint64_t TApplication::HintDeadline() const {
    if (hintPending_.Get())
        return hintPendingSince_ + std::uint64_t(hintPendingShort_ ? hintShortPause_ : hintPause_);
    if (hintControl_.Get() && hintWindow_ && hintWindow_->Visible())
        return hintShownAt_ + std::uint64_t(hintHidePause_);
    return kNoDeadline;
}

void TApplication::UpdateHint() {
    std::uint64_t now = backend_->Now();
    if (TControl* c = hintPending_.Get()) {
        std::uint64_t pause = std::uint64_t(hintPendingShort_ ? hintShortPause_ : hintPause_);
        if (now >= hintPendingSince_ + pause) {
            hintPending_ = {};
            if (c->Showing() && showHint_) ShowHintFor(c);
        }
    } else if (hintControl_.Get() && HintShowing() && now >= hintShownAt_ + std::uint64_t(hintHidePause_)) {
        hintWindow_->Hide();
        lastHintHidden_ = now;
        hintText_.clear();
        // It stays hidden until the pointer moves to another control.
    }
}

void TApplication::ShowHintFor(TControl* c) {
    if (!hintWindow_) hintWindow_ = new THintWindow(this);
    hintControl_ = WeakOf<TControl>(c);
    // "short|long": the hint window shows the short part.
    hintText_ = c->Hint().substr(0, c->Hint().find('|'));
    hintWindow_->SetColor(hintColor_);
    TPoint at = backend_->CursorPos();
    hintWindow_->ActivateHint({at.X, at.Y + 20}, hintText_);
    hintShownAt_ = backend_->Now();
}

// ---- 6. Synchronize -----------------------------------------------------------------------------

void TApplication::Synchronize(std::function<void()> fn) {
    if (OnGuiThread()) {
        fn();
        return;
    }
    SyncCall call;
    call.fn = std::move(fn);
    {
        std::unique_lock<std::mutex> lock(syncMutex_);
        if (terminated_ && Destroying()) return;
        syncQueue_.push_back(&call);
    }
    backend_->Wake();
    std::unique_lock<std::mutex> lock(syncMutex_);
    syncDone_.wait(lock, [&] { return call.done; });
}

void TApplication::RunSynchronized() {
    for (;;) {
        SyncCall* call = nullptr;
        {
            std::lock_guard<std::mutex> lock(syncMutex_);
            if (syncQueue_.empty()) return;
            call = syncQueue_.front();
            syncQueue_.pop_front();
        }
        try {
            call->fn();
        } catch (...) {
            HandleException(this);
        }
        {
            std::lock_guard<std::mutex> lock(syncMutex_);
            call->done = true;
        }
        syncDone_.notify_all();
    }
}

}  // namespace gui
