#include "gui/PointerRouter.h"

#include <cstdlib>

#include "gui/Application.h"
#include "gui/Control.h"
#include "gui/Form.h"
#include "gui/HintController.h"
#include "gui/Screen.h"
#include "gui/Timer.h"

namespace gui {

bool IsInside(const TControl* c, const TControl* container) {
    for (; c; c = c->Parent())
        if (c == container) return true;
    return false;
}

void TPointerRouter::SetUnder(TControl* c) {
    TControl* old = under_;
    if (c == old) return;
    under_ = c;
    if (old) {
        old->mouseInside_ = false;
        old->MouseLeave();
    }
    if (c && under_ == c) {
        c->mouseInside_ = true;
        c->MouseEnter();
    }
    UpdateCursor();
}

void TPointerRouter::SetCapture(TControl* c) {
    capture_ = c;
    backend_.CaptureMouse(c != nullptr);
}

void TPointerRouter::Forget(TControl* c) {
    if (IsInside(capture_, c)) {
        capture_ = nullptr;
        backend_.CaptureMouse(false);
    }
    if (IsInside(under_, c)) {
        // The pointer is no longer over it (hidden, disabled or gone): no leave event for a
        // control that is going, but the flag is cleared.
        under_->mouseInside_ = false;
        under_ = nullptr;
    }
    if (IsInside(lastDown_, c)) lastDown_ = nullptr;
}

void TPointerRouter::UpdateCursor() {
    TCursor cur = Screen ? Screen->Cursor() : crDefault;
    if (cur == crDefault) {
        for (TControl* c = capture_ ? capture_ : under_; c; c = c->Parent()) {
            if (c->Cursor() != crDefault) {
                cur = c->Cursor();
                break;
            }
        }
    }
    backend_.SetCursor(cur == crDefault ? crArrow : cur);
}

void TPointerRouter::LeftWindow() {
    if (capture_) return;
    SetUnder(nullptr);
    hints_.MouseMoved(nullptr);
}

void TPointerRouter::Dispatch(TForm* form, const Event& ev) {
    TPoint p{ev.x, ev.y};
    TPoint screen{form->Left() + ev.x, form->Top() + ev.y};
    TPoint underLocal;
    TControl* under = form->PointerAt(p, ev.type == EventType::MouseDown, underLocal);
    // The hit test already knows where the pointer lies on the control under it.
    auto local = [&](TControl* c) { return c == under ? underLocal : c->ScreenToClient(screen); };
    // Whether the form is still there once the handlers have run (they may free it).
    TComponent::WeakOf<TForm> alive(form);

    switch (ev.type) {
        case EventType::MouseMove: {
            SetUnder(under);
            hints_.MouseMoved(under);
            TControl* target = capture_ ? capture_ : under_;
            if (!target) return;
            TPoint l = local(target);
            target->MouseMove(ev.shift, l.X, l.Y);
            break;
        }
        case EventType::MouseDown: {
            if (!hints_.Quiet()) hints_.Cancel();
            if (app_.ActiveForm() != form) app_.SetActiveForm(form);
            SetUnder(under);
            TControl* target = capture_ ? capture_ : under_;
            if (!target) return;
            TPoint l = local(target);
            TShiftState shift = ev.shift;
            bool dbl = false;
            if (ev.button == mbLeft) {
                DesktopSettings s = backend_.Settings();
                std::uint64_t now = backend_.Now();
                dbl = !lastDownWasDouble_ && lastDown_ == target &&
                      now - lastDownTime_ <= std::uint64_t(s.doubleClickTime) &&
                      std::abs(screen.X - lastDownPos_.X) <= s.doubleClickWidth / 2 &&
                      std::abs(screen.Y - lastDownPos_.Y) <= s.doubleClickHeight / 2 &&
                      (target->ControlStyle() & csDoubleClicks);
                lastDown_ = target;
                lastDownTime_ = now;
                lastDownPos_ = screen;
                lastDownWasDouble_ = dbl;
                if (target->ControlStyle() & csCaptureMouse) SetCapture(target);
            }
            if (dbl) {
                target->controlState_ &= ~csClicked;
                target->DblClick();
                if (target->Freeing()) return;
                target->MouseDown(mbLeft, shift | ssDouble, l.X, l.Y);
            } else {
                if (ev.button == mbLeft && (target->ControlStyle() & csClickEvents))
                    target->controlState_ |= csClicked;
                target->MouseDown(ev.button, shift, l.X, l.Y);
            }
            break;
        }
        case EventType::MouseUp: {
            TControl* target = capture_ ? capture_ : under_;
            if (ev.button == mbLeft && capture_) SetCapture(nullptr);
            if (target) {
                TPoint l = local(target);
                if (ev.button == mbLeft && (target->controlState_ & csClicked)) {
                    target->controlState_ &= ~csClicked;
                    // The click comes before the release handling, so a control's OnClick still
                    // sees it pressed.
                    if (target->ClientRect().Contains(l)) target->Click();
                }
                if (!target->Freeing()) target->MouseUp(ev.button, ev.shift, l.X, l.Y);
            }
            // The pointer may have left the control while it was held.
            if (alive && form->Handle() == ev.window) {
                TPoint ignored;
                SetUnder(form->PointerAt(p, false, ignored));
            }
            break;
        }
        case EventType::MouseWheel: {
            if (!hints_.Quiet()) hints_.Cancel();
            // What lies under the pointer scrolls first, focused or not (the description beside a
            // focused list); otherwise the focused control and its parents, as before.
            bool taken = false;
            for (TControl* c = under; c && c != form && !taken; c = c->Parent()) {
                taken = c->DoMouseWheel(ev.shift, ev.wheelDelta, screen);
                if (under->Freeing()) taken = true;
            }
            if (taken) break;
            TControl* start = form->ActiveControl();
            if (!start) start = under;
            for (TControl* c = start; c; c = c->Parent()) {
                if (c->DoMouseWheel(ev.shift, ev.wheelDelta, screen)) break;
                if (start->Freeing()) break;
            }
            break;
        }
        default:
            break;
    }
    UpdateCursor();
}

// ---- hover groups ------------------------------------------------------------------------------

TPointerRouter::HoverSlot* TPointerRouter::FindHover(const void* group) {
    for (HoverSlot& s : hovers_)
        if (s.group == group) return &s;
    return nullptr;
}

const TPointerRouter::HoverSlot* TPointerRouter::FindHover(const void* group) const {
    for (const HoverSlot& s : hovers_)
        if (s.group == group) return &s;
    return nullptr;
}

TControl* TPointerRouter::Hovered(const void* group) const {
    const HoverSlot* s = FindHover(group);
    return s ? s->control : nullptr;
}

void TPointerRouter::Hover(const void* group, TControl* c, std::function<void()> end) {
    HoverSlot* s = FindHover(group);
    if (!s) {
        hovers_.push_back(HoverSlot{group, nullptr, {}, {}});
        s = &hovers_.back();
    }
    if (!s->timer) {
        // Made on first use: a control made before the application runs needs no loop.
        TTimer* timer = app_.Make<TTimer>();
        timer->SetEnabled(false);
        timer->SetInterval(kHoverInterval);
        timer->SetOnTimer([this, group](TComponent*) {
            const HoverSlot* slot = FindHover(group);
            if (!slot || !slot->control || !slot->end) return;
            if (Screen && Screen->ControlAtCursor() == slot->control) return;
            FireEvent(slot->end);
        });
        s->timer = TComponent::WeakOf<TTimer>(timer);
    }
    s->timer->SetEnabled(false);
    s->control = c;
    s->end = std::move(end);
    s->timer->SetEnabled(true);
}

void TPointerRouter::EndHover(const void* group) {
    const HoverSlot* s = FindHover(group);
    if (s && s->control && s->end) FireEvent(s->end);
}

void TPointerRouter::Unhover(TControl* c) {
    if (!c) return;
    for (HoverSlot& s : hovers_) {
        if (s.control != c) continue;
        s.control = nullptr;
        if (s.timer) s.timer->SetEnabled(false);
    }
}

bool TPointerRouter::HoverTicking(const void* group) const {
    const HoverSlot* s = FindHover(group);
    return s && s->control && s->timer && s->timer->Enabled();
}

std::vector<TTimer*> TPointerRouter::HoverTimers() const {
    std::vector<TTimer*> timers;
    for (const HoverSlot& s : hovers_)
        if (s.timer) timers.push_back(s.timer.Get());
    return timers;
}

}  // namespace gui
