#include "media/TimerEx.h"

#include <algorithm>

#include "gui/Application.h"
#include "gui/Timer.h"

namespace media {

TTimerEx::TTimerEx(gui::TComponent* owner) : gui::TComponent(owner) {
    UpdateTimer();
}

// Only a failed allocation could throw here, and that ends the program anyway.
// NOLINTNEXTLINE(bugprone-exception-escape)
TTimerEx::~TTimerEx() {
    enabled_ = false;
    UpdateTimer();
    if (worker_) {
        worker_->Terminate();
        worker_->Resume();
        worker_.reset();
    }
    ReleaseTimerWindow();
}

void TTimerEx::ReleaseTimerWindow() {
    if (!timerWindow_) return;
    timerWindow_->SetEnabled(false);
    // Also from inside its own tick: Free() leaves the framework's timer whole until its tick ends.
    timerWindow_.release()->Free();
    windowTimerSet_ = false;
}

void TTimerEx::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    UpdateTimer();
}

void TTimerEx::SetInterval(uint32_t ms) {
    if (ms == interval_) return;
    interval_ = ms;
    UpdateTimer();
}

void TTimerEx::SetThreaded(bool v) {
    if (v == threaded_) return;
    threaded_ = v;
    UpdateTimer();
}

void TTimerEx::SetThreadPriority(TThreadPriority p) {
    if (p == priority_) return;
    priority_ = p;
    if (threaded_) UpdateTimer();
}

void TTimerEx::SetThreadSafe(bool v) {
    threadSafe_ = v;
    if (worker_) worker_->SetThreadSafe(v);
}

void TTimerEx::SetOnTimer(gui::TNotifyEvent handler) {
    OnTimer = std::move(handler);
    UpdateTimer();
}

bool TTimerEx::Running() const {
    return threaded_ ? worker_ && !worker_->Suspended() : windowTimerSet_;
}

void TTimerEx::FireTimer() {
    if (!enabled_) return;
    gui::FireEvent(OnTimer, this);
}

void TTimerEx::WindowTick() {
    try {
        FireTimer();
    } catch (...) {
        // Shown to the user; the ticks go on.
        if (gui::Application) gui::Application->HandleException(this);
    }
}

void TTimerEx::UpdateTimer() {
    if (worker_ && !worker_->Suspended()) worker_->Suspend();
    if (timerWindow_) {
        timerWindow_->SetEnabled(false);
        windowTimerSet_ = false;
    }

    if (threaded_) {
        ReleaseTimerWindow();
        if (!worker_) worker_ = TTimerThread::Create(this);
    } else {
        if (worker_) {
            worker_->Terminate();
            worker_->Resume();
            worker_.reset();
        }
        // The framework's timer stands in for the hidden timer window; it is made when first armed.
    }

    if (interval_ != 0 && enabled_ && OnTimer) {
        if (threaded_) {
            worker_->SetInterval(interval_);
            worker_->SetThreadSafe(threadSafe_);
            worker_->SetPriority(priority_);
            worker_->Resume();
        } else {
            if (!gui::Application) throw EOutOfResources("No More Timers Available");
            if (!timerWindow_) {
                timerWindow_ = std::make_unique<gui::TTimer>(nullptr);
                timerWindow_->SetEnabled(false);
                timerWindow_->OnTimer = [this](gui::TComponent*) { WindowTick(); };  // may destroy this
            }
            timerWindow_->SetInterval(static_cast<int>(std::min<uint32_t>(interval_, 0x7FFFFFFF)));
            timerWindow_->SetEnabled(true);
            windowTimerSet_ = true;
        }
    }
}

}  // namespace media
