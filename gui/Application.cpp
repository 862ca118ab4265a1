// The application object and its message loop.
//
//  1. construction and forms
//  2. the loop: HandleMessage, ProcessMessages, idle work, modal loops
//  3. dispatch: to the pointer router, keys, text
//  4. exceptions and message boxes
//  5. Synchronize
// Pointer routing, hints and the modal stack are classes of their own (PointerRouter, HintController,
// ModalStack).
#include "gui/Application.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "gfx/Font.h"
#include "gui/Form.h"
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

}  // namespace

// ---- 1. construction and forms ----------------------------------------------------------------

TApplication::TApplication(std::unique_ptr<gui::Backend> backend)
    : TComponent(nullptr), backend_(std::move(backend)), screen_(std::make_unique<TScreen>(*this)) {
    Application = this;
    gui::SetHost(this);
    Screen = screen_.get();
    guiThread_ = std::this_thread::get_id();
    backend_->SetHost(this);
    hints_ = std::make_unique<THintController>(this, *backend_);
    modal_ = std::make_unique<TModalStack>(*backend_);
    pointer_ = std::make_unique<TPointerRouter>(*this, *backend_, *hints_);
    gfx::SetFontSmoothing(backend_->Settings().fontSmoothing);
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
    gui::SetHost(nullptr);
    Application = nullptr;
}

void TApplication::FormCreated(TForm* form) {
    if (!mainForm_ && !form->IsPopup()) mainForm_ = form;
    form->DoCreate();
}

void TApplication::RegisterForm(TForm* f) {
    forms_.push_back(f);
}

void TApplication::UnregisterForm(TForm* f) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
    released_.erase(std::remove(released_.begin(), released_.end(), f), released_.end());
    modal_->Remove(f);
    hints_->FormGone(f);
    activation_.erase(std::remove(activation_.begin(), activation_.end(), f), activation_.end());
    if (f == activeForm_) {
        activeForm_ = nullptr;
        if (!Destroying()) {
            // The range form needs libstdc++'s ranges, which clang 14 cannot parse.
            // NOLINTNEXTLINE(modernize-loop-convert)
            for (auto it = activation_.rbegin(); it != activation_.rend(); ++it)
                if ((*it)->Visible() && !(*it)->IsPopup()) {
                    SetActiveForm(*it);
                    // Raised while the gone form's window still exists: without a window manager
                    // the keyboard would otherwise stay with no window once that one is destroyed.
                    if ((*it)->Handle()) backend_->RaiseWindow((*it)->Handle());
                    break;
                }
        }
    }
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

TWinControl* TApplication::ActiveControl() const {
    return activeForm_ ? activeForm_->ActiveControl() : nullptr;
}

TControl* TApplication::ControlAtPos(TPoint screen) const {
    auto hit = [&](TForm* f) -> TControl* {
        if (!f || !f->Visible() || f->IsPopup()) return nullptr;
        TPoint p{screen.X - f->Left(), screen.Y - f->Top()};
        if (!f->ClientRect().Contains(p)) return nullptr;
        return f->DeepestControlAt(p);
    };
    if (TControl* c = hit(activeForm_)) return c;
    // The range form needs libstdc++'s ranges, which clang 14 cannot parse.
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it)
        if (*it != activeForm_)
            if (TControl* c = hit(*it)) return c;
    return nullptr;
}

void TApplication::ActivateNext(TForm* f) {
    activation_.erase(std::remove(activation_.begin(), activation_.end(), f), activation_.end());
    if (activeForm_ != f) return;
    TForm* next = nullptr;
    if (TForm* top = modal_->Top(); top && top != f && top->Visible()) next = top;
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
    if (std::find(released_.begin(), released_.end(), f) == released_.end()) released_.push_back(f);
}

void TApplication::FreeReleased() {
    if (released_.empty()) return;
    auto list = std::move(released_);
    released_.clear();
    for (TForm* f : list)
        if (f->Modal())
            released_.push_back(f);  // still in its modal loop: later
        else
            f->Free();
}

void TApplication::EnterModal(TForm* f) {
    modal_->Enter(f, forms_);
}

void TApplication::LeaveModal(TForm* f) {
    modal_->Leave(f, forms_);
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
    hints_->Update();
    FreeReleased();
    PaintAll();
    if (!wait) return;
    bool done = true;
    if (OnIdle) {
        try {
            // Not a dispatch scope: the idle hook is a turn of the loop itself. A script's commands
            // and waits run here, and what the events and timers they run free goes at once, as
            // in the loop; inside a scope a long wait gathered every timer the banners stopped, and
            // each step cost more than the one before.
            const TIdleEvent handler = OnIdle;  // it may replace itself
            handler(this, done);
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
    // ShowModal is a dispatch scope: f lives at least as long as this loop.
    while (!f->Freeing() && !f->ModalResult() && !terminated_) {
        HandleMessage();
        if (stalled_) {
            stalled_ = false;
            // Nobody can ever answer this form: give up on it as if it were cancelled.
            f->SetModalResult(mrCancel);
        }
    }
}

std::uint64_t TApplication::NextDeadline() const {
    std::uint64_t next = kNoDeadline;
    for (TTimer* t : timers_)
        if (t->Active()) next = std::min(next, t->Due());
    next = std::min(next, hints_->Deadline());
    return next;
}

void TApplication::FireTimers() {
    if (timers_.empty()) return;
    std::uint64_t now = backend_->Now();
    std::vector<TTimer*> due;
    for (TTimer* t : timers_)
        if (t->Active() && t->Due() <= now) due.push_back(t);
    std::stable_sort(due.begin(), due.end(), [](TTimer* a, TTimer* b) { return a->Due() < b->Due(); });
    TDispatchScope scope;  // a timer freed by an earlier one stays until the batch is done
    for (TTimer* t : due) {
        if (t->Freeing() || !t->Active() || t->Due() > now) continue;
        try {
            t->Fire();
        } catch (...) {
            HandleException(t);
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
    if (modal_->Top() && modal_->Top() != form) return false;
    TControl* c = form->DeepestControlAt({x, y});
    if (!c) return false;
    TPoint local = c->ScreenToClient({form->Left() + x, form->Top() + y});
    return c->StartsWindowDrag(local.X, local.Y);
}

// ---- 3. dispatch ------------------------------------------------------------------------------

void TApplication::Dispatch(const Event& ev) {
    // A used-up key press swallows only the text that comes right after it.
    if (ev.type != EventType::Text) suppressChar_ = false;
    TDispatchScope scope;
    try {
        TForm* form = FormOfHandle(ev.window);
        // Without a modal loop nothing is blocked (the common case asks the modal stack nothing).
        bool blocked = modal_->Top() && modal_->Blocks(form);
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
                pointer_->Dispatch(form, ev);
                break;
            case EventType::MouseLeftWindow:
                pointer_->LeftWindow();
                break;
            case EventType::KeyDown:
            case EventType::KeyUp:
            case EventType::Text: {
                TForm* target = activeForm_ ? activeForm_ : form;
                if (modal_->Top()) target = modal_->Top();
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
            case EventType::ScaleChanged:
                for (TForm* f : forms_) f->ScaleChanged();
                break;
            case EventType::Activated:
                if (form && !blocked && !form->IsPopup()) SetActiveForm(form);
                if (blocked) backend_->RaiseWindow(modal_->Top()->Handle());
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
                // The system's quit closes the main window first, so that its OnClose says
                // goodbye (not from inside a dialog's loop), and ends the program in any case.
                if (mainForm_ && !modal_->Top()) mainForm_->Close();
                Terminate();
                break;
        }
    } catch (...) {
        HandleException(nullptr);
    }
}

void TApplication::ReleaseMouseState(TControl* c) {
    if (!c || !backend_) return;
    pointer_->Forget(c);
    hints_->Forget(c, !Destroying());
}

void TApplication::UpdateCursor() {
    if (backend_) pointer_->UpdateCursor();
}

void TApplication::DispatchKey(TForm* form, const Event& ev) {
    int key = ev.key;
    TShiftState shift = ev.shift;
    if (ev.type == EventType::KeyUp) {
        if (form->KeyPreview()) form->KeyUp(key, shift);
        if (!key || form->Freeing()) return;
        TWinControl* fc = form->ActiveControl();
        if (fc && fc != form) fc->KeyUp(key, shift);
        return;
    }
    CancelHint();
    suppressChar_ = false;
    form->PreviewKeyDown(key, shift);
    if (form->Freeing()) return;
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
        fc->KeyDown(key, shift);
        if (form->Freeing()) return;
        if (!key) {
            suppressChar_ = true;
            return;
        }
        if (fc->Freeing()) fc = nullptr;
    }
    // The keys of a dialog.
    bool plain = !(shift & (ssCtrl | ssAlt));
    if (key == VK_TAB && !(shift & (ssCtrl | ssAlt)) && !(fc && fc->WantsTab())) {
        form->SelectNext(fc, !(shift & ssShift), true);
        suppressChar_ = true;
        return;
    }
    if ((key == VK_RETURN || key == VK_ESCAPE) && plain) {
        for (TControl* c : DialogControls(form)) {
            if (form->Freeing()) return;
            if (!c->Freeing() && c->DialogKey(key, shift)) {
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
    bool skip = suppressChar_;
    suppressChar_ = false;
    for (char ch : ev.text) {
        if (form->Freeing()) return;
        if (skip) {
            skip = false;
            continue;
        }
        KeyPressChar(form, ch);
    }
}

void TApplication::KeyPressChar(TForm* form, char ch) {
    if (form->KeyPreview()) form->KeyPress(ch);
    if (!ch || form->Freeing()) return;
    TWinControl* fc = form->ActiveControl();
    if (fc && fc != form) {
        fc->KeyPress(ch);
        if (!ch || form->Freeing()) return;
        if (!fc->Freeing() && fc->WantsChars()) return;
    }
    // A character nobody typed into may be an accelerator.
    if (std::uint8_t(ch) > ' ') DoDialogChar(form, ch);
}

bool TApplication::DoDialogChar(TForm* form, char ch) {
    for (TControl* c : DialogControls(form)) {
        if (form->Freeing()) return false;
        if (!c->Freeing() && c->DialogChar(ch)) return true;
    }
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
            if (!FireEvent(OnException, sender, e)) ShowException(e);
        } catch (...) {
            std::runtime_error unknown("Unbekannter Fehler");
            if (!FireEvent(OnException, sender, unknown)) ShowException(unknown);
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
    TDispatchScope scope;  // the box goes when this returns, even if one of its handlers freed it
    TMessageForm* box = new TMessageForm(this, req);
    try {
        TModalResult r = box->ShowModal();
        box->Free();
        return r;
    } catch (...) {
        box->Free();
        throw;
    }
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

// ---- 5. Synchronize -----------------------------------------------------------------------------

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
            TDispatchScope scope;
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
