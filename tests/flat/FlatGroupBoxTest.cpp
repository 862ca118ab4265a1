#include "flat/FlatGroupBox.h"

#include "tests/flat/FlatFixture.h"

namespace flat {
namespace {

using gfx::RGB;
using FlatGroupBoxTest = testing::FlatFixture;

TEST_F(FlatGroupBoxTest, LinesLeaveAGapForTheCaption) {
    const gfx::TColor line = RGB(160, 150, 131), face = RGB(200, 210, 220);
    auto* gb = Add<TFlatGroupBox>(10, 10, 185, 105);
    gb->SetColor(face);
    gb->SetCaption("Programm");
    gfx::TBitmap scratch(1, 1);
    scratch.Canvas().SetFont(gb->Font());
    const int th = scratch.Canvas().TextHeight("Programm");
    const int tw = scratch.Canvas().TextWidth("Programm");
    const int y = 10 + th / 2;

    EXPECT_EQ(Pixel(10, y), line);  // the short piece left of the caption
    EXPECT_EQ(Pixel(15, y), line);
    EXPECT_EQ(Pixel(10 + tw + 13, y), line);  // the line resumes after the gap
    EXPECT_EQ(Pixel(10 + tw + 12, y), face);  // its end point is not drawn
    EXPECT_EQ(Pixel(10, 10 + 104), line);     // full frame: left, bottom, right
    EXPECT_EQ(Pixel(100, 10 + 104), line);
    EXPECT_EQ(Pixel(194, 60), line);
    EXPECT_EQ(Pixel(100, 60), face);

    gb->SetBorder(brOnlyTopLine);
    EXPECT_EQ(Pixel(10, 60), face);
    EXPECT_EQ(Pixel(100, 10 + 104), face);
    EXPECT_EQ(Pixel(194, y), line);
    EXPECT_EQ(Pixel(10 + tw + 13, y), line);

    gb->SetBiDiMode(bdRightToLeft);  // the gap moves next to the right edge
    EXPECT_EQ(Pixel(10 + 185 - tw - 13, y), line);
    EXPECT_EQ(Pixel(10 + 185 - 3, y), line);
    EXPECT_EQ(Pixel(10 + 185 - 8, y), face);

    // Transparent: the form shows through everywhere but the lines and the caption.
    gb->SetTransparent(true);
    EXPECT_EQ(Pixel(100, 60), kFormColor);
}

}  // namespace
}  // namespace flat
