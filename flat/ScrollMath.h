#pragma once
// Thumb arithmetic of the flat scroll bar, free of any window so that placement and dragging can
// be checked at the ends and in the middle of the range.

#include "base/Round.h"

namespace flat {

// Every placement below rounds halves to even.
using base::RoundHalfEven;

// Offset of the thumb along the track: free ÷ (max − min) × position, where free is the track
// length minus the thumb length. Min enters only through the range. A track no longer than the
// thumb, or an empty range, leaves the thumb at 0.
int ThumbOffset(int trackLength, int thumbLength, int min, int max, int position);

// Position that a thumb standing at `offset` stands for: offset ÷ free × (max − min).
int ThumbPosition(int offset, int trackLength, int thumbLength, int min, int max);

// New offset while dragging: the current offset moved by the pointer's travel since the press,
// kept inside the track.
int DragThumbOffset(int offset, int pointer, int pressPoint, int trackLength, int thumbLength);

}  // namespace flat
