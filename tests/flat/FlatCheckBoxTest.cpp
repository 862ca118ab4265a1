#include "flat/FlatCheckBox.h"

#include "base/Cp1252.h"
#include "tests/flat/FlatFixture.h"

namespace flat {
namespace {

using gfx::RGB;

class FlatCheckBoxTest : public testing::FlatFixture {
protected:
    void SetUp() override {
        FlatFixture::SetUp();
        cb = Add<TFlatCheckBox>(20, 20, 209, 17);
        cb->SetCaption(base::Cp("Groß- und Kleinschreibung beachten"));
        cb->OnClick = [this](gui::TComponent*) { ++clicks; };
    }
    TFlatCheckBox* cb = nullptr;
    int clicks = 0;
};

TEST_F(FlatCheckBoxTest, PressMoveOutReleaseLeavesCheckedAlone) {
    hb->MouseDown(25, 28);
    EXPECT_TRUE(cb->Held());
    hb->MouseMove(25, 100);
    hb->MouseUp(25, 100);
    EXPECT_FALSE(cb->Checked());
    EXPECT_EQ(clicks, 0);

    hb->Click(25, 28);
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 1);

    // Changes by code raise OnClick just the same; an unchanged value does not.
    cb->SetChecked(false);
    EXPECT_EQ(clicks, 2);
    cb->SetChecked(false);
    EXPECT_EQ(clicks, 2);

    // Space toggles the focused box.
    ASSERT_TRUE(cb->Focused());
    hb->Key(gui::VK_SPACE);
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 3);

    cb->SetEnabled(false);
    hb->Click(25, 28);
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 3);
}

TEST_F(FlatCheckBoxTest, HoverEndsOnTheHoverGroupsTick) {
    hb->MouseMove(100, 28);
    EXPECT_TRUE(cb->MouseInControl());
    EXPECT_TRUE(cb->HoverWatched());
    hb->MouseMove(100, 150);
    hb->Advance(99);
    EXPECT_TRUE(cb->MouseInControl());
    hb->Advance(1);
    EXPECT_FALSE(cb->MouseInControl());
    EXPECT_FALSE(cb->HoverWatched());
}

TEST_F(FlatCheckBoxTest, PaintedSquareAndTick) {
    const gfx::TColor face = RGB(112, 127, 144);
    cb->SetColor(face);
    const int l = 21, t = 23;  // the square's top-left corner on the form
    EXPECT_EQ(Pixel(l, t), RGB(160, 150, 131));
    EXPECT_EQ(Pixel(l + 10, t + 10), RGB(160, 150, 131));
    EXPECT_EQ(Pixel(l + 11, t + 5), face);  // just outside the square
    EXPECT_EQ(Pixel(l + 2, t + 4), face);   // no tick yet

    cb->SetChecked(true);
    EXPECT_EQ(Pixel(l + 2, t + 4), gfx::clBlack);
    EXPECT_EQ(Pixel(l + 5, t + 7), gfx::clBlack);
    EXPECT_EQ(Pixel(l + 8, t + 2), gfx::clBlack);
    EXPECT_EQ(Pixel(l + 6, t + 8), face);  // segment end points are not drawn
    EXPECT_EQ(Pixel(l + 9, t + 2), face);

    hb->MouseMove(100, 28);  // hover: the square turns ColorFocused
    EXPECT_EQ(Pixel(l + 9, t + 2), gfx::clWhite);
    hb->MouseDown(100, 28);  // held: ColorDown
    EXPECT_EQ(Pixel(l + 9, t + 2), RGB(217, 214, 197));
    hb->MouseUp(100, 28);  // that was a click
    EXPECT_FALSE(cb->Checked());
    EXPECT_EQ(Pixel(l + 2, t + 4), gfx::clWhite);

    cb->SetChecked(true);
    cb->SetEnabled(false);  // the tick in the system's button shadow
    EXPECT_EQ(Pixel(l + 2, t + 4), gfx::ColorToRGB(gfx::clBtnShadow));

    cb->SetLayout(checkboxRight);
    EXPECT_EQ(Pixel(20 + 209 - 12, t), RGB(160, 150, 131));
}

}  // namespace
}  // namespace flat
