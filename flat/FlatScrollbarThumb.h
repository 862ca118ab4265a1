#pragma once
// TFlatScrollbarThumb: the draggable flat button on the scroll bar's track. Every mouse move over
// it — dragging or not — turns its place back into a position and reports it through the scroll
// bar's OnScroll.
#include "flat/FlatButton.h"

namespace flat {

class TFlatScrollbarTrack;

class TFlatScrollbarThumb : public TFlatButton {
public:
    explicit TFlatScrollbarThumb(gui::TComponent* owner);
    ~TFlatScrollbarThumb() override;

    bool Dragging() const { return dragging_; }

    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;

private:
    TFlatScrollbarTrack* Track() const;

    bool dragging_ = false;
    gfx::TPoint pressPoint_{};
};

}  // namespace flat
