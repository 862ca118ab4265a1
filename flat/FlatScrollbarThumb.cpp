#include "flat/FlatScrollbarThumb.h"

#include "flat/FlatScrollbarTrack.h"
#include "flat/ScrollMath.h"

namespace flat {

TFlatScrollbarThumb::TFlatScrollbarThumb(gui::TComponent* owner) : TFlatButton(owner) {}

TFlatScrollbarThumb::~TFlatScrollbarThumb() = default;

TFlatScrollbarTrack* TFlatScrollbarThumb::Track() const {
    return dynamic_cast<TFlatScrollbarTrack*>(Parent());
}

void TFlatScrollbarThumb::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    TFlatButton::MouseDown(button, shift, x, y);
    if (button == gui::mbLeft) dragging_ = true;
    pressPoint_ = {x, y};
}

void TFlatScrollbarThumb::MouseMove(gui::TShiftState shift, int x, int y) {
    TFlatButton::MouseMove(shift, x, y);
    TFlatScrollbarTrack* track = Track();
    if (track == nullptr) return;
    const bool vertical = track->Kind() == sbVertical;
    const int trackLength = vertical ? track->Height() : track->Width();
    const int thumbLength = vertical ? Height() : Width();
    if (dragging_) {
        const int offset = vertical ? Top() : Left();
        const int next = DragThumbOffset(offset, vertical ? y : x, vertical ? pressPoint_.Y : pressPoint_.X,
                                         trackLength, thumbLength);
        if (vertical) {
            SetTop(next);
        } else {
            SetLeft(next);
        }
    }
    const int offset = vertical ? Top() : Left();
    track->ThumbMoved(ThumbPosition(offset, trackLength, thumbLength, track->Min(), track->Max()));
}

void TFlatScrollbarThumb::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    dragging_ = false;
    TFlatButton::MouseUp(button, shift, x, y);
}

}  // namespace flat
