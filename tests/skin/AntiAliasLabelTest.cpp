// TAntiAliasLabel: its own font quality, whatever the desktop says, across font changes.
#include <gtest/gtest.h>

#include "SkinHarness.h"
#include "skin/AntiAliasLabel.h"

using skin::TAntiAliasLabel;

namespace {

// Pixels of the label's area that are neither the white background nor the black text.
int GreyPixels(SkinHarness& t, gui::TForm* f, const gui::TControl* c) {
    int n = 0;
    for (int y = c->Top(); y < c->Top() + c->Height(); ++y)
        for (int x = c->Left(); x < c->Left() + c->Width(); ++x) {
            auto p = t.Pixel(f, x, y);
            n += p != gfx::clWhite && p != gfx::clBlack;
        }
    return n;
}

}  // namespace

TEST(AntiAliasLabel, SmoothsItsOwnTextAndOffMeansTheDesktopDefault) {
    SkinHarness t;  // desktop smoothing off
    auto* f = t.Form(300, 100, gfx::clWhite);
    f->Font().SetName("Arial");
    f->Font().SetHeight(-16);
    f->Font().SetColor(gfx::clBlack);
    auto* label = f->Make<TAntiAliasLabel>();
    label->SetParent(f);
    label->SetTransparent(true);
    label->SetBounds(10, 10, 10, 10);
    label->SetCaption("Redaktion: Otto Gans");
    f->Show();
    t.hb->Pump();

    EXPECT_TRUE(label->Antialiased());
    EXPECT_TRUE(label->ParentFont());
    EXPECT_EQ(label->Font().Height(), -16);
    EXPECT_EQ(label->Font().Quality(), gfx::fqAntialiased);
    EXPECT_GT(GreyPixels(t, f, label), 20);

    // The parent's new font arrives at default quality; the label keeps smoothing it.
    f->Font().SetHeight(-18);
    t.hb->Pump();
    EXPECT_EQ(label->Font().Height(), -18);
    EXPECT_EQ(label->Font().Quality(), gfx::fqAntialiased);
    EXPECT_TRUE(label->ParentFont());

    // Own size and style changes keep it too.
    label->Font().SetHeight(-20);
    EXPECT_EQ(label->Font().Quality(), gfx::fqAntialiased);
    label->Font().SetStyle(gfx::fsBold);
    EXPECT_EQ(label->Font().Quality(), gfx::fqAntialiased);
    t.hb->Pump();
    EXPECT_GT(GreyPixels(t, f, label), 20);

    // Off is the default quality, not "never smoothed": the desktop setting decides again.
    label->SetAntialiased(false);
    EXPECT_EQ(label->Font().Quality(), gfx::fqDefault);
    t.hb->Pump();
    EXPECT_EQ(GreyPixels(t, f, label), 0);
    gfx::SetFontSmoothing(true);
    label->Invalidate();
    t.hb->Pump();
    EXPECT_GT(GreyPixels(t, f, label), 20);
    label->Font().SetHeight(-12);
    EXPECT_EQ(label->Font().Quality(), gfx::fqDefault);
}
