#include "flat/ButtonLayout.h"

#include <gtest/gtest.h>

namespace flat {
namespace {

using gfx::TPoint;
using gfx::TRect;
using gfx::TSize;

const TRect kClient{0, 0, 60, 40};
const TSize kGlyph{16, 16};
const TSize kText{30, 13};

TEST(ButtonLayout, EachLayoutWithMarginAndSpacing) {
    // Glyph left, centred margin, fixed spacing 4: margin (60 - 50 + 1) div 2 = 5.
    auto r = CalcButtonLayout(kClient, {}, blGlyphLeft, -1, 4, kGlyph, kText);
    EXPECT_EQ(r.GlyphPos, (TPoint{5, 12}));
    EXPECT_EQ(r.TextBounds, (TRect{25, 14, 55, 27}));

    // Glyph right, both -1: margin = spacing = (60 - 46) div 3 = 4.
    r = CalcButtonLayout(kClient, {}, blGlyphRight, -1, -1, kGlyph, kText);
    EXPECT_EQ(r.GlyphPos, (TPoint{40, 12}));
    EXPECT_EQ(r.TextBounds.Left, 6);

    // Glyph top, margin 2, spacing -1: spacing ((40 - 18) - 13) div 2 = 4.
    r = CalcButtonLayout(kClient, {}, blGlyphTop, 2, -1, kGlyph, kText);
    EXPECT_EQ(r.GlyphPos, (TPoint{22, 2}));
    EXPECT_EQ(r.TextBounds, (TRect{15, 22, 45, 35}));

    // Glyph bottom, both -1: (40 - 29) div 3 = 3.
    r = CalcButtonLayout(kClient, {}, blGlyphBottom, -1, -1, kGlyph, kText);
    EXPECT_EQ(r.GlyphPos, (TPoint{22, 21}));
    EXPECT_EQ(r.TextBounds.Top, 5);

    // Glyph left with a fixed margin and fixed spacing.
    r = CalcButtonLayout(kClient, {}, blGlyphLeft, 3, 2, kGlyph, kText);
    EXPECT_EQ(r.GlyphPos.X, 3);
    EXPECT_EQ(r.TextBounds.Left, 21);
}

TEST(ButtonLayout, MissingPartsOffsetsAndNegativeRoom) {
    // Without a caption the spacing is 0 before anything else, so -1 does not share the room
    // in thirds: (40 - 16 + 1) div 2 = 12, not (40 - 16) div 3 = 8.
    auto r = CalcButtonLayout(kClient, {}, blGlyphTop, -1, -1, kGlyph, {});
    EXPECT_EQ(r.GlyphPos, (TPoint{22, 12}));
    r = CalcButtonLayout(kClient, {}, blGlyphTop, -1, 4, kGlyph, {});
    EXPECT_EQ(r.GlyphPos, (TPoint{22, 12}));  // (40 - 16 + 1) div 2
    // The scroll-bar arrow: a 10x9 glyph in a 12x17 button.
    r = CalcButtonLayout({0, 0, 12, 17}, {}, blGlyphTop, -1, 4, {10, 9}, {});
    EXPECT_EQ(r.GlyphPos, (TPoint{1, 4}));

    // Pressed: everything one pixel right and down, on top of the client origin.
    r = CalcButtonLayout({2, 3, 62, 43}, {1, 1}, blGlyphLeft, -1, 4, kGlyph, kText);
    EXPECT_EQ(r.GlyphPos, (TPoint{8, 16}));
    EXPECT_EQ(r.TextBounds, (TRect{28, 18, 58, 31}));

    // A caption wider than the button: div truncates toward zero, (20 - 30 + 1) div 2 = -4.
    r = CalcButtonLayout({0, 0, 20, 20}, {}, blGlyphLeft, -1, 4, {}, kText);
    EXPECT_EQ(r.TextBounds.Left, -4);
    EXPECT_EQ(r.TextBounds.Top, 4);
}

}  // namespace
}  // namespace flat
