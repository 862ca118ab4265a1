#pragma once
// TTimerEx — a timer component that ticks either from a window timer of the GUI thread or from a
// worker thread (TTimerThread) whose ticks reach the GUI thread through Synchronize, unless
// ThreadSafe lets the worker raise them itself. The owner may destroy it from inside OnTimer.
#include <cstdint>
#include <memory>

#include "base/Exceptions.h"
#include "gui/Component.h"
#include "gui/Control.h"
#include "media/TimerThread.h"

namespace gui {
class TTimer;
}

namespace media {

// The framework's out-of-resources error ("No More Timers Available").
class EOutOfResources : public base::Exception {
public:
    using base::Exception::Exception;
};

class TTimerEx : public gui::TComponent {
public:
    explicit TTimerEx(gui::TComponent* owner);
    // Only a failed allocation could throw here, and that ends the program anyway.
    ~TTimerEx() override;  // NOLINT(bugprone-exception-escape)

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t ms);
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool v);
    TThreadPriority ThreadPriority() const { return priority_; }
    void SetThreadPriority(TThreadPriority p);
    // Read by the worker at each tick: True raises OnTimer on the worker thread itself.
    bool ThreadSafe() const { return threadSafe_; }
    void SetThreadSafe(bool v);

    // Assign through SetOnTimer, which (re)starts the timer.
    gui::TNotifyEvent OnTimer;
    void SetOnTimer(gui::TNotifyEvent handler);

    // A tick is armed: a window timer is set or the worker runs.
    bool Running() const;

protected:
    friend class TTimerThread;
    virtual void FireTimer();

private:
    void UpdateTimer();
    void WindowTick();
    void ReleaseTimerWindow();

    bool enabled_ = true;
    uint32_t interval_ = 1000;
    bool threaded_ = false;
    TThreadPriority priority_ = tpNormal;
    bool threadSafe_ = false;
    std::shared_ptr<TTimerThread> worker_;
    std::unique_ptr<gui::TTimer> timerWindow_;
    bool windowTimerSet_ = false;
};

}  // namespace media
