#pragma once
// TTimer: a window timer. While enabled with an interval above 0 and an OnTimer handler, it fires
// on the GUI thread from the loop every Interval ms of the backend's clock (a late tick is not
// caught up: the next one is due Interval after it ran). A handler still running (in a nested
// loop) is not entered again.
#include <cstdint>

#include "gui/Control.h"

namespace gui {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    int Interval() const { return interval_; }
    void SetInterval(int ms);
    TNotifyEvent OnTimer;
    void SetOnTimer(TNotifyEvent handler);

    // The framework's side.
    bool Active() const { return enabled_ && interval_ > 0 && OnTimer; }
    std::uint64_t Due() const { return due_; }
    void Fire();  // run OnTimer and schedule the next tick

protected:
    virtual void Timer();
    void Loaded() override;

private:
    void Reschedule();

    bool enabled_ = true;
    int interval_ = 1000;
    std::uint64_t due_ = 0;
    bool running_ = false;
    bool registered_ = false;
};

}  // namespace gui
