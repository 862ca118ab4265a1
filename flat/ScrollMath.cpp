#include "flat/ScrollMath.h"

#include <cmath>

namespace flat {

// Computed in extended precision: a half that is exact on paper must stay a half.
int ThumbOffset(int trackLength, int thumbLength, int min, int max, int position) {
    const int free = trackLength - thumbLength;
    if (free <= 0 || max == min) return 0;
    return RoundHalfEven((long double)free / (long double)(max - min) * (long double)position);
}

int ThumbPosition(int offset, int trackLength, int thumbLength, int min, int max) {
    const int free = trackLength - thumbLength;
    if (free <= 0) return 0;  // the thumb cannot move, so it stands for the start
    return RoundHalfEven((long double)offset / (long double)free * (long double)(max - min));
}

int DragThumbOffset(int offset, int pointer, int pressPoint, int trackLength, int thumbLength) {
    int next = offset + pointer - pressPoint;
    if (next < 0) next = 0;
    if (next > trackLength || next + thumbLength > trackLength) next = trackLength - thumbLength;
    return next < 0 ? 0 : next;  // a track shorter than the thumb keeps it at the start
}

}  // namespace flat
