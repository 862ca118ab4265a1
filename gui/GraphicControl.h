#pragma once
// TGraphicControl: a control without a window of its own. It paints on its parent's surface, in
// z-order with its graphic siblings and below the parent's windowed children; during Paint() and
// PaintNow() its Canvas() draws there, in the control's client coordinates, clipped to it.
#include "gui/Control.h"

namespace gui {

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    TCanvas& Canvas() { return *canvas_; }
    TCanvas* ControlCanvas() override { return canvas_.get(); }

protected:
    void PaintAt(TCanvas& canvas, TPoint origin, const TRect& clip) override;

private:
    std::unique_ptr<TCanvas> canvas_;
};

}  // namespace gui
