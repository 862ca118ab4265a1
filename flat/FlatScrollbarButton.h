#pragma once
// TFlatScrollbarButton: an arrow button of the flat scroll bar. A press raises OnPress at once;
// held past kFirstDelay, it repeats its OnDown every 10 ms on a window timer; the release raises
// OnRelease. (Repeating from the first 10 ms tick only, a quick click did nothing at all.)
#include "flat/FlatButton.h"

namespace gui {
class TTimer;
}

namespace flat {

class TFlatScrollbarButton : public TFlatButton {
public:
    static constexpr int kFirstDelay = 300;
    static constexpr int kRepeatInterval = 10;

    explicit TFlatScrollbarButton(gui::TComponent* owner);
    ~TFlatScrollbarButton() override;

    gui::TNotifyEvent OnPress;
    gui::TNotifyEvent OnDown;
    gui::TNotifyEvent OnRelease;
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
