#include "flat/FlatListBox.h"

#include "base/StrUtils.h"
#include "gui/Timer.h"
#include "tests/flat/FlatFixture.h"

namespace flat {
namespace {

using gfx::RGB;

// A list box like the menu's program list: 200 x 214 at (20, 10), arrow strips, ten slots.
class FlatListBoxTest : public testing::FlatFixture {
protected:
    void SetUp() override {
        FlatFixture::SetUp();
        lb = Add<TFlatListBox>(kLeft, kTop, 200, 194);
        lb->SetScrollBars(true);  // grows by the 20 pixels of the strips
    }
    void Fill(int n) {
        base::TStringList lines;
        for (int i = 0; i < n; ++i) lines.Add("Item " + base::IntToStr(i));
        lb->SetItems(lines);
    }
    int Down(int key) {
        lb->SetFocus();
        hb->Key(key);
        return lb->ItemIndex();
    }

    static constexpr int kLeft = 20, kTop = 10;
    TFlatListBox* lb = nullptr;
};

TEST_F(FlatListBoxTest, LayoutAndHeightSnapping) {
    EXPECT_EQ(lb->Height(), 214);
    EXPECT_EQ(lb->VisibleCount(), 10);
    EXPECT_EQ(lb->SlotRect(0), (gfx::TRect{3, 13, 197, 30}));
    EXPECT_EQ(lb->SlotRect(9), (gfx::TRect{3, 184, 197, 201}));
    lb->SetHeight(230);  // snapped back to whole slots
    EXPECT_EQ(lb->Height(), 214);
    lb->SetHeight(240);
    EXPECT_EQ(lb->VisibleCount(), 11);
    EXPECT_EQ(lb->Height(), 233);
    lb->SetScrollBars(false);
    EXPECT_EQ(lb->Height(), 213);
    EXPECT_EQ(lb->VisibleCount(), 11);
    EXPECT_EQ(lb->SlotRect(0).Top, 3);
    lb->SetItemHeight(0);
    EXPECT_EQ(lb->ItemHeight(), 1);
}

TEST_F(FlatListBoxTest, ItemsSetterAndSelectionLimits) {
    base::TStringList tooMany;
    for (int i = 0; i < 257; ++i) tooMany.Add("x");
    lb->Items().Add("kept");
    lb->SetItems(tooMany);  // ignored as a whole
    ASSERT_EQ(lb->Items().Count(), 1);
    EXPECT_EQ(lb->Items()[0], "kept");

    base::TStringList lines;
    lines.Add("  padded  ");
    for (int i = 1; i < 256; ++i) lines.Add("line");
    lb->SetTopIndex(5);
    lb->SetItems(lines);
    EXPECT_EQ(lb->Items().Count(), 256);
    EXPECT_EQ(lb->Items()[0], "padded");
    EXPECT_EQ(lines[0], "padded");  // trimmed in the given list too
    EXPECT_EQ(lb->TopIndex(), 0);

    lb->SetItemIndex(3);
    EXPECT_TRUE(lb->Selected(3));
    EXPECT_EQ(lb->Hint(), "line");
    lb->Items().Add("more");  // any change clears the selection
    EXPECT_FALSE(lb->Selected(3));
    EXPECT_EQ(lb->ItemIndex(), 3);

    for (int i = 257; i <= 300; ++i) lb->Items().Add("late " + base::IntToStr(i));
    lb->SetItemIndex(300);  // can be current, never marked
    EXPECT_EQ(lb->ItemIndex(), 300);
    EXPECT_FALSE(lb->Selected(300));
    EXPECT_EQ(lb->Hint(), "late 300");

    lb->SetMultiSelect(true);  // switching it on makes item 0 current
    EXPECT_EQ(lb->ItemIndex(), 0);
    EXPECT_TRUE(lb->Selected(0));
    lb->SetItemIndex(2);
    EXPECT_TRUE(lb->Selected(0));
    EXPECT_TRUE(lb->Selected(2));
}

TEST_F(FlatListBoxTest, KeysThroughTheControl) {
    Fill(30);
    EXPECT_EQ(Down(gui::VK_END), 29);
    EXPECT_EQ(lb->TopIndex(), 20);
    EXPECT_EQ(lb->Hint(), "Item 29");
    // Page Up with the current item on the last page: I - V + 1 = 20, the page stays.
    EXPECT_EQ(Down(gui::VK_PRIOR), 20);
    EXPECT_EQ(lb->TopIndex(), 20);
    EXPECT_EQ(Down(gui::VK_PRIOR), 10);
    EXPECT_EQ(lb->TopIndex(), 10);
    EXPECT_EQ(Down(gui::VK_HOME), 0);
    EXPECT_EQ(Down(gui::VK_NEXT), 10);
    EXPECT_EQ(lb->TopIndex(), 10);
    EXPECT_EQ(Down(gui::VK_UP), 9);
    EXPECT_EQ(lb->TopIndex(), 9);
    EXPECT_EQ(Down('I'), 0);  // every item starts with "I"
    EXPECT_EQ(lb->TopIndex(), 0);

    // Fewer items than slots: the last item, top 0, and a search never scrolls below 0.
    Fill(5);
    EXPECT_EQ(Down(gui::VK_NEXT), 4);
    EXPECT_EQ(lb->TopIndex(), 0);
    EXPECT_EQ(Down(gui::VK_HOME), 0);
    EXPECT_EQ(Down('Z'), 4);
    EXPECT_EQ(lb->TopIndex(), 0);
}

TEST_F(FlatListBoxTest, WheelKeepsTheLastPageFull) {
    Fill(30);
    lb->SetFocus();
    lb->SetTopIndex(18);
    hb->Wheel(kLeft + 50, kTop + 50, -1);  // three lines down would show past the end
    EXPECT_EQ(lb->TopIndex(), 20);
    hb->Wheel(kLeft + 50, kTop + 50, 1);
    EXPECT_EQ(lb->TopIndex(), 17);
    hb->MutableSettings()->wheelScrollLines = 0;  // a page per notch
    hb->Wheel(kLeft + 50, kTop + 50, 1);
    EXPECT_EQ(lb->TopIndex(), 7);
    hb->Wheel(kLeft + 50, kTop + 50, 1);
    EXPECT_EQ(lb->TopIndex(), 0);
}

TEST_F(FlatListBoxTest, MergedAndFineWheelDeltasStepOncePerWhole120) {
    Fill(40);
    lb->SetFocus();
    auto wheel = [&](int delta) {
        gui::Event ev;
        ev.type = gui::EventType::MouseWheel;
        ev.window = form->Handle();
        ev.x = kLeft + 50;
        ev.y = kTop + 50;
        ev.wheelDelta = delta;
        hb->Inject(ev);
        hb->Pump();
        return lb->TopIndex();
    };
    // Merged notches, as SDL delivers a fast turn: each 120 is a notch of three lines.
    EXPECT_EQ(wheel(-240), 6);
    EXPECT_EQ(wheel(-360), 15);
    EXPECT_EQ(wheel(240), 9);
    // Past the end in one event: the last page stays full.
    EXPECT_EQ(wheel(-1200), 30);
    // Past the top in one event.
    EXPECT_EQ(wheel(600), 15);
    EXPECT_EQ(wheel(720), 0);

    // Fine wheels: deltas below a notch add up, and the rest carries over.
    EXPECT_EQ(wheel(-60), 0);
    EXPECT_EQ(wheel(-40), 0);
    EXPECT_EQ(wheel(-40), 3);  // 140: one notch, 20 left
    EXPECT_EQ(wheel(-100), 6);
    EXPECT_EQ(wheel(90), 6);  // back the other way: not yet a notch
    EXPECT_EQ(wheel(30), 3);
    EXPECT_EQ(wheel(-250), 9);  // two notches and a rest of 10
    EXPECT_EQ(wheel(-110), 12);

    // A page per notch: two merged notches scroll two pages.
    hb->MutableSettings()->wheelScrollLines = 0;
    EXPECT_EQ(wheel(240), 0);
    EXPECT_EQ(wheel(-240), 20);
}

TEST_F(FlatListBoxTest, HeldArrowRepeatsAfter600ThenEvery100) {
    Fill(15);  // five steps until the last item reaches the last slot
    const int bottomStrip = kTop + 214 - 5;
    hb->MouseDown(kLeft + 100, bottomStrip);
    EXPECT_EQ(lb->TopIndex(), 1);
    hb->Advance(599);
    EXPECT_EQ(lb->TopIndex(), 1);
    hb->Advance(1);
    EXPECT_EQ(lb->TopIndex(), 2);
    hb->Advance(100);
    EXPECT_EQ(lb->TopIndex(), 3);
    hb->Advance(200);
    EXPECT_EQ(lb->TopIndex(), 5);
    hb->Advance(500);
    EXPECT_EQ(lb->TopIndex(), 5);
    EXPECT_FALSE(lb->RepeatTimer()->Enabled());
    hb->MouseUp(kLeft + 100, bottomStrip);
    EXPECT_EQ(lb->RepeatTimer()->Interval(), 600);

    // Upwards, released before the first repeat: one step only.
    hb->MouseDown(kLeft + 100, kTop + 5);
    EXPECT_EQ(lb->TopIndex(), 4);
    hb->Advance(550);
    hb->MouseUp(kLeft + 100, kTop + 5);
    hb->Advance(1000);
    EXPECT_EQ(lb->TopIndex(), 4);
}

TEST_F(FlatListBoxTest, ClicksSelectSlots) {
    int downs = 0, clicks = 0;
    lb->OnMouseDown = [&](gui::TComponent*, gui::TMouseButton, gui::TShiftState, int, int) { ++downs; };
    hb->Click(kLeft + 50, kTop + 20);  // empty list: nothing to select
    EXPECT_EQ(lb->ItemIndex(), -1);

    Fill(5);
    lb->OnClick = [&](gui::TComponent*) {
        ++clicks;
        // The owner can correct an index past the end before the mouse-up sets the hint.
        if (lb->ItemIndex() >= lb->Items().Count()) lb->SetItemIndex(lb->Items().Count() - 1);
    };
    downs = 0;
    hb->Click(kLeft + 50, kTop + 13 + 19 + 5);  // slot 1
    EXPECT_EQ(lb->ItemIndex(), 1);
    EXPECT_TRUE(lb->Selected(1));
    EXPECT_EQ(downs, 0);  // an item click raises no mouse-down event
    EXPECT_TRUE(lb->Focused());
    hb->Click(kLeft + 50, kTop + 13 + 7 * 19 + 5);  // slot 7 holds no item
    EXPECT_EQ(lb->ItemIndex(), 4);
    EXPECT_EQ(lb->Hint(), "Item 4");
    EXPECT_EQ(clicks, 2);
}

TEST_F(FlatListBoxTest, PaintedStripsArrowsAndSelection) {
    const gfx::TColor strip = RGB(0, 0, 128), border = RGB(255, 0, 0), grey = RGB(128, 128, 128);
    lb->SetColor(strip);
    lb->SetColorBorder(border);
    lb->SetColorArrow(gfx::clWhite);
    lb->SetColorItemsRect(gfx::clWhite);
    lb->SetColorItemsSelect(gfx::clSilver);
    Fill(5);
    lb->SetItemIndex(1);
    const int x = kLeft, y = kTop, c = kLeft + 100, bottom = kTop + 214;

    EXPECT_EQ(Pixel(x, y), border);
    EXPECT_EQ(Pixel(x + 2, y + 2), strip);
    EXPECT_EQ(Pixel(x + 5, y + 10), border);  // the strip's frame
    EXPECT_EQ(Pixel(x + 5, bottom - 11), border);
    // Nothing to scroll either way: both arrows embossed, grey over a white shadow.
    EXPECT_EQ(Pixel(c, y + 4), grey);
    EXPECT_EQ(Pixel(c - 2, y + 6), grey);
    EXPECT_EQ(Pixel(c + 3, y + 7), gfx::clWhite);
    EXPECT_EQ(Pixel(c, bottom - 5), grey);
    EXPECT_EQ(Pixel(c + 3, bottom - 6), gfx::clWhite);
    // The selected slot is filled and framed; the others are the items' background.
    EXPECT_EQ(Pixel(x + 3, y + 32), border);
    EXPECT_EQ(Pixel(x + 190, y + 40), gfx::clSilver);
    EXPECT_EQ(Pixel(x + 190, y + 20), gfx::clWhite);
    EXPECT_EQ(Pixel(x + 190, y + 120), gfx::clWhite);  // a slot without an item

    Fill(30);  // now there is more below: the down arrow in the arrow colour
    EXPECT_EQ(Pixel(c, bottom - 5), gfx::clWhite);
    EXPECT_EQ(Pixel(c - 2, bottom - 7), gfx::clWhite);
    EXPECT_EQ(Pixel(c + 3, bottom - 6), strip);
    EXPECT_EQ(Pixel(c, y + 4), grey);
}

}  // namespace
}  // namespace flat
