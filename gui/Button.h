#pragma once
// TButton: a push button. Enter clicks the Default button (unless another push button has the
// focus), Escape the Cancel button; a click sets the form's ModalResult to ModalResult.
#include "gui/CustomControl.h"
#include "gui/PressTracker.h"

namespace gui {

class TButton : public TCustomControl {
public:
    explicit TButton(TComponent* owner);
    ~TButton() override;

    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    bool Pressed() const { return pressed_; }  // shown pressed (mouse held inside, or Space held)

    void Click() override;
    bool DialogChar(char key) override;
    bool DialogKey(int key, TShiftState shift) override;
    bool IsPushButton() const override { return true; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(int& key, TShiftState shift) override;
    void KeyUp(int& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;
    void TextChanged() override;
    void EnabledChanged() override;

private:
    void SetPressed(bool v);
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
    bool pressed_ = false;
    TPressTracker press_{*this};
};

}  // namespace gui
