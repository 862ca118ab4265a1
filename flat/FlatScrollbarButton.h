#pragma once
// TFlatScrollbarButton: an arrow button of the flat scroll bar. While it is held it repeats its
// OnDown every 10 ms on a window timer; the first step comes with the first tick, so a press
// shorter than one tick does nothing.
#include "flat/FlatButton.h"

namespace gui {
class TTimer;
}

namespace flat {

class TFlatScrollbarButton : public TFlatButton {
public:
    static constexpr int kRepeatInterval = 10;

    explicit TFlatScrollbarButton(gui::TComponent* owner);
    ~TFlatScrollbarButton() override;

    gui::TNotifyEvent OnDown;
    bool Repeating() const { return timer_ != nullptr; }

    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;

protected:
    void EnabledChanged() override;

private:
    void Tick();
    void StopTimer();

    gui::TTimer* timer_ = nullptr;
    gui::TMouseButton pressButton_ = gui::mbLeft;
};

}  // namespace flat
