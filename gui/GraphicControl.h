#pragma once
// TGraphicControl: a control without a window of its own. It paints on its parent's surface, in
// z-order with its graphic siblings and below the parent's windowed children; during Paint() its
// Canvas() draws there, in the control's client coordinates, clipped to it.
#include "gui/Control.h"

namespace gui {

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    // During Paint() the surface being painted; otherwise the control's place on its form.
    TCanvas& Canvas() { return SurfaceCanvas(); }
    TCanvas* ControlCanvas() override { return &SurfaceCanvas(); }

protected:
    bool HasCanvas() const override { return true; }
};

}  // namespace gui
