// Image lists: images cut from a strip with a mask colour; drawing leaves masked pixels alone.
#include <gtest/gtest.h>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gui/ImageList.h"

using namespace gui;

TEST(ImageList, StripIsCutIntoMaskedImagesAndDrawnOnlyInsideTheMask) {
    // A strip of two 4x3 images and a partial third; magenta is outside the mask.
    gfx::TBitmap strip(10, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x) strip.SetPixel(x, y, x < 4 ? gfx::clRed : gfx::clBlue);
    strip.SetPixel(0, 0, gfx::clFuchsia);  // corner of image 0
    strip.SetPixel(7, 2, gfx::clFuchsia);  // corner of image 1
    TImageList list(nullptr, 4, 3);
    EXPECT_EQ(list.AddMasked(strip, gfx::clFuchsia), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_FALSE(list.Masked(0, 0, 0));
    EXPECT_TRUE(list.Masked(0, 1, 0));
    EXPECT_FALSE(list.Masked(1, 3, 2));

    gfx::TBitmap target(10, 10);
    target.Canvas().Brush().SetColor(gfx::clLime);
    target.Canvas().FillRect({0, 0, 10, 10});
    list.Draw(target.Canvas(), 2, 3, 0);
    EXPECT_EQ(target.Pixel(2, 3), gfx::clLime);  // outside the mask: unchanged
    EXPECT_EQ(target.Pixel(3, 3), gfx::clRed);
    EXPECT_EQ(target.Pixel(5, 5), gfx::clRed);
    EXPECT_EQ(target.Pixel(6, 5), gfx::clLime);  // beyond the image
    EXPECT_EQ(target.Pixel(2, 6), gfx::clLime);

    // Negative offsets (a band of a taller image), the canvas origin and clip apply.
    list.Draw(target.Canvas(), -1, -1, 1);
    EXPECT_EQ(target.Pixel(0, 0), gfx::clBlue);
    EXPECT_EQ(target.Pixel(2, 1), gfx::clLime);  // image 1's corner (3,2) is masked
    target.Canvas().SetOrigin(5, 5);
    target.Canvas().SetClipRect({0, 0, 2, 2});
    list.Draw(target.Canvas(), 0, 0, 1);
    EXPECT_EQ(target.Pixel(6, 6), gfx::clBlue);
    EXPECT_EQ(target.Pixel(7, 7), gfx::clLime);  // clipped
    target.Canvas().SetOrigin(0, 0);
    target.Canvas().ResetClip();
    // Past the right and bottom edges only the part on the target is drawn.
    list.Draw(target.Canvas(), 8, 8, 0);
    EXPECT_EQ(target.Pixel(9, 9), gfx::clRed);

    // An index out of range draws nothing; changing the size empties the list.
    gfx::TBitmap before(target);
    list.Draw(target.Canvas(), 0, 0, 2);
    list.Draw(target.Canvas(), 0, 0, -1);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(target.Pixel(x, y), before.Pixel(x, y));
    int changes = 0;
    list.OnChange = [&](TComponent*) { ++changes; };
    list.SetSize(16, 16);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.AddMasked(strip, gfx::clFuchsia), -1);  // too narrow for one image
}
