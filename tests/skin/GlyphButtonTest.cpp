// TGlyphButton: the glyph, the hover and pressed plates (drawn over the background, never
// piling up), click, hint and the disabled look.
#include <gtest/gtest.h>

#include "SkinHarness.h"
#include "skin/GlyphButton.h"

using skin::TGlyphButton;

namespace {

constexpr gfx::TColor kBack = gfx::RGB(120, 130, 140);
constexpr gfx::TColor kGlyph0 = gfx::RGB(200, 40, 40);
constexpr gfx::TColor kGlyph1 = gfx::RGB(40, 200, 40);

int Lightness(std::int64_t c) {
    auto p = gfx::TColor(c);
    return gfx::GetRValue(p) + gfx::GetGValue(p) + gfx::GetBValue(p);
}

}  // namespace

TEST(GlyphButton, ShowsItsImageWithHoverAndPressedPlatesAndClicks) {
    SkinHarness t;
    auto* f = t.Form(200, 150, kBack);
    auto* list = MakeImageList(
        f, 16, 16, 2, [](int i, int, int) { return i ? kGlyph1 : kGlyph0; },
        [](int, int x, int y) { return x == 15 && y == 15; });
    auto* b = f->Make<TGlyphButton>();
    b->SetParent(f);
    EXPECT_EQ(b->Width(), 20);
    EXPECT_EQ(b->Height(), 20);
    b->SetLeft(50);
    b->SetTop(50);
    b->SetImageList(list);
    b->SetImageIndex(1);
    b->SetHint("Vollbild-Screenshot");
    b->SetShowHint(true);
    int clicks = 0;
    b->OnClick = [&](gui::TComponent*) { ++clicks; };
    f->Show();
    t.hb->Pump();

    EXPECT_EQ(t.Pixel(f, 52, 52), kGlyph1);  // centred: 2 pixels in
    EXPECT_EQ(t.Pixel(f, 66, 67), kGlyph1);
    EXPECT_EQ(t.Pixel(f, 67, 67), kBack);  // outside the glyph's mask
    EXPECT_EQ(t.Pixel(f, 68, 60), kBack);  // right of the glyph
    EXPECT_EQ(t.Pixel(f, 51, 51), kBack);  // no plate at rest
    EXPECT_EQ(t.Pixel(f, 50, 55), kBack);

    t.hb->MouseMove(60, 60);
    const auto hot = t.Pixel(f, 51, 51);
    EXPECT_GT(Lightness(hot), Lightness(kBack));  // a light plate
    EXPECT_NE(t.Pixel(f, 50, 55), kBack);         // with a frame
    EXPECT_EQ(t.Pixel(f, 50, 50), kBack);         // whose corners are left out
    EXPECT_EQ(t.Pixel(f, 52, 52), kGlyph1);

    t.hb->MouseDown(60, 60);
    EXPECT_LT(Lightness(t.Pixel(f, 51, 51)), Lightness(kBack));  // pressed: darker
    EXPECT_EQ(t.Pixel(f, 53, 53), kGlyph1);                      // the glyph sinks by a pixel
    EXPECT_NE(t.Pixel(f, 52, 52), kGlyph1);
    t.hb->MouseUp(60, 60);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(t.Pixel(f, 51, 51), hot);  // back to hover, the wash not laid twice

    // Pressed, then dragged off: no pressed look outside, no click on release.
    t.hb->MouseDown(60, 60);
    t.hb->MouseMove(150, 120);
    EXPECT_GE(Lightness(t.Pixel(f, 51, 51)), Lightness(kBack));
    t.hb->MouseUp(150, 120);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(t.Pixel(f, 51, 51), kBack);
    t.hb->MouseMove(60, 60);
    EXPECT_EQ(t.Pixel(f, 51, 51), hot);

    // The hint after the pause.
    t.hb->Advance(t.app->HintPause() + 50);
    EXPECT_TRUE(t.app->HintShowing());
    EXPECT_EQ(t.app->HintText(), "Vollbild-Screenshot");

    // Another image; disabled: a grey glyph and no clicks.
    b->SetImageIndex(0);
    t.hb->Pump();
    EXPECT_EQ(t.Pixel(f, 52, 52), kGlyph0);
    b->SetEnabled(false);
    t.hb->Pump();
    auto grey = gfx::TColor(t.Pixel(f, 52, 52));
    EXPECT_EQ(gfx::GetRValue(grey), gfx::GetGValue(grey));
    t.hb->Click(60, 60);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(t.Pixel(f, 51, 51), kBack);

    delete list;
    EXPECT_EQ(b->ImageList(), nullptr);
    b->Invalidate();
    t.hb->Pump();
    EXPECT_EQ(t.Pixel(f, 52, 52), kBack);
}
