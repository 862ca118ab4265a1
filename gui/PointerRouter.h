#pragma once
// TPointerRouter: where the pointer's events go. It keeps the control under the pointer (enter and
// leave), the capture from press to release, the click (press and release on the same control) and
// the double click (platform time and distance), sends the wheel up the parents from the focused
// control, and sets the cursor.
//
// Hover groups: a control with a hover look that lingers (the flat controls) asks to be a group's
// hovered control (one group per class). Its hover ends when another control of the group takes
// its place, or on the group's 100 ms tick once the control under the cursor is another one (the
// pointer may have gone to a window that reports no leave to it). The ticks are timers of the
// application, so none outlives it.
#include <cstdint>
#include <functional>
#include <vector>

#include "gui/Component.h"
#include "gui/backend/Backend.h"

namespace gui {

class TApplication;
class TControl;
class TForm;
class THintController;
class TTimer;

// c is container or lies inside it.
bool IsInside(const TControl* c, const TControl* container);

class TPointerRouter {
public:
    TPointerRouter(TApplication& app, Backend& backend, THintController& hints)
        : app_(app), backend_(backend), hints_(hints) {}

    TControl* Capture() const { return capture_; }
    void SetCapture(TControl* c);
    TControl* Under() const { return under_; }  // deepest control under the pointer
    void SetUnder(TControl* c);
    // c (or a control inside it) is hidden, disabled or going: forget it as pressed, captured or
    // under the pointer.
    void Forget(TControl* c);
    void UpdateCursor();

    // A mouse event (move, down, up, wheel) for form.
    void Dispatch(TForm* form, const Event& ev);
    // The pointer left the window.
    void LeftWindow();

    static constexpr int kHoverInterval = 100;
    // c becomes group's hovered control and the group's tick starts afresh; end runs when its
    // hover should end (the control decides whether it does).
    void Hover(const void* group, TControl* c, std::function<void()> end);
    void EndHover(const void* group);            // the hovered control's end runs now
    TControl* Hovered(const void* group) const;  // or nullptr
    void Unhover(TControl* c);                   // c's group stops watching it
    bool HoverTicking(const void* group) const;
    std::vector<TTimer*> HoverTimers() const;  // for tests

private:
    struct HoverSlot {
        const void* group;
        TControl* control = nullptr;
        TComponent::WeakOf<TTimer> timer;
        std::function<void()> end;
    };
    HoverSlot* FindHover(const void* group);
    const HoverSlot* FindHover(const void* group) const;

    TApplication& app_;
    Backend& backend_;
    THintController& hints_;
    // Plain pointers: a control that goes calls Forget first (TControl's destructor).
    TControl* capture_ = nullptr;
    TControl* under_ = nullptr;
    TControl* lastDown_ = nullptr;  // control of the last left press (double-click detection)
    std::uint64_t lastDownTime_ = 0;
    TPoint lastDownPos_{};  // screen
    bool lastDownWasDouble_ = false;
    std::vector<HoverSlot> hovers_;
};

}  // namespace gui
