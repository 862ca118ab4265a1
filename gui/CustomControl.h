#pragma once
// TCustomControl: a windowed control that draws itself: override Paint() and draw on Canvas()
// in client coordinates (clipped to the control; windowed children are painted after it).
#include "gui/WinControl.h"

namespace gui {

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;

    // During Paint() the surface being painted; otherwise the control's place on its form.
    TCanvas& Canvas() { return SurfaceCanvas(); }
    TCanvas* ControlCanvas() override { return &SurfaceCanvas(); }

protected:
    bool HasCanvas() const override { return true; }
};

}  // namespace gui
