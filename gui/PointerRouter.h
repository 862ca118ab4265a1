#pragma once
// TPointerRouter: where the pointer's events go. It keeps the control under the pointer (enter and
// leave), the capture from press to release, the click (press and release on the same control) and
// the double click (platform time and distance), sends the wheel up the parents from the focused
// control, and sets the cursor.
#include <cstdint>

#include "gui/Component.h"
#include "gui/backend/Backend.h"

namespace gui {

class TApplication;
class TControl;
class TForm;
class THintController;

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

private:
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
};

}  // namespace gui
