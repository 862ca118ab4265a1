#include "flat/HoverTimer.h"

#include "gui/Timer.h"

namespace flat {

THoverTimer::THoverTimer(std::function<void(gui::TControl*)> tick) : tick_(std::move(tick)) {}

THoverTimer::~THoverTimer() {
    delete timer_;
}

void THoverTimer::AddUser() {
    ++users_;
}

void THoverTimer::RemoveUser(gui::TControl* control) {
    Unwatch(control);
    if (--users_ <= 0) {
        users_ = 0;
        delete timer_;
        timer_ = nullptr;
    }
}

void THoverTimer::Watch(gui::TControl* control) {
    if (timer_ == nullptr) {
        // Created on first use rather than with the first control, so that a control made
        // before the application runs does not need the loop yet.
        timer_ = new gui::TTimer(nullptr);
        timer_->SetEnabled(false);
        timer_->SetInterval(kInterval);
        timer_->SetOnTimer([this](gui::TComponent*) { Tick(); });
    }
    timer_->SetEnabled(false);
    watched_ = control;
    timer_->SetEnabled(true);
}

void THoverTimer::Unwatch(gui::TControl* control) {
    if (control == nullptr || control != watched_) return;
    watched_ = nullptr;
    if (timer_) timer_->SetEnabled(false);
}

bool THoverTimer::Running() const {
    return timer_ != nullptr && timer_->Enabled() && watched_ != nullptr;
}

void THoverTimer::Tick() {
    if (watched_ && tick_) tick_(watched_);
}

}  // namespace flat
