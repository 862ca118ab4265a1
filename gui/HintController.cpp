#include "gui/HintController.h"

#include "gui/Control.h"
#include "gui/HintWindow.h"
#include "gui/PointerRouter.h"

namespace gui {

THintController::THintController(TComponent* owner, Backend& backend) : owner_(owner), backend_(backend) {
    DesktopSettings s = backend_.Settings();
    pause_ = s.hintPause;
    shortPause_ = s.hintShortPause;
    hidePause_ = s.hintHidePause;
    color_ = gfx::clInfoBk;
}

void THintController::SetEnabled(bool v) {
    show_ = v;
    if (!v) Cancel();
}

bool THintController::Showing() const {
    return window_ && window_->Visible();
}

void THintController::Cancel() {
    pending_ = nullptr;
    control_ = nullptr;
    text_.clear();
    if (window_ && window_->Visible()) {
        window_->Hide();
        lastHidden_ = backend_.Now();
    }
}

void THintController::MouseMoved(TControl* c) {
    // The control whose hint applies: the first one up the parents that shows hints.
    TControl* h = c;
    while (h && !h->ShowHint()) h = h->Parent();
    if (h && h->Hint().empty()) h = nullptr;
    if (!show_) h = nullptr;
    if (h == pending_ || (h && h == control_)) return;
    bool wasShowing = Showing();
    if (wasShowing) {
        window_->Hide();
        lastHidden_ = backend_.Now();
    }
    control_ = nullptr;
    text_.clear();
    pending_ = h;
    pendingSince_ = backend_.Now();
    pendingShort_ = wasShowing;
}

std::uint64_t THintController::Deadline() const {
    if (pending_) return pendingSince_ + std::uint64_t(pendingShort_ ? shortPause_ : pause_);
    if (control_ && window_ && window_->Visible()) return shownAt_ + std::uint64_t(hidePause_);
    return kNoDeadline;
}

void THintController::Update() {
    std::uint64_t now = backend_.Now();
    if (TControl* c = pending_) {
        std::uint64_t pause = std::uint64_t(pendingShort_ ? shortPause_ : pause_);
        if (now >= pendingSince_ + pause) {
            pending_ = nullptr;
            if (c->Showing() && show_) ShowFor(c);
        }
    } else if (control_ && Showing() && now >= shownAt_ + std::uint64_t(hidePause_)) {
        window_->Hide();
        lastHidden_ = now;
        text_.clear();
        // It stays hidden until the pointer moves to another control.
    }
}

void THintController::ShowFor(TControl* c) {
    if (!window_) window_ = new THintWindow(owner_);
    control_ = c;
    // "short|long": the hint window shows the short part.
    text_ = c->Hint().substr(0, c->Hint().find('|'));
    window_->SetColor(color_);
    TPoint at = backend_.CursorPos();
    window_->ActivateHint({at.X, at.Y + 20}, text_);
    shownAt_ = backend_.Now();
}

void THintController::Forget(TControl* c, bool cancel) {
    if (IsInside(pending_, c)) pending_ = nullptr;
    if (IsInside(control_, c)) {
        control_ = nullptr;
        if (cancel) Cancel();
    }
}

void THintController::FormGone(TForm* f) {
    if (f == window_) window_ = nullptr;
}

}  // namespace gui
