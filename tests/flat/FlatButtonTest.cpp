#include "flat/FlatButton.h"

#include <vector>

#include "flat/FlatCheckBox.h"
#include "flat/FlatEdit.h"
#include "flat/HslColor.h"
#include "gui/Timer.h"
#include "tests/flat/FlatFixture.h"

namespace flat {
namespace {

using gfx::RGB;
using gfx::TColor;
using FlatButtonTest = testing::FlatFixture;

gfx::TBitmap Solid(int w, int h, TColor color) {
    gfx::TBitmap bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bmp.SetPixel(x, y, color);
    return bmp;
}

TEST_F(FlatButtonTest, GlyphCountFollowsTheStrip) {
    auto* b = Add<TFlatButton>(10, 10, 40, 30);
    EXPECT_EQ(b->NumGlyphs(), 1);
    b->SetGlyph(gfx::TBitmap(40, 10));
    EXPECT_EQ(b->NumGlyphs(), 4);
    b->SetGlyph(gfx::TBitmap(60, 10));  // six images are more than a button uses
    EXPECT_EQ(b->NumGlyphs(), 1);
    b->SetNumGlyphs(3);
    b->SetGlyph(gfx::TBitmap(25, 10));  // not a whole multiple: the count stays
    EXPECT_EQ(b->NumGlyphs(), 3);
    b->SetGlyph(gfx::TBitmap(20, 10));
    EXPECT_EQ(b->NumGlyphs(), 2);
    b->SetGlyph(gfx::TBitmap());
    EXPECT_EQ(b->NumGlyphs(), 2);
    b->SetNumGlyphs(9);
    EXPECT_EQ(b->NumGlyphs(), 4);
    b->SetMargin(-2);  // below -1 is refused
    EXPECT_EQ(b->Margin(), -1);
}

TEST_F(FlatButtonTest, GroupButtonsReleaseEachOther) {
    auto* a = Add<TFlatButton>(10, 10, 40, 30);
    auto* b = Add<TFlatButton>(60, 10, 40, 30);
    auto* other = Add<TFlatButton>(110, 10, 40, 30);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    other->SetGroupIndex(2);
    int bClicks = 0;
    b->OnClick = [&](gui::TComponent*) { ++bClicks; };

    hb->Click(20, 20);
    EXPECT_TRUE(a->Down());
    hb->Click(70, 20);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->State(), TFlatButtonState::Up);

    other->SetDown(true);  // another group leaves b alone
    EXPECT_TRUE(b->Down());

    // Clicked again without AllowAllUp: stays down, but still clicks.
    hb->Click(70, 20);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(bClicks, 2);

    // AllowAllUp is handed to the whole group.
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp());
    EXPECT_FALSE(other->AllowAllUp());
    hb->Click(70, 20);
    EXPECT_FALSE(b->Down());

    // Pressed inside, released outside: no click, no toggle.
    hb->MouseDown(20, 20);
    hb->MouseMove(200, 200);
    hb->MouseUp(200, 200);
    EXPECT_FALSE(a->Down());

    // Without a group index a button is never down.
    auto* plain = Add<TFlatButton>(160, 10, 40, 30);
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down());
}

TEST_F(FlatButtonTest, HoverIsHandedOverWithoutWaitingForTheTimer) {
    auto* a = Add<TFlatButton>(10, 10, 40, 30);
    auto* b = Add<TFlatButton>(52, 10, 40, 30);
    hb->MouseMove(20, 20);
    EXPECT_TRUE(a->MouseInControl());
    EXPECT_EQ(Pixel(20, 20), a->ColorFocused());

    hb->MouseMove(60, 20);  // straight onto the neighbour, no time passes
    EXPECT_FALSE(a->MouseInControl());
    EXPECT_TRUE(b->MouseInControl());
    EXPECT_EQ(Pixel(20, 20), kFormColor);  // a's face follows the form again
    EXPECT_EQ(Pixel(60, 20), b->ColorFocused());

    hb->Advance(100);  // the tick finds the pointer still on b
    EXPECT_TRUE(b->MouseInControl());

    hb->MouseMove(200, 200);  // onto the bare form: only the timer notices
    EXPECT_TRUE(b->MouseInControl());
    hb->Advance(100);
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_FALSE(b->HoverWatched());
    EXPECT_EQ(Pixel(60, 20), kFormColor);
}

// One hover group per class, run by timers of the application: a button and a check box hover
// side by side, each ended by its own tick on the virtual clock, and no timer outlives the
// application.
TEST_F(FlatButtonTest, HoverTicksBelongToTheApplication) {
    auto* a = Add<TFlatButton>(10, 10, 40, 30);
    auto* box = Add<TFlatCheckBox>(60, 10, 100, 17);
    hb->MouseMove(20, 20);
    EXPECT_TRUE(a->HoverWatched());
    hb->Advance(50);
    hb->MouseMove(70, 15);  // onto the check box: another class, so a waits for its own tick
    EXPECT_TRUE(box->HoverWatched());
    EXPECT_TRUE(a->MouseInControl());
    hb->Advance(50);
    EXPECT_FALSE(a->MouseInControl());
    EXPECT_FALSE(a->HoverWatched());
    EXPECT_TRUE(box->MouseInControl());
    hb->MouseMove(200, 200);
    hb->Advance(50);
    EXPECT_FALSE(box->MouseInControl());

    std::vector<gui::TComponent::Weak> timers;
    for (gui::TTimer* timer : app->Pointer().HoverTimers()) {
        EXPECT_EQ(timer->Owner(), app.get());
        timers.emplace_back(timer);
    }
    EXPECT_EQ(timers.size(), 2u);
    app.reset();
    for (const auto& t : timers) EXPECT_FALSE(t);
}

TEST_F(FlatButtonTest, PaintedFacesAndFrames) {
    auto* b = Add<TFlatButton>(10, 10, 40, 30);
    const TColor face = RGB(200, 190, 180);
    b->SetColor(face);
    EXPECT_EQ(Pixel(10, 10), RGB(160, 150, 131));  // 1-pixel border
    EXPECT_EQ(Pixel(11, 11), face);
    b->SetDefault(true);
    EXPECT_EQ(Pixel(11, 11), RGB(160, 150, 131));  // the default button's border is 2 wide
    EXPECT_EQ(Pixel(12, 12), face);
    b->SetDefault(false);

    hb->MouseMove(30, 25);  // raised bevel; the far corners belong to the shadow
    EXPECT_EQ(Pixel(10, 10), gfx::clWhite);
    EXPECT_EQ(Pixel(48, 10), gfx::clWhite);
    EXPECT_EQ(Pixel(49, 10), gfx::clBlack);
    EXPECT_EQ(Pixel(10, 39), gfx::clBlack);
    EXPECT_EQ(Pixel(30, 25), RGB(235, 234, 225));

    hb->MouseDown(30, 25);  // sunken
    EXPECT_EQ(b->State(), TFlatButtonState::Pressed);
    EXPECT_EQ(Pixel(10, 10), gfx::clBlack);
    EXPECT_EQ(Pixel(49, 39), gfx::clWhite);
    EXPECT_EQ(Pixel(30, 25), RGB(217, 214, 197));
    hb->MouseMove(150, 150);  // dragged off: shows up again, still held
    EXPECT_EQ(b->State(), TFlatButtonState::Up);
    EXPECT_TRUE(b->Held());
    hb->MouseUp(150, 150);
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_EQ(Pixel(30, 25), face);

    b->SetEnabled(false);
    EXPECT_EQ(Pixel(10, 10), RGB(160, 150, 131));
    EXPECT_EQ(Pixel(30, 25), face);
}

TEST_F(FlatButtonTest, GlyphImagePerState) {
    auto* b = Add<TFlatButton>(10, 10, 40, 30);
    b->SetColor(gfx::clWhite);
    // Two 8x8 images; the first one's bottom-left pixel (green) is the see-through colour.
    gfx::TBitmap strip = Solid(16, 8, gfx::clRed);
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x) strip.SetPixel(x, y, gfx::clBlue);
    strip.SetPixel(0, 7, gfx::clLime);
    b->SetGlyph(strip);
    ASSERT_EQ(b->NumGlyphs(), 2);
    // Centred: x (40 - 8 + 1) div 2 = 16, y (30 - 8 + 1) div 2 = 11.
    EXPECT_EQ(Pixel(26, 21), gfx::clRed);
    EXPECT_EQ(Pixel(26, 28), gfx::clWhite);  // the key pixel shows the face
    EXPECT_EQ(Pixel(25, 21), gfx::clWhite);

    hb->MouseDown(30, 25);  // pressed: one pixel right and down
    EXPECT_EQ(Pixel(26, 21), b->ColorDown());
    EXPECT_EQ(Pixel(27, 22), gfx::clRed);
    hb->MouseUp(30, 25);

    b->SetEnabled(false);  // the second image
    EXPECT_EQ(Pixel(26, 21), gfx::clBlue);
}

TEST_F(FlatButtonTest, DisabledCaptionIsEmbossed) {
    gfx::SetSysColor(20, RGB(255, 0, 255));  // button highlight
    gfx::SetSysColor(16, RGB(0, 255, 0));    // button shadow
    auto* b = Add<TFlatButton>(10, 10, 80, 30);
    b->SetColor(gfx::clWhite);
    b->SetCaption("XIX");
    b->SetEnabled(false);
    hb->Pump();
    int highlight = 0, shadow = 0, shiftedPairs = 0;
    for (int y = 11; y < 39; ++y) {
        for (int x = 11; x < 89; ++x) {
            const TColor c = Pixel(x, y);
            if (c == RGB(255, 0, 255)) ++highlight;
            if (c == RGB(0, 255, 0)) {
                ++shadow;
                const TColor below = Pixel(x + 1, y + 1);
                if (below == RGB(255, 0, 255) || below == RGB(0, 255, 0)) ++shiftedPairs;
            }
        }
    }
    EXPECT_GT(shadow, 0);
    EXPECT_GT(highlight, 0);
    EXPECT_EQ(shiftedPairs, shadow);  // every shadow pixel has its highlight twin (or shadow) below right
}

TEST_F(FlatButtonTest, ClickSetsModalResultAndKeysClick) {
    auto* b = Add<TFlatButton>(10, 10, 40, 30);
    int clicks = 0, dbl = 0;
    b->OnClick = [&](gui::TComponent*) { ++clicks; };
    b->OnDblClick = [&](gui::TComponent*) { ++dbl; };
    b->SetModalResult(gui::mrOk);
    hb->Click(20, 20);
    EXPECT_EQ(form->ModalResult(), gui::mrOk);
    EXPECT_EQ(clicks, 1);
    form->SetModalResult(gui::mrNone);

    hb->DoubleClick(20, 20);  // not down: no double-click event
    EXPECT_EQ(dbl, 0);
    EXPECT_EQ(clicks, 3);

    b->SetFocus();
    hb->KeyDown(gui::VK_SPACE);
    EXPECT_EQ(b->State(), TFlatButtonState::Pressed);
    hb->KeyUp(gui::VK_SPACE);
    EXPECT_EQ(b->State(), TFlatButtonState::Up);
    EXPECT_EQ(clicks, 4);

    auto* g = Add<TFlatButton>(60, 10, 40, 30);
    g->SetGroupIndex(3);
    g->OnDblClick = [&](gui::TComponent*) { ++dbl; };
    hb->DoubleClick(70, 20);  // the first click puts it down, the second press is a double click
    EXPECT_EQ(dbl, 1);
}

TEST_F(FlatButtonTest, EnterAndAccelerators) {
    auto* ok = Add<TFlatButton>(10, 10, 40, 30);
    auto* other = Add<TFlatButton>(60, 10, 40, 30);
    auto* edit = Add<TFlatEdit>(10, 50, 100, 19);
    int okClicks = 0, otherClicks = 0;
    ok->OnClick = [&](gui::TComponent*) { ++okClicks; };
    other->OnClick = [&](gui::TComponent*) { ++otherClicks; };
    ok->SetDefault(true);
    other->SetCaption("&Weiter");

    edit->SetFocus();  // Enter in an edit goes to the default button
    hb->Key(gui::VK_RETURN);
    EXPECT_EQ(okClicks, 1);
    other->SetFocus();  // a focused push button takes Enter itself
    hb->Key(gui::VK_RETURN);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(otherClicks, 1);

    edit->SetFocus();
    hb->Key('W', gui::ssAlt);
    EXPECT_EQ(otherClicks, 2);
    other->SetEnabled(false);
    hb->Key('W', gui::ssAlt);
    EXPECT_EQ(otherClicks, 2);
}

}  // namespace
}  // namespace flat

namespace flat {
namespace {

TEST_F(FlatButtonTest, AdvancedColoursFollowTheParent) {
    auto* b = Add<TFlatButton>(10, 10, 40, 30);
    b->SetColor(gfx::clRed);
    b->SetUseAdvColors(true);  // back to the parent's colour, shades derived from it
    EXPECT_TRUE(b->ParentColor());
    EXPECT_EQ(b->Color(), kFormColor);
    EXPECT_EQ(b->ColorBorder(), CalcAdvancedColor(kFormColor, 0, 50, ctDarken));
    EXPECT_EQ(b->ColorFocused(), CalcAdvancedColor(kFormColor, 0, 10, ctLighten));

    const gfx::TColor light = gfx::RGB(235, 234, 225);
    form->SetColor(light);
    EXPECT_EQ(b->ColorDown(), CalcAdvancedColor(light, 0, 10, ctDarken));
    // The light parent's "lighter" shade is darker than the parent itself.
    EXPECT_LT(gfx::GetRValue(b->ColorFocused()), 235);
    EXPECT_EQ(Pixel(30, 25), light);
    hb->MouseMove(30, 25);
    EXPECT_EQ(Pixel(30, 25), b->ColorFocused());

    b->SetAdvColorBorder(0);  // 0 percent keeps the current border colour
    EXPECT_EQ(b->ColorBorder(), CalcAdvancedColor(light, 0, 50, ctDarken));
}

}  // namespace
}  // namespace flat

namespace flat {
namespace {

TEST_F(FlatButtonTest, TransparentModesShowTheParent) {
    auto* b = Add<TFlatButton>(100, 100, 40, 30);
    b->SetColor(gfx::clRed);
    b->SetTransparentMode(tmAlways);
    EXPECT_EQ(Pixel(120, 115), kFormColor);
    hb->MouseMove(120, 115);
    EXPECT_EQ(Pixel(120, 115), kFormColor);
    EXPECT_EQ(Pixel(100, 100), gfx::clWhite);  // the frame is still drawn

    b->SetTransparentMode(tmNotFocused);  // under the mouse: the focused face
    EXPECT_EQ(Pixel(120, 115), b->ColorFocused());
    hb->MouseMove(10, 10);
    hb->Advance(100);
    EXPECT_EQ(Pixel(120, 115), kFormColor);
    b->SetTransparentMode(tmNone);
    EXPECT_EQ(Pixel(120, 115), gfx::clRed);
}

}  // namespace
}  // namespace flat
