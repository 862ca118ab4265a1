#pragma once
// The hover watch that all controls of one flat class share: one 100 ms window timer pointed at
// the control the mouse last moved over. On each tick the class decides whether that control's
// hover has ended (the pointer is no longer over it). Flat buttons have one, flat check boxes
// another.
#include <functional>

namespace gui {
class TControl;
class TTimer;
}  // namespace gui

namespace flat {

class THoverTimer {
public:
    static constexpr int kInterval = 100;

    // tick runs for the watched control on every timer tick.
    explicit THoverTimer(std::function<void(gui::TControl*)> tick);
    ~THoverTimer();

    // Controls of the class register for their lifetime; the timer goes with the last of them.
    void AddUser();
    void RemoveUser(gui::TControl* control);

    gui::TControl* Watched() const { return watched_; }
    // Stop the timer, point it at control, start it again.
    void Watch(gui::TControl* control);
    // Stop watching, if control is the one watched.
    void Unwatch(gui::TControl* control);
    bool Running() const;

private:
    void Tick();

    std::function<void(gui::TControl*)> tick_;
    gui::TTimer* timer_ = nullptr;
    gui::TControl* watched_ = nullptr;
    int users_ = 0;
};

}  // namespace flat
