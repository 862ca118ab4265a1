#pragma once
// TCustomControl: a windowed control that draws itself: override Paint() and draw on Canvas()
// in client coordinates (the canvas is clipped to the control minus its windowed children).
#include "gui/WinControl.h"

namespace gui {

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;

    TCanvas& Canvas() { return *canvas_; }
    TCanvas* ControlCanvas() override { return canvas_.get(); }

protected:
    TCanvas* SurfaceCanvas(TCanvas& backBuffer) override;

private:
    std::unique_ptr<TCanvas> canvas_;
};

}  // namespace gui
