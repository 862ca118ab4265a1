#include "flat/FlatEdit.h"

#include "flat/FlatButton.h"
#include "flat/HslColor.h"
#include "tests/flat/FlatFixture.h"

namespace flat {
namespace {

using gfx::RGB;

class FlatEditTest : public testing::FlatFixture {
protected:
    // The three rings and the inside of an edit at (x, y).
    void ExpectLook(int x, int y, gfx::TColor border, gfx::TColor background) {
        EXPECT_EQ(Pixel(x, y), border);
        EXPECT_EQ(Pixel(x + 1, y + 1), background);
        EXPECT_EQ(Pixel(x + 2, y + 2), background);
        EXPECT_EQ(Pixel(x + 110, y + 3), background);  // inside, past any text
    }
};

TEST_F(FlatEditTest, TwoFlatEditsNeverLookActiveTogether) {
    const gfx::TColor flatColor = RGB(112, 127, 144), focusColor = RGB(250, 250, 200);
    auto* first = Add<TFlatEdit>(10, 10, 121, 19);
    auto* second = Add<TFlatEdit>(10, 40, 121, 19);
    auto* button = Add<TFlatButton>(10, 100, 40, 20);
    for (TFlatEdit* e : {first, second}) {
        e->SetColorFlat(flatColor);
        e->SetColorFocused(focusColor);
        e->SetColorBorder(gfx::clBlack);
    }
    ExpectLook(10, 10, gfx::clBlack, flatColor);

    first->SetFocus();
    ExpectLook(10, 10, gfx::clBlack, focusColor);
    hb->MouseMove(60, 48);  // over the second while the first has the focus: stays plain
    EXPECT_TRUE(second->MouseOver());
    EXPECT_FALSE(second->Highlighted());
    ExpectLook(10, 40, gfx::clBlack, flatColor);

    hb->MouseMove(200, 200);
    button->SetFocus();  // the focus on something that is not a flat edit
    ExpectLook(10, 10, gfx::clBlack, flatColor);
    hb->MouseMove(60, 48);
    EXPECT_TRUE(second->Highlighted());
    ExpectLook(10, 40, gfx::clBlack, focusColor);
    hb->MouseMove(200, 200);
    EXPECT_FALSE(second->Highlighted());
    ExpectLook(10, 40, gfx::clBlack, flatColor);
}

TEST_F(FlatEditTest, ColoursFollowTheParentUntilSet) {
    auto* e = Add<TFlatEdit>(10, 10, 121, 19);
    EXPECT_TRUE(e->ParentColor());
    EXPECT_EQ(e->ColorFlat(), kFormColor);
    form->SetColor(RGB(1, 2, 3));
    EXPECT_EQ(e->ColorFlat(), RGB(1, 2, 3));
    e->SetColorFlat(RGB(9, 9, 9));
    EXPECT_FALSE(e->ParentColor());
    form->SetColor(RGB(4, 5, 6));
    EXPECT_EQ(e->ColorFlat(), RGB(9, 9, 9));

    // Advanced colours derive focus and border from ColorFlat, which follows the parent again.
    e->SetUseAdvColors(true);
    EXPECT_TRUE(e->ParentColor());
    EXPECT_EQ(e->ColorFlat(), RGB(4, 5, 6));
    EXPECT_NE(e->ColorFocused(), gfx::clWhite);
    // Focused, the edit's background is ColorFocused; the shades still come from ColorFlat.
    e->SetFocus();
    form->SetColor(RGB(200, 100, 50));
    EXPECT_EQ(e->ColorFlat(), RGB(200, 100, 50));
    EXPECT_EQ(e->ColorFocused(), CalcAdvancedColor(RGB(200, 100, 50), 0, 10, ctLighten));
    EXPECT_EQ(e->ColorBorder(), CalcAdvancedColor(RGB(200, 100, 50), 0, 50, ctDarken));

    // The height is the font's text height plus the two 3-pixel borders.
    gfx::TFont big;
    big.SetHeight(-20);
    e->SetFont(big);
    gfx::TBitmap scratch(1, 1);
    scratch.Canvas().SetFont(e->Font());
    EXPECT_EQ(e->Height(), scratch.Canvas().TextHeight("Ag") + 6);
}

}  // namespace
}  // namespace flat
