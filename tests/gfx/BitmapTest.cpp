#include "gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "gfx/Canvas.h"
#include "gfx/GraphicError.h"

using namespace gfx;

TEST(Bitmap, StorageLayoutsAndPixelAccess) {
    TBitmap b(3, 2);
    EXPECT_EQ(b.Stride(), 12);
    b.SetPixel(1, 0, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(b.Row32(0)[1], 0x00112233u);  // 0x00RRGGBB in memory order B, G, R, 0
    EXPECT_EQ(b.Pixel(1, 0), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_EQ(b.Pixel(3, 0), clInvalid);
    EXPECT_EQ(b.Pixel(-1, 0), clInvalid);
    b.SetPixel(5, 5, clRed);  // ignored
    EXPECT_THROW(b.ScanLine(2), EInvalidGraphic);
    b.SetPixel(0, 1, clBtnFace);  // system colours resolve when stored
    EXPECT_EQ(b.Pixel(0, 1), GetSysColor(15));

    TBitmap m(10, 1, pf1bit);
    EXPECT_EQ(m.Stride(), 4);
    m.SetPixelIndex(0, 0, 0);
    m.SetPixelIndex(9, 0, 0);
    EXPECT_EQ(m.Row8(0)[0], 0x7F);  // leftmost pixel is the top bit
    EXPECT_EQ(m.Row8(0)[1], 0xBF);
    EXPECT_EQ(m.Pixel(0, 0), clBlack);
    m.SetPixel(1, 0, RGB(30, 30, 30));  // nearest palette entry
    EXPECT_EQ(m.PixelIndex(1, 0), 0);

    // Resizing keeps the overlapping part; new area is white.
    b.SetSize(4, 3);
    EXPECT_EQ(b.Pixel(1, 0), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(b.Pixel(3, 2), clWhite);
    b.SetWidth(0);
    EXPECT_TRUE(b.Empty());
    b.SetWidth(2);  // the height survived the empty phase
    EXPECT_EQ(b.Height(), 3);

    // Format conversion to mono compares with the brush colour; back to colour keeps black/white.
    TBitmap c(3, 1);
    c.SetPixel(0, 0, clRed);
    c.SetPixel(2, 0, clBlack);
    c.Canvas().Brush().SetColor(clBlack);
    c.SetPixelFormat(pf1bit);
    EXPECT_EQ(c.PixelIndex(0, 0), 0);
    EXPECT_EQ(c.PixelIndex(2, 0), 1);
    c.SetPixelFormat(pf32bit);
    EXPECT_EQ(c.Pixel(2, 0), clWhite);

    // Copies are deep and keep the transparency settings; the canvas follows resizes.
    TBitmap a(2, 2);
    a.SetTransparentColor(clLime);
    a.SetTransparent(true);
    TBitmap copy = a;
    a.SetPixel(0, 0, clRed);
    EXPECT_EQ(copy.Pixel(0, 0), clWhite);
    EXPECT_EQ(copy.TransparentColor(), clLime);
    a.Canvas();
    a.SetSize(5, 5);
    a.Canvas().Brush().SetColor(clBlue);
    a.Canvas().FillRect({0, 0, 5, 5});
    EXPECT_EQ(a.Pixel(4, 4), clBlue);
}

TEST(Bitmap, PalettePicturesBecomeTheirColoursAndMovesTakeThePixels) {
    // 8-bit, a width that pads its rows, every entry of a palette of its own used.
    TBitmap p(13, 3, pf8bit);
    std::vector<TColor> palette(256);
    for (int i = 0; i < 256; ++i) palette[size_t(i)] = RGB(i, 255 - i, (i * 7) & 0xFF);
    p.SetPalette(palette);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 13; ++x) p.SetPixelIndex(x, y, (y * 13 + x) * 5 % 256);
    p.SetPixelFormat(pf32bit);
    ASSERT_TRUE(p.Is32());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 13; ++x)
            EXPECT_EQ(p.Pixel(x, y), palette[size_t((y * 13 + x) * 5 % 256)]) << x << "," << y;

    // 1-bit across a byte boundary.
    TBitmap m(10, 2, pf1bit);
    for (int x = 0; x < 10; ++x) m.SetPixelIndex(x, 1, x % 3 == 0 ? 0 : 1);
    m.SetPixelFormat(pf32bit);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(m.Pixel(x, 0), clWhite);
        EXPECT_EQ(m.Pixel(x, 1), x % 3 == 0 ? clBlack : clWhite) << x;
    }

    // A move leaves the source empty; the target's canvas draws on the new size.
    TBitmap target(1, 1);
    target.Canvas();
    p.SetTransparentColor(clLime);
    target.Assign(std::move(p));
    EXPECT_TRUE(p.Empty());  // NOLINT(bugprone-use-after-move): the moved-from state is under test
    EXPECT_EQ(target.Width(), 13);
    EXPECT_EQ(target.Pixel(12, 2), palette[size_t((2 * 13 + 12) * 5 % 256)]);
    EXPECT_EQ(target.TransparentColor(), clLime);
    target.Canvas().Brush().SetColor(clBlue);
    target.Canvas().FillRect({0, 0, 13, 3});
    EXPECT_EQ(target.Pixel(12, 2), clBlue);
}
