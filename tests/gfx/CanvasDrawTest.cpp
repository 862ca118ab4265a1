#include <gtest/gtest.h>

#include <string>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

using namespace gfx;

namespace {
// Row of a bitmap as text: '#' for pen-coloured pixels, '.' otherwise.
std::string Row(const TBitmap& b, int y, TColor ink = clBlack) {
    std::string s;
    for (int x = 0; x < b.Width(); ++x) s += b.Pixel(x, y) == ink ? '#' : '.';
    return s;
}
}  // namespace

TEST(CanvasDraw, LinesExcludeTheirEndPoint) {
    TBitmap b(8, 8);
    TCanvas& c = b.Canvas();
    c.MoveTo(1, 1);
    c.LineTo(5, 1);
    EXPECT_EQ(Row(b, 1), ".####...");
    EXPECT_EQ(c.PenPos(), Point(5, 1));
    c.MoveTo(6, 6);
    c.LineTo(6, 2);  // upwards: 6..3, not 2
    for (int y = 3; y <= 6; ++y) EXPECT_EQ(b.Pixel(6, y), clBlack) << y;
    EXPECT_EQ(b.Pixel(6, 2), clWhite);
    c.MoveTo(0, 3);
    c.LineTo(3, 6);
    EXPECT_EQ(b.Pixel(0, 3), clBlack);
    EXPECT_EQ(b.Pixel(2, 5), clBlack);
    EXPECT_EQ(b.Pixel(3, 6), clWhite);
    // A closed polyline draws every corner once.
    TBitmap q(5, 5);
    TPoint pts[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}};
    q.Canvas().Polyline(pts);
    EXPECT_EQ(Row(q, 0), "#####");
    EXPECT_EQ(Row(q, 2), "#...#");
    EXPECT_EQ(Row(q, 4), "#####");
}

TEST(CanvasDraw, DottedPenAndPenModes) {
    TBitmap b(12, 1);
    b.Canvas().Pen().SetStyle(psDot);
    b.Canvas().Brush().SetStyle(bsClear);
    b.Canvas().MoveTo(0, 0);
    b.Canvas().LineTo(12, 0);
    EXPECT_EQ(Row(b, 0), "###...###...");
    // With an opaque background the gaps take the brush colour.
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().MoveTo(0, 0);
    b.Canvas().LineTo(6, 0);
    EXPECT_EQ(b.Pixel(4, 0), clRed);
    // XOR pen twice restores the picture.
    TBitmap x(4, 1);
    x.Canvas().Pen().SetMode(pmXor);
    x.Canvas().Pen().SetColor(0x00FF00);
    x.Canvas().MoveTo(0, 0);
    x.Canvas().LineTo(4, 0);
    EXPECT_EQ(x.Pixel(1, 0), TColor(0xFF00FF));
    x.Canvas().MoveTo(0, 0);
    x.Canvas().LineTo(4, 0);
    EXPECT_EQ(x.Pixel(1, 0), clWhite);
}

TEST(CanvasDraw, EllipsesAndWidePens) {
    TBitmap b(9, 9);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(clRed);
    c.Brush().SetColor(clBlack);
    c.Ellipse(0, 0, 9, 9);
    EXPECT_EQ(b.Pixel(4, 4), clBlack);
    EXPECT_EQ(b.Pixel(4, 0), clRed);  // outline at the extremes
    EXPECT_EQ(b.Pixel(0, 4), clRed);
    EXPECT_EQ(b.Pixel(8, 4), clRed);
    EXPECT_EQ(b.Pixel(0, 0), clWhite);  // corners stay outside
    EXPECT_EQ(b.Pixel(8, 8), clWhite);

    TBitmap w(8, 7);
    w.Canvas().Pen().SetWidth(3);
    w.Canvas().MoveTo(1, 3);
    w.Canvas().LineTo(6, 3);
    EXPECT_EQ(Row(w, 1), "........");
    // Three rows thick; the pen square sticks out half its width beyond both ends.
    for (int y = 2; y <= 4; ++y) EXPECT_EQ(Row(w, y), "#######.") << y;
    EXPECT_EQ(Row(w, 5), "........");
}

TEST(CanvasDraw, PolygonFillUsesAlternateRule) {
    TBitmap b(100, 100);
    TCanvas& c = b.Canvas();
    c.Pen().SetStyle(psClear);
    c.Brush().SetColor(clBlack);
    TPoint star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    c.Polygon(star);
    EXPECT_EQ(b.Pixel(50, 55), clWhite);  // the pentagon in the middle is crossed twice
    EXPECT_EQ(b.Pixel(50, 15), clBlack);  // top arm
    EXPECT_EQ(b.Pixel(15, 40), clBlack);  // left arm
    EXPECT_EQ(b.Pixel(5, 80), clWhite);   // outside

    // Without a pen the right and bottom edges stay out; with one the outline closes.
    TBitmap s(8, 8);
    s.Canvas().Pen().SetStyle(psClear);
    s.Canvas().Brush().SetColor(clBlack);
    TPoint sq[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
    s.Canvas().Polygon(sq);
    EXPECT_EQ(Row(s, 1), ".####...");
    EXPECT_EQ(Row(s, 4), ".####...");
    EXPECT_EQ(Row(s, 5), "........");
    TBitmap t(6, 6);
    t.Canvas().Pen().SetColor(clRed);
    t.Canvas().Brush().SetColor(clBlack);
    TPoint tri[] = {{0, 0}, {4, 0}, {0, 4}};
    t.Canvas().Polygon(tri);
    EXPECT_EQ(t.Pixel(4, 0), clRed);
    EXPECT_EQ(t.Pixel(0, 4), clRed);
    EXPECT_EQ(t.Pixel(1, 1), clBlack);
}

TEST(CanvasDraw, RectanglesFramesOriginClipAndSavedState) {
    TBitmap b(8, 6);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(clRed);
    c.Brush().SetColor(clBlack);
    c.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(Row(b, 1, clRed), ".#####..");
    EXPECT_EQ(Row(b, 4, clRed), ".#####..");
    EXPECT_EQ(Row(b, 2, clBlack), "..###...");
    // No pen: the fill stops one short on the right and bottom.
    TBitmap n(6, 6);
    n.Canvas().Pen().SetStyle(psClear);
    n.Canvas().Brush().SetColor(clBlack);
    n.Canvas().Rectangle(0, 0, 4, 4);
    EXPECT_EQ(Row(n, 0), "###...");
    EXPECT_EQ(Row(n, 3), "......");

    TBitmap f(6, 6);
    TCanvas& fc = f.Canvas();
    fc.Brush().SetColor(clBlack);
    int level = fc.SaveState();
    fc.SetOrigin(2, 1);
    fc.IntersectClip({0, 0, 3, 3});  // device 2..5 x 1..4
    fc.FrameRect({-1, -1, 2, 5});    // device 1..4 x 0..6: only the right edge (x 3) lies in the clip
    EXPECT_EQ(Row(f, 0), "......");
    EXPECT_EQ(Row(f, 1), "...#..");
    EXPECT_EQ(Row(f, 3), "...#..");
    EXPECT_EQ(Row(f, 4), "......");
    EXPECT_EQ(fc.ClipRect(), Rect(0, 0, 3, 3));
    fc.RestoreState(level);
    EXPECT_EQ(fc.Origin(), Point(0, 0));
    fc.FillRect({0, 5, 6, 6});
    EXPECT_EQ(Row(f, 5), "######");
    EXPECT_EQ(fc.Pixel(100, 100), clInvalid);
}

TEST(CanvasDraw, StretchModesShrinkAndGrowDifferently) {
    TBitmap src(4, 1);
    src.SetPixel(0, 0, clBlack);
    src.SetPixel(3, 0, clBlack);  // black, white, white, black
    auto shrink = [&](int mode) {
        TBitmap dst(2, 1);
        dst.Canvas().SetStretchBltMode(mode);
        dst.Canvas().StretchBlt(0, 0, 2, 1, src.Canvas(), 0, 0, 4, 1, SRCCOPY);
        return std::pair{dst.Pixel(0, 0), dst.Pixel(1, 0)};
    };
    EXPECT_EQ(shrink(BLACKONWHITE), std::pair(clBlack, clBlack));
    EXPECT_EQ(shrink(WHITEONBLACK), std::pair(clWhite, clWhite));
    EXPECT_EQ(shrink(COLORONCOLOR), std::pair(clWhite, clBlack));  // one sample per pixel
    auto [h0, h1] = shrink(HALFTONE);
    EXPECT_EQ(h0, RGB(128, 128, 128));  // the average of black and white
    EXPECT_EQ(h1, h0);

    TBitmap big(8, 2);
    big.Canvas().SetStretchBltMode(COLORONCOLOR);
    big.Canvas().StretchBlt(0, 0, 8, 2, src.Canvas(), 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(Row(big, 0), "##....##");
    EXPECT_EQ(Row(big, 1), "##....##");
    // Mirrored by a negative width.
    TBitmap mir(4, 1);
    TBitmap ramp(4, 1);
    ramp.SetPixel(0, 0, clRed);
    mir.Canvas().SetStretchBltMode(COLORONCOLOR);
    mir.Canvas().StretchBlt(3, 0, -4, 1, ramp, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(mir.Pixel(3, 0), clRed);
    EXPECT_EQ(mir.Pixel(0, 0), clWhite);
    // Monochrome shrink with WHITEONBLACK keeps the white bits.
    TBitmap mono(4, 1, pf1bit);
    mono.SetPixelIndex(0, 0, 0);
    mono.SetPixelIndex(1, 0, 1);
    mono.SetPixelIndex(2, 0, 0);
    mono.SetPixelIndex(3, 0, 0);
    TBitmap small(2, 1, pf1bit);
    small.Canvas().SetStretchBltMode(WHITEONBLACK);
    small.Canvas().StretchBlt(0, 0, 2, 1, mono, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(small.PixelIndex(0, 0), 1);
    EXPECT_EQ(small.PixelIndex(1, 0), 0);
}
