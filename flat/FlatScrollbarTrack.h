#pragma once
// TFlatScrollbarTrack: the part of the flat scroll bar between the arrows. It keeps its own range,
// changes and position (the scroll bar's setters keep them in step) and places the thumb. Keys
// and scroll requests move only the track's position, that is the thumb; the scroll bar's own
// Position follows at the next mouse move over the thumb.
#include "gui/CustomControl.h"

namespace flat {

class TFlatScrollbar;
class TFlatScrollbarThumb;

enum TScrollBarKind { sbHorizontal, sbVertical };

// Scroll request codes (the low word of a scroll message).
enum TScrollCode : int {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};

class TFlatScrollbarTrack : public gui::TCustomControl {
public:
    static constexpr int kThumbLength = 17;

    explicit TFlatScrollbarTrack(gui::TComponent* owner);
    ~TFlatScrollbarTrack() override;

    TFlatScrollbarThumb* Thumb() const { return thumb_; }
    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int v) { smallChange_ = v; }
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int v) { largeChange_ = v; }
    int Position() const { return position_; }
    void SetPosition(int v);  // clamped into Min..Max; places the thumb
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind v);

    // A scroll request (code from TScrollCode; pos for the thumb codes). Answers 0.
    int ScrollRequest(int code, int pos);
    // Page Up/Down, and the arrows along the bar's direction; true when the key was one of them.
    bool ScrollKey(int key);

    void SetBounds(int left, int top, int width, int height) override;

    // From the thumb: it stands for position now (set directly, no clamping, thumb not moved).
    void ThumbMoved(int position);

private:
    friend class TFlatScrollbar;
    void PlaceThumb();
    TFlatScrollbar* Scrollbar() const;

    TFlatScrollbarThumb* thumb_ = nullptr;
    int min_ = 0, max_ = 100, smallChange_ = 1, largeChange_ = 1, position_ = 0;
    TScrollBarKind kind_ = sbVertical;
};

}  // namespace flat
