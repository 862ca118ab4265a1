#include "flat/FlatScrollbar.h"

#include <vector>

#include "flat/FlatScrollbarButton.h"
#include "flat/FlatScrollbarThumb.h"
#include "tests/flat/FlatFixture.h"

namespace flat {
namespace {

using gfx::RGB;

// The menu's bar: 12 x 148 at (100, 20); track 114 long from y 37, so the thumb has 97 pixels
// of room.
class FlatScrollbarTest : public testing::FlatFixture {
protected:
    void SetUp() override {
        FlatFixture::SetUp();
        bar = Add<TFlatScrollbar>(100, 20, 12, 148);
        bar->SetSmallChange(2);
        bar->SetLargeChange(10);
        bar->OnScroll = [this](gui::TComponent*, int pos) { scrolls.push_back(pos); };
    }
    int ThumbTop() const { return bar->Track()->Thumb()->Top(); }

    TFlatScrollbar* bar = nullptr;
    std::vector<int> scrolls;
};

TEST_F(FlatScrollbarTest, LayoutAndThumbPlacement) {
    EXPECT_EQ(bar->FirstButton()->BoundsRect(), (gfx::TRect{0, 0, 12, 17}));
    EXPECT_EQ(bar->SecondButton()->BoundsRect(), (gfx::TRect{0, 131, 12, 148}));
    EXPECT_EQ(bar->Track()->BoundsRect(), (gfx::TRect{0, 17, 12, 131}));
    EXPECT_EQ(bar->Track()->Thumb()->BoundsRect(), (gfx::TRect{0, 0, 12, 17}));

    bar->SetPosition(100);
    EXPECT_EQ(ThumbTop(), 97);
    bar->SetPosition(50);
    EXPECT_EQ(ThumbTop(), 48);  // 48.5, halves to even
    bar->SetPosition(150);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(ThumbTop(), 97);
    bar->SetPosition(-5);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(ThumbTop(), 0);

    // A resize lays the parts out again and keeps the position.
    bar->SetPosition(100);
    bar->SetHeight(100);
    EXPECT_EQ(bar->SecondButton()->Top(), 83);
    EXPECT_EQ(ThumbTop(), 49);  // track 66, room 49

    // Horizontal: buttons at the ends, thumb along the width.
    bar->SetKind(sbHorizontal);
    bar->SetBounds(10, 200, 148, 12);
    EXPECT_EQ(bar->SecondButton()->BoundsRect(), (gfx::TRect{131, 0, 148, 12}));
    EXPECT_EQ(bar->Track()->Thumb()->Width(), 17);
    EXPECT_EQ(bar->Track()->Thumb()->Height(), 12);
    EXPECT_EQ(bar->Track()->Thumb()->Left(), 97);
    EXPECT_EQ(bar->FirstButton()->Glyph().Width(), 9);  // the left arrow is 9 x 10
}

TEST_F(FlatScrollbarTest, DraggingTheThumbIsClamped) {
    // Press 5 pixels into the thumb (form y 37 + 5).
    hb->MouseDown(105, 42);
    hb->MouseMove(105, 72);  // 30 down
    EXPECT_EQ(ThumbTop(), 30);
    EXPECT_EQ(bar->Position(), 31);  // 30 / 97 * 100 = 30.9
    ASSERT_FALSE(scrolls.empty());
    EXPECT_EQ(scrolls.back(), 31);

    hb->MouseMove(105, 400);  // far below: the thumb stops at the end of the track
    EXPECT_EQ(ThumbTop(), 97);
    EXPECT_EQ(bar->Position(), 100);
    hb->MouseMove(105, -100);  // far above
    EXPECT_EQ(ThumbTop(), 0);
    EXPECT_EQ(bar->Position(), 0);
    hb->MouseUp(105, -100);
    EXPECT_FALSE(bar->Track()->Thumb()->Dragging());

    // Hovering over the thumb without a button still reports the position it stands for,
    // which can differ from the last one set.
    bar->SetPosition(50);
    scrolls.clear();
    hb->MouseMove(105, 37 + 48 + 3);
    ASSERT_EQ(scrolls.size(), 1u);
    EXPECT_EQ(scrolls.back(), 49);
    EXPECT_EQ(bar->Position(), 49);
    EXPECT_EQ(ThumbTop(), 48);
}

TEST_F(FlatScrollbarTest, ArrowsStepAtOnceAndRepeatOnTheClock) {
    hb->MouseDown(105, 155);  // the down arrow: one step at once
    EXPECT_EQ(bar->Position(), 2);
    hb->Advance(TFlatScrollbarButton::kFirstDelay - 1);
    EXPECT_EQ(bar->Position(), 2);  // held, it waits before it repeats
    hb->Advance(1);
    EXPECT_EQ(bar->Position(), 4);
    hb->Advance(40);
    EXPECT_EQ(bar->Position(), 12);
    EXPECT_EQ(scrolls.size(), 6u);
    hb->MouseUp(105, 155);
    EXPECT_FALSE(bar->SecondButton()->Repeating());
    hb->Advance(100);
    EXPECT_EQ(bar->Position(), 12);

    // A quick click is one step.
    hb->MouseDown(105, 155);
    hb->Advance(5);
    hb->MouseUp(105, 155);
    hb->Advance(50);
    EXPECT_EQ(bar->Position(), 14);

    // With lines to scroll, a click goes to the next line and a held arrow rests on one.
    bar->SetLineStep(13);
    hb->MouseDown(105, 155);
    hb->MouseUp(105, 155);
    EXPECT_EQ(bar->Position(), 26);
    hb->MouseDown(105, 155);
    hb->Advance(TFlatScrollbarButton::kFirstDelay + 30);
    EXPECT_EQ(bar->Position(), 39 + 4 * 2);
    hb->MouseUp(105, 155);
    EXPECT_EQ(bar->Position(), 52);
    hb->MouseDown(105, 25);  // up
    hb->MouseUp(105, 25);
    EXPECT_EQ(bar->Position(), 39);
    bar->SetLineStep(0);

    // Up at the start: OnScroll goes on firing with the unchanged position.
    bar->SetPosition(0);
    scrolls.clear();
    hb->MouseDown(105, 25);
    hb->Advance(TFlatScrollbarButton::kFirstDelay + 20);
    hb->MouseUp(105, 25);
    EXPECT_EQ(scrolls, (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(FlatScrollbarTest, KeysAndRequestsMoveOnlyTheThumb) {
    int key = gui::VK_NEXT;
    bar->KeyDown(key, 0);
    EXPECT_EQ(bar->Track()->Position(), 10);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(ThumbTop(), 10);  // 9.7
    key = gui::VK_DOWN;
    bar->KeyDown(key, 0);
    EXPECT_EQ(bar->Track()->Position(), 12);
    key = gui::VK_RIGHT;  // across a vertical bar: nothing
    bar->KeyDown(key, 0);
    EXPECT_EQ(bar->Track()->Position(), 12);
    EXPECT_TRUE(scrolls.empty());

    EXPECT_EQ(bar->Perform(WM_VSCROLL, SB_BOTTOM, 0), 0);
    EXPECT_EQ(bar->Track()->Position(), 100);
    bar->Perform(WM_HSCROLL, SB_THUMBTRACK | (40 << 16), 0);
    EXPECT_EQ(bar->Perform(SBM_GETPOS, 0, 0), 40);
    bar->Perform(WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(bar->Track()->Position(), 40);
    bar->Perform(WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(bar->Track()->Position(), 30);
    EXPECT_EQ(bar->Position(), 0);

    bar->Perform(SBM_SETRANGE, 0, 60);
    int lo = -1, hi = -1;
    bar->Perform(SBM_GETRANGE, reinterpret_cast<std::intptr_t>(&lo), reinterpret_cast<std::intptr_t>(&hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 60);

    EXPECT_EQ(bar->Perform(SBM_ENABLE_ARROWS, ESB_DISABLE_LTUP, 0), 1);
    EXPECT_FALSE(bar->FirstButton()->Enabled());
    EXPECT_TRUE(bar->SecondButton()->Enabled());
    EXPECT_EQ(bar->FirstButton()->Glyph().Pixel(4, 1), RGB(160, 160, 128));
    bar->Perform(SBM_ENABLE_ARROWS, ESB_DISABLE_RTDN, 0);
    EXPECT_FALSE(bar->FirstButton()->Enabled());  // not named: keeps its state
    bar->Perform(SBM_ENABLE_ARROWS, ESB_ENABLE_BOTH, 0);
    EXPECT_TRUE(bar->FirstButton()->Enabled());
    EXPECT_EQ(bar->SecondButton()->Glyph().Pixel(4, 7), gfx::clBlack);
}

TEST_F(FlatScrollbarTest, PaintedParts) {
    const gfx::TColor face = RGB(239, 233, 224);
    const gfx::TColor thumb = RGB(162, 154, 130);
    // Up arrow glyph at (1, 4) of the first button: its tip row is glyph row 1, columns 4-5.
    EXPECT_EQ(Pixel(100 + 1 + 4, 20 + 4 + 1), gfx::clBlack);
    EXPECT_EQ(Pixel(100 + 1 + 0, 20 + 4 + 1), face);  // white glyph pixels are see-through
    EXPECT_EQ(Pixel(100, 20), face);                  // button border in the button colour
    // Down arrow: tip on glyph row 7.
    EXPECT_EQ(Pixel(100 + 1 + 5, 20 + 131 + 4 + 7), gfx::clBlack);
    // Thumb at the top of the track, the track below it.
    EXPECT_EQ(Pixel(105, 37 + 8), thumb);
    EXPECT_EQ(Pixel(105, 37 + 40), face);
    bar->SetPosition(100);
    EXPECT_EQ(Pixel(105, 37 + 8), face);
    EXPECT_EQ(Pixel(105, 37 + 97 + 8), thumb);
}

}  // namespace
}  // namespace flat
