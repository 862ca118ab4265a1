#include "flat/FlatScrollbarButton.h"

#include "gui/Timer.h"

namespace flat {

TFlatScrollbarButton::TFlatScrollbarButton(gui::TComponent* owner) : TFlatButton(owner) {}

TFlatScrollbarButton::~TFlatScrollbarButton() {
    StopTimer();
}

void TFlatScrollbarButton::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    TFlatButton::MouseDown(button, shift, x, y);
    if (!Enabled()) return;
    pressButton_ = button;
    StopTimer();
    timer_ = new gui::TTimer(this);
    timer_->SetInterval(kFirstDelay);
    timer_->SetOnTimer([this](gui::TComponent*) { Tick(); });
    timer_->SetEnabled(true);
    if (OnPress) OnPress(this);
}

void TFlatScrollbarButton::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    const bool held = timer_ != nullptr;
    StopTimer();
    TFlatButton::MouseUp(button, shift, x, y);
    if (held && OnRelease) OnRelease(this);
}

void TFlatScrollbarButton::EnabledChanged() {
    TFlatButton::EnabledChanged();
    if (!Enabled()) StopTimer();
}

void TFlatScrollbarButton::Tick() {
    // Any mouse button repeats; with the left one the pointer must still hold the button down
    // (dragged off, the button shows up and the repeat pauses).
    if (timer_ && timer_->Interval() != kRepeatInterval) timer_->SetInterval(kRepeatInterval);
    if (pressButton_ == gui::mbLeft && State() != TFlatButtonState::Pressed) return;
    if (OnDown) OnDown(this);
}

void TFlatScrollbarButton::StopTimer() {
    // Often inside the timer's own tick (the last step disables the button): it goes afterwards.
    if (timer_) timer_->Free();
    timer_ = nullptr;
}

}  // namespace flat
