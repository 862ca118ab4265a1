#pragma once
// TFlatHover: the hover state of a flat control with a hover look, written once for the button
// and the check box. `inside`: the hover look shows; a control held by its press tracker keeps
// it. The pointer router's hover group of the class (see TPointerRouter) ends the hover on its
// 100 ms tick once the pointer is no longer over the control, and at once when the pointer moves
// onto another control of the group.
#include <functional>

namespace gui {
class TControl;
class TPressTracker;
}  // namespace gui

namespace flat {

class TFlatHover {
public:
    // group: one address per class of controls that share a hover group.
    TFlatHover(gui::TControl& owner, const void* group, const gui::TPressTracker& press,
               std::function<void()> redraw);
    ~TFlatHover();
    TFlatHover(const TFlatHover&) = delete;
    TFlatHover& operator=(const TFlatHover&) = delete;

    bool inside = false;

    // The pointer moved over the control: watch it; markInside shows the hover look.
    void Start(bool markInside);
    // The pointer (or the focus) has gone: the look goes, unless the control is disabled or held.
    void End();
    void Unwatch();
    bool Watched() const;
    bool CursorOver() const;

private:
    gui::TControl& owner_;
    const void* group_;
    const gui::TPressTracker& press_;
    std::function<void()> redraw_;
};

}  // namespace flat
