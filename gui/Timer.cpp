#include "gui/Timer.h"

#include "gui/Host.h"

namespace gui {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    MarkDestroying();
    if (THost* host = Host(); host && registered_) host->UnregisterTimer(this);
}

void TTimer::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Reschedule();
}

void TTimer::SetInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Reschedule();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    OnTimer = std::move(handler);
    Reschedule();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Reschedule();
}

void TTimer::Reschedule() {
    THost* host = Host();
    if (!host) return;
    // Changing anything starts the interval afresh, as re-creating a window timer does.
    due_ = host->TheBackend().Now() + std::uint64_t(interval_ > 0 ? interval_ : 0);
    if (!registered_) {
        host->RegisterTimer(this);
        registered_ = true;
    }
}

void TTimer::Fire() {
    if (running_) return;
    THost* host = Host();
    if (!host) return;
    due_ = host->TheBackend().Now() + std::uint64_t(interval_ > 0 ? interval_ : 1);
    running_ = true;
    TDispatchScope scope;  // a handler that frees this timer (or its owner) leaves it whole until here
    try {
        Timer();
    } catch (...) {
        running_ = false;
        throw;
    }
    running_ = false;
}

void TTimer::Timer() {
    FireEvent(OnTimer, this);
}

}  // namespace gui
