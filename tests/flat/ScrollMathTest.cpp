#include "flat/ScrollMath.h"

#include <gtest/gtest.h>

namespace flat {
namespace {

TEST(ScrollMath, RoundingIsHalfToEven) {
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(3.5L), 4);
    EXPECT_EQ(RoundHalfEven(-2.5L), -2);
    EXPECT_EQ(RoundHalfEven(2.4999L), 2);
    EXPECT_EQ(RoundHalfEven(2.5001L), 3);
}

TEST(ScrollMath, ThumbPlacementAtEndsAndMiddle) {
    // The menu's bar: 148 high, track 114, thumb 17, range 0..100.
    EXPECT_EQ(ThumbOffset(114, 17, 0, 100, 0), 0);
    EXPECT_EQ(ThumbOffset(114, 17, 0, 100, 100), 97);
    EXPECT_EQ(ThumbOffset(114, 17, 0, 100, 50), 48);  // 48.5 goes to the even side
    EXPECT_EQ(ThumbOffset(114, 17, 0, 100, 51), 49);
    // Exact halves: free 10 over a range of 4.
    EXPECT_EQ(ThumbOffset(27, 17, 0, 4, 1), 2);
    EXPECT_EQ(ThumbOffset(27, 17, 0, 4, 3), 8);
    // Min counts only through the range.
    EXPECT_EQ(ThumbOffset(27, 17, 2, 6, 3), 8);
    // No room to move, or no range: the start.
    EXPECT_EQ(ThumbOffset(17, 17, 0, 100, 80), 0);
    EXPECT_EQ(ThumbOffset(10, 17, 0, 100, 80), 0);
    EXPECT_EQ(ThumbOffset(114, 17, 5, 5, 5), 0);
}

TEST(ScrollMath, PositionFromThumbOffset) {
    EXPECT_EQ(ThumbPosition(0, 114, 17, 0, 100), 0);
    EXPECT_EQ(ThumbPosition(97, 114, 17, 0, 100), 100);
    EXPECT_EQ(ThumbPosition(48, 114, 17, 0, 100), 49);  // not the 50 that put it there
    EXPECT_EQ(ThumbPosition(1, 21, 17, 0, 10), 2);      // 2.5
    EXPECT_EQ(ThumbPosition(3, 21, 17, 0, 10), 8);      // 7.5
    EXPECT_EQ(ThumbPosition(0, 17, 17, 0, 10), 0);
}

TEST(ScrollMath, DraggingIsClampedToTheTrack) {
    EXPECT_EQ(DragThumbOffset(50, 10, 5, 114, 17), 55);
    EXPECT_EQ(DragThumbOffset(50, -100, 5, 114, 17), 0);
    EXPECT_EQ(DragThumbOffset(50, 60, 5, 114, 17), 97);  // would stick out past the end
    EXPECT_EQ(DragThumbOffset(50, 52, 5, 114, 17), 97);  // exactly at the end
    EXPECT_EQ(DragThumbOffset(96, 2, 0, 114, 17), 97);
    EXPECT_EQ(DragThumbOffset(0, 5, 0, 12, 17), 0);  // track shorter than the thumb
}

}  // namespace
}  // namespace flat
