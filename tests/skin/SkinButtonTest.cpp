// TSkinButton: strip arithmetic, band height, the four state bands, caption placement and colour,
// the Enabled flag.
#include <gtest/gtest.h>

#include <string>

#include "SkinHarness.h"
#include "skin/SkinButton.h"
#include "tests/support/Place.h"

using skin::TSkinButton;

namespace {

// Image i, column x, row y: red channel = column, green = band and image, blue fixed. None of
// these equals the key colour, white or silver.
gfx::TColor Img(int i, int x, int y, int band) {
    return gfx::RGB(x, 20 + (y / band) * 50 + i * 10, 180);
}

constexpr gfx::TColor kBack = gfx::clRed;

struct ButtonCase {
    SkinHarness t;
    gui::TForm* form = t.Form(300, 200, kBack);

    TSkinButton* Button(gui::TImageList* list, int index, int x, int y, int w, int roundWidth) {
        auto* b = Place<TSkinButton>(form, x, y, w, 30);
        b->SetRoundWidth(roundWidth);
        b->SetImageList(list);
        b->SetImageIndex(index);
        return b;
    }
    void Show() {
        form->Show();
        t.hb->Pump();
    }
    std::int64_t Px(int x, int y) const { return t.Pixel(form, x, y); }
};

}  // namespace

TEST(SkinButton, StripCopiesKeepTheCapsAndRepeatTheColumnAfterTheLeftCap) {
    ButtonCase c;
    // 60x80: the action buttons. Holes in the mask: the top-left corner (transparent) and one
    // pixel of the strip's source column (white in the strip, since the strip is cut from the
    // image drawn on white).
    auto* il1 = MakeImageList(
        c.form, 60, 80, 2, [](int i, int x, int y) { return Img(i, x, y, 20); },
        [](int, int x, int y) { return (x == 0 && y == 0) || (x == 16 && y == 5); });
    auto* b1 = c.Button(il1, 1, 10, 10, 80, 15);
    // 170x80 with RoundWidth 85: the category buttons.
    auto* il2 = MakeImageList(c.form, 170, 80, 1, [](int i, int x, int y) { return Img(i, x, y, 20); });
    auto* b2 = c.Button(il2, 0, 10, 40, 170, 85);
    // 134x92 on a 133-wide button with RoundWidth 67: the arrow buttons.
    auto* il3 = MakeImageList(c.form, 134, 92, 2, [](int i, int x, int y) { return Img(i, x, y, 23); });
    auto* b3 = c.Button(il3, 1, 10, 70, 133, 67);
    c.Show();

    EXPECT_EQ(b1->Height(), 20);
    for (int y : {1, 7, 19}) {
        for (int x = 0; x <= 14; ++x) EXPECT_EQ(c.Px(10 + x, 10 + y), Img(1, x, y, 20)) << x << "," << y;
        for (int x = 15; x <= 65; ++x) EXPECT_EQ(c.Px(10 + x, 10 + y), Img(1, 16, y, 20)) << x << "," << y;
        EXPECT_EQ(c.Px(10 + 66, 10 + y), Img(1, 17, y, 20)) << y;
        for (int x = 67; x <= 79; ++x)
            EXPECT_EQ(c.Px(10 + x, 10 + y), Img(1, x - 20, y, 20)) << x << "," << y;
    }
    EXPECT_EQ(c.Px(10, 10), kBack);                  // outside the mask: the form shows
    EXPECT_EQ(c.Px(10 + 30, 10 + 5), gfx::clWhite);  // strip source hole
    EXPECT_EQ(c.Px(10 + 81, 10 + 5), kBack);         // right of the button
    EXPECT_EQ(c.Px(10 + 5, 10 + 20), kBack);         // below the 20-pixel band

    // Exactly as wide as the image: the strip is copied once, at 85..86 from columns 86..87.
    EXPECT_EQ(c.Px(10 + 84, 40 + 3), Img(0, 84, 3, 20));
    EXPECT_EQ(c.Px(10 + 85, 40 + 3), Img(0, 86, 3, 20));
    EXPECT_EQ(c.Px(10 + 86, 40 + 3), Img(0, 87, 3, 20));
    EXPECT_EQ(c.Px(10 + 87, 40 + 3), Img(0, 87, 3, 20));
    EXPECT_EQ(c.Px(10 + 169, 40 + 3), Img(0, 169, 3, 20));

    // One pixel narrower than the image: no strip; the right-aligned copy shows columns 1..133.
    EXPECT_EQ(b3->Height(), 23);
    for (int x : {0, 1, 65, 66, 67, 131, 132}) EXPECT_EQ(c.Px(10 + x, 70 + 22), Img(1, x + 1, 22, 23)) << x;
    EXPECT_EQ(c.Px(10 + 133, 70 + 5), kBack);
    (void)b2;
}

TEST(SkinButton, BandHeightIsAQuarterOfTheImageRoundedHalfToEven) {
    ButtonCase c;
    auto* plain = c.Button(nullptr, 0, 0, 0, 40, 15);
    c.Show();
    EXPECT_EQ(plain->Height(), 30);  // nothing drawn without an image list, height kept
    EXPECT_EQ(c.Px(5, 5), kBack);
    const int heights[][2] = {{80, 20}, {92, 23}, {68, 17}, {90, 22}, {94, 24}, {82, 20}, {86, 22}, {81, 20}};
    int y = 40;
    for (auto [ih, band] : heights) {
        auto* il = MakeImageList(c.form, 40, ih, 1, [](int, int x, int) { return gfx::RGB(x, 1, 2); });
        auto* b = c.Button(il, 0, 0, y, 40, 15);
        c.t.hb->Pump();
        EXPECT_EQ(b->Height(), band) << ih;
        y += 5;
    }
}

TEST(SkinButton, StatesFollowTheMouseAndClickSeesThePressedBand) {
    ButtonCase c;
    auto* il = MakeImageList(c.form, 60, 80, 2, [](int i, int x, int y) { return Img(i, x, y, 20); });
    auto* b = c.Button(il, 0, 10, 10, 80, 15);
    int downs = 0, ups = 0, clicks = 0;
    std::int64_t atClick = -1;
    b->OnMouseDown = [&](gui::TComponent*, gui::TMouseButton, gui::TShiftState, int, int) { ++downs; };
    b->OnMouseUp = [&](gui::TComponent*, gui::TMouseButton, gui::TShiftState, int, int) { ++ups; };
    b->OnClick = [&](gui::TComponent*) {
        ++clicks;
        atClick = c.Px(40, 15);
    };
    c.Show();
    auto band = [&](int s) { return Img(0, 16, s * 20 + 5, 20); };  // pixel (40,15) of band s

    EXPECT_EQ(c.Px(40, 15), band(0));
    c.t.hb->MouseMove(40, 15);
    EXPECT_EQ(b->State(), 1);
    EXPECT_EQ(c.Px(40, 15), band(1));
    c.t.hb->MouseDown(40, 15);
    EXPECT_EQ(c.Px(40, 15), band(2));
    c.t.hb->MouseUp(40, 15);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(atClick, band(2));  // OnClick runs before the release handling
    EXPECT_EQ(c.Px(40, 15), band(1));
    c.t.hb->MouseMove(200, 150);
    EXPECT_EQ(b->State(), 0);
    EXPECT_EQ(c.Px(40, 15), band(0));

    // A right press shows the pressed band too and raises no click.
    c.t.hb->MouseMove(40, 15);
    c.t.hb->MouseDown(40, 15, gui::mbRight);
    EXPECT_EQ(c.Px(40, 15), band(2));
    c.t.hb->MouseUp(40, 15, gui::mbRight);
    EXPECT_EQ(c.Px(40, 15), band(1));
    EXPECT_EQ(clicks, 1);

    // Disabled: band 3 whatever the mouse does, mouse events still arrive, no click.
    b->SetEnabled(false);
    EXPECT_TRUE(static_cast<gui::TControl*>(b)->Enabled());  // the control itself stays enabled
    EXPECT_EQ(c.Px(40, 15), band(3));
    c.t.hb->Click(40, 15);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 3);
    EXPECT_EQ(ups, 3);
    EXPECT_EQ(b->State(), 3);
    c.t.hb->MouseMove(200, 150);
    c.t.hb->MouseMove(40, 15);
    EXPECT_EQ(b->State(), 3);
    EXPECT_EQ(c.Px(40, 15), band(3));
    b->SetEnabled(true);
    EXPECT_EQ(c.Px(40, 15), band(0));
    c.t.hb->Click(40, 15);
    EXPECT_EQ(clicks, 2);
}

TEST(SkinButton, ReadingEnabledOnlyLooksAndPaintOnlyDraws) {
    ButtonCase c;
    auto* il = MakeImageList(c.form, 60, 80, 1, [](int i, int x, int y) { return Img(i, x, y, 20); });
    auto* b = c.Button(il, 0, 10, 10, 80, 15);
    c.Show();
    c.t.hb->MouseMove(40, 15);
    ASSERT_EQ(b->State(), 1);
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->State(), 1);
    b->Invalidate();
    c.t.hb->Pump();
    EXPECT_EQ(c.Px(40, 15), Img(0, 16, 25, 20));  // the next paint still shows the hot band

    b->SetHeight(30);  // one band high whatever the bounds say, before any paint
    EXPECT_EQ(b->Height(), 20);
}

TEST(SkinButton, CaptionPlacementAndDisabledColour) {
    ButtonCase c;
    // A dark image so the white and silver caption pixels stand out.
    auto* il17 = MakeImageList(c.form, 17, 68, 1, [](int, int, int) { return gfx::RGB(10, 20, 30); });
    auto* small = c.Button(il17, 0, 10, 10, 17, 8);
    small->Font().SetName("MS Sans Serif");
    small->Font().SetHeight(-12);
    small->Font().SetStyle(gfx::fsBold);
    small->Font().SetColor(gfx::clWhite);
    small->SetCaption("i");
    auto* il = MakeImageList(c.form, 60, 80, 1, [](int, int, int) { return gfx::RGB(10, 20, 30); });
    auto* wide = c.Button(il, 0, 10, 40, 80, 15);
    wide->Font().SetColor(gfx::clWhite);
    wide->SetCaption("A&B");
    c.Show();

    gfx::TBitmap probe(10, 10);
    probe.Canvas().SetFont(small->Font());
    const int iw = probe.Canvas().TextWidth("i");
    EXPECT_EQ(small->TextX(), 8 - iw / 2);  // round(8.5) = 8
    probe.Canvas().SetFont(wide->Font());
    const int abw = probe.Canvas().TextWidth("A&B");  // "&" is drawn, not an accelerator
    EXPECT_EQ(wide->TextX(), 40 - abw / 2);
    wide->SetAlignment(gui::taLeftJustify);
    EXPECT_EQ(wide->TextX(), 5);
    wide->SetTextDistance(9);
    EXPECT_EQ(wide->TextX(), 9);
    wide->SetAlignment(gui::taRightJustify);
    EXPECT_EQ(wide->TextX(), 80 - abw - 9);

    auto count = [&](gfx::TColor col) {
        int n = 0;
        for (int y = 40; y < 60; ++y)
            for (int x = 10; x < 90; ++x) n += c.Px(x, y) == col;
        return n;
    };
    EXPECT_GT(count(gfx::clWhite), 0);
    EXPECT_EQ(count(gfx::clSilver), 0);
    wide->SetEnabled(false);
    EXPECT_EQ(count(gfx::clWhite), 0);
    EXPECT_GT(count(gfx::clSilver), 0);
    wide->SetDisabledFontColor(gfx::RGB(1, 2, 3));  // stored only: no repaint yet
    EXPECT_GT(count(gfx::clSilver), 0);
    wide->Invalidate();
    c.t.hb->Pump();
    EXPECT_EQ(count(gfx::clSilver), 0);
    EXPECT_GT(count(gfx::RGB(1, 2, 3)), 0);
}

TEST(SkinButton, ImageIndexClampAndImageListRemoval) {
    ButtonCase c;
    auto* il = MakeImageList(c.form, 60, 80, 2, [](int i, int x, int y) { return Img(i, x, y, 20); });
    auto* b = c.Button(il, 0, 10, 10, 80, 15);
    c.Show();
    b->SetImageIndex(5);
    EXPECT_EQ(b->ImageIndex(), 1);
    EXPECT_EQ(c.Px(12, 15), Img(1, 2, 5, 20));
    b->SetImageIndex(-3);
    EXPECT_EQ(b->ImageIndex(), -3);  // no lower bound
    delete il;
    EXPECT_EQ(b->ImageList(), nullptr);
    b->Invalidate();
    c.t.hb->Pump();  // paints without a list: nothing, and no crash
    b->SetImageIndex(7);
    EXPECT_EQ(b->ImageIndex(), 7);  // nothing to clamp against
}
