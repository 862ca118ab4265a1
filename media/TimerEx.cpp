#include "media/TimerEx.h"

#include <algorithm>
#include <vector>

#include "gui/Application.h"
#include "gui/Timer.h"

namespace media {

namespace {

// Window timers whose TTimerEx was destroyed from inside their own tick: the framework's timer is
// still on the stack then, so it is freed at the next safe moment instead.
std::vector<std::unique_ptr<gui::TTimer>>& Graveyard() {
    static std::vector<std::unique_ptr<gui::TTimer>> graves;
    return graves;
}

thread_local gui::TTimer* t_firing = nullptr;

}  // namespace

TTimerEx::TTimerEx(gui::TComponent* owner) : gui::TComponent(owner) {
    UpdateTimer();
}

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
    if (t_firing == timerWindow_.get())
        Graveyard().push_back(std::move(timerWindow_));  // never fires again
    else
        timerWindow_.reset();
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
    if (!enabled_ || !OnTimer) return;
    auto handler = OnTimer;  // the handler may destroy this timer
    handler(this);
}

void TTimerEx::WindowTick() {
    if (!Graveyard().empty()) {
        // Only graves of other timers can be freed here; ours is running.
        auto& graves = Graveyard();
        std::erase_if(graves, [](const auto& t) { return t.get() != t_firing; });
    }
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
                gui::TTimer* raw = timerWindow_.get();
                timerWindow_->OnTimer = [this, raw](gui::TComponent*) {
                    gui::TTimer* outer = t_firing;
                    t_firing = raw;
                    WindowTick();  // may destroy this TTimerEx
                    t_firing = outer;
                };
            }
            timerWindow_->SetInterval(static_cast<int>(std::min<uint32_t>(interval_, 0x7FFFFFFF)));
            timerWindow_->SetEnabled(true);
            windowTimerSet_ = true;
        }
    }
}

}  // namespace media
