#include "flat/FlatUtils.h"

#include <gtest/gtest.h>

#include "flat/FlatGraphics.h"
#include "flat/HslColor.h"
#include "gfx/Hsl.h"

namespace flat {
namespace {

using gfx::RGB;
using gfx::TColor;

int Lightness(TColor c) {
    return gfx::ColorToHsl(c).l;
}

TEST(FlatColors, AdvancedColorOfALightBaseCanComeOutDarker) {
    const TColor light = RGB(235, 234, 225);  // lightness well above 100 of 240
    const TColor lighter = CalcAdvancedColor(light, gfx::clWhite, 10, ctLighten);
    EXPECT_LT(Lightness(lighter), Lightness(light));
    EXPECT_EQ(Lightness(lighter), 100);  // capped
    // The hue survives the round trip.
    EXPECT_NEAR(gfx::ColorToHsl(lighter).h, gfx::ColorToHsl(light).h, 2);

    // A dark base lightened really gets lighter: lightness + 10 + percent.
    const TColor dark = RGB(40, 30, 20);
    EXPECT_NEAR(Lightness(CalcAdvancedColor(dark, 0, 20, ctLighten)), Lightness(dark) + 30, 1);
    // Darkening stops at black.
    EXPECT_EQ(CalcAdvancedColor(dark, 0, 100, ctDarken) & 0xFFFFFF, gfx::clBlack);
    // Percentage 0 keeps the current colour, whatever the base.
    EXPECT_EQ(CalcAdvancedColor(dark, RGB(1, 2, 3), 0, ctDarken), RGB(1, 2, 3));
    // System colours are resolved first.
    EXPECT_EQ(CalcAdvancedColor(gfx::clBtnFace, 0, 30, ctDarken),
              CalcAdvancedColor(gfx::ColorToRGB(gfx::clBtnFace), 0, 30, ctDarken));
}

TEST(FlatDrawing, BevelFrameAndDisabledGlyph) {
    gfx::TBitmap bmp(6, 5);
    gfx::TCanvas& canvas = bmp.Canvas();
    canvas.Brush().SetColor(gfx::clGreen);
    canvas.FillRect({0, 0, 6, 5});
    DrawBevel(canvas, {0, 0, 6, 5}, gfx::clWhite, 2, gfx::clBlack);
    EXPECT_EQ(bmp.Pixel(0, 0), gfx::clWhite);
    EXPECT_EQ(bmp.Pixel(4, 0), gfx::clWhite);
    EXPECT_EQ(bmp.Pixel(5, 0), gfx::clBlack);  // far corners go to the bottom-right colour
    EXPECT_EQ(bmp.Pixel(0, 4), gfx::clBlack);
    EXPECT_EQ(bmp.Pixel(0, 3), gfx::clWhite);
    EXPECT_EQ(bmp.Pixel(1, 1), gfx::clWhite);  // second ring
    EXPECT_EQ(bmp.Pixel(4, 1), gfx::clBlack);
    EXPECT_EQ(bmp.Pixel(2, 2), gfx::clGreen);
    EXPECT_EQ(canvas.Brush().Color(), gfx::clGreen);  // the canvas is left as it was

    DrawFrame(canvas, {0, 0, 6, 5}, gfx::clRed, 1);
    EXPECT_EQ(bmp.Pixel(5, 4), gfx::clRed);
    EXPECT_EQ(bmp.Pixel(1, 1), gfx::clWhite);

    // Disabled glyph: the black shape embossed on the button face.
    gfx::SetSysColor(15, RGB(200, 200, 200));
    gfx::SetSysColor(20, RGB(255, 255, 255));
    gfx::SetSysColor(16, RGB(100, 100, 100));
    gfx::TBitmap glyph(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) glyph.SetPixel(x, y, gfx::clYellow);
    glyph.SetPixel(1, 1, gfx::clBlack);
    glyph.SetPixel(3, 3, gfx::clBlack);
    gfx::TBitmap disabled = CreateDisabledGlyph(glyph);
    EXPECT_EQ(disabled.Width(), 4);
    EXPECT_EQ(disabled.Pixel(0, 0), RGB(200, 200, 200));
    EXPECT_EQ(disabled.Pixel(1, 1), RGB(100, 100, 100));
    EXPECT_EQ(disabled.Pixel(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(disabled.Pixel(3, 3), RGB(100, 100, 100));  // shadow wins over highlight
    EXPECT_EQ(disabled.Pixel(2, 1), RGB(200, 200, 200));
    gfx::ResetSysColors();
}

TEST(FlatDrawing, Accelerators) {
    EXPECT_TRUE(IsAccel('r', "&Rubrik"));
    EXPECT_TRUE(IsAccel('K', "&Gross & &klein"));
    EXPECT_FALSE(IsAccel('a', "A && B"));
    EXPECT_FALSE(IsAccel('x', "no accelerator"));
    EXPECT_FALSE(IsAccel('x', "trailing &"));
}

TEST(FlatGraphics, ArrowGlyphs) {
    const gfx::TBitmap up = LoadFlatGlyph("THUMB_UP_ENABLED");
    ASSERT_EQ(up.Width(), 10);
    ASSERT_EQ(up.Height(), 9);
    EXPECT_EQ(up.Pixel(4, 1), gfx::clBlack);  // the tip
    EXPECT_EQ(up.Pixel(1, 4), gfx::clBlack);  // the head's widest row
    EXPECT_EQ(up.Pixel(4, 7), gfx::clBlack);  // the shaft
    EXPECT_EQ(up.Pixel(1, 7), gfx::clWhite);
    EXPECT_EQ(up.Pixel(0, 8), gfx::clWhite);  // the see-through corner

    const gfx::TBitmap down = LoadFlatGlyph("THUMB_DOWN_DISABLED");
    EXPECT_EQ(down.Pixel(4, 7), RGB(160, 160, 128));
    EXPECT_EQ(down.Pixel(4, 1), RGB(160, 160, 128));  // the shaft is now on top
    EXPECT_EQ(down.Pixel(1, 1), gfx::clWhite);

    const gfx::TBitmap left = LoadFlatGlyph("THUMB_LEFT_ENABLED");
    const gfx::TBitmap right = LoadFlatGlyph("THUMB_RIGHT_ENABLED");
    ASSERT_EQ(left.Width(), 9);
    ASSERT_EQ(left.Height(), 10);
    EXPECT_EQ(left.Pixel(1, 4), gfx::clBlack);   // tip on the left
    EXPECT_EQ(right.Pixel(7, 4), gfx::clBlack);  // tip on the right
    EXPECT_EQ(right.Pixel(1, 4), gfx::clBlack);  // shaft
    EXPECT_EQ(right.Pixel(1, 1), gfx::clWhite);
    EXPECT_EQ(LoadFlatGlyph("THUMB_RIGHT_DISABLED").Pixel(7, 4), RGB(160, 160, 128));

    EXPECT_TRUE(LoadFlatGlyph("THUMB_UP").Empty());
    EXPECT_TRUE(LoadFlatGlyph("THUMB_SIDEWAYS_ENABLED").Empty());
    EXPECT_TRUE(LoadFlatGlyph("").Empty());
}

}  // namespace
}  // namespace flat

namespace flat {
namespace {

// The kept off-screen bitmap: every paint starts on a white bitmap with a default canvas, as a new
// one would; the pixels stay where they are until the size changes; a paint from inside a paint
// gets a bitmap of its own.
TEST(FlatOffscreen, ReusedFromPaintToPaintAndFreshForEachPainter) {
    gfx::TBitmap screen(8, 8);
    TOffscreen off;
    const TColor defaultBrush = gfx::TBitmap(1, 1).Canvas().Brush().Color();
    off.Paint(screen.Canvas(), 4, 3, [](gfx::TCanvas& c) {
        c.Brush().SetColor(RGB(200, 0, 0));
        c.FillRect({0, 0, 2, 2});
    });
    EXPECT_EQ(screen.Pixel(1, 1), RGB(200, 0, 0));
    EXPECT_EQ(screen.Pixel(3, 2), gfx::clWhite);
    const std::uint8_t* pixels = off.Bitmap().Bits();

    off.Paint(screen.Canvas(), 4, 3, [&](gfx::TCanvas& c) {
        EXPECT_EQ(c.Pixel(1, 1), gfx::clWhite);
        EXPECT_EQ(c.Brush().Color(), defaultBrush);
    });
    EXPECT_EQ(off.Bitmap().Bits(), pixels);
    EXPECT_EQ(screen.Pixel(1, 1), gfx::clWhite);

    off.Paint(screen.Canvas(), 6, 5, [](gfx::TCanvas&) {});
    EXPECT_EQ(off.Bitmap().Width(), 6);
    EXPECT_EQ(off.Bitmap().Height(), 5);

    int inner = 0;
    off.Paint(screen.Canvas(), 6, 5, [&](gfx::TCanvas& outer) {
        outer.Brush().SetColor(RGB(0, 0, 200));
        outer.FillRect({0, 0, 6, 5});
        off.Paint(screen.Canvas(), 2, 2, [&](gfx::TCanvas& c) {
            ++inner;
            EXPECT_EQ(c.Pixel(0, 0), gfx::clWhite);
        });
        EXPECT_EQ(outer.Pixel(5, 4), RGB(0, 0, 200));
    });
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(screen.Pixel(5, 4), RGB(0, 0, 200));
}

}  // namespace
}  // namespace flat
