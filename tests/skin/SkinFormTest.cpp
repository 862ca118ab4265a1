// TSkinForm: the Mask2 block (reading, writing, damage), the outline handed to the window, the
// forced position, the frame taken off the form and the window drag.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "SkinHarness.h"
#include "base/Exceptions.h"
#include "base/MemoryStream.h"
#include "gui/Panel.h"
#include "skin/SkinForm.h"
#include "tests/support/Place.h"

using skin::TSkinForm;

namespace {

void Put(std::vector<std::uint8_t>& b, std::int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
}

// A Mask2 block as the window system's region data would give it.
std::vector<std::uint8_t> Mask2(const std::vector<gfx::TRect>& rects, std::int32_t headerSize = 32,
                                std::int32_t claimedCount = -1) {
    std::vector<std::uint8_t> data;
    Put(data, headerSize);
    Put(data, 1);
    Put(data, claimedCount >= 0 ? claimedCount : std::int32_t(rects.size()));
    Put(data, std::int32_t(rects.size() * 16));
    gfx::TRect bound = rects.empty() ? gfx::TRect{} : rects[0];
    for (const auto& r : rects) bound = gfx::UnionRect(bound, r);
    for (int v : {bound.Left, bound.Top, bound.Right, bound.Bottom}) Put(data, v);
    for (const auto& r : rects)
        for (int v : {r.Left, r.Top, r.Right, r.Bottom}) Put(data, v);
    std::vector<std::uint8_t> block;
    Put(block, std::int32_t(data.size()));
    block.insert(block.end(), data.begin(), data.end());
    return block;
}

std::vector<std::uint8_t> Written(const TSkinForm& skin) {
    base::TMemoryStream out;
    skin.WriteMask2(out);
    return out.Bytes();
}

}  // namespace

TEST(SkinForm, Mask2RoundTripAndOutlineOfTheWindow) {
    SkinHarness t;
    auto* f = t.Form(640, 480, gfx::clBlack);
    auto* skin = f->Make<TSkinForm>();
    skin->SetParent(f);
    // A window with rounded-off top corners: three bands.
    const std::vector<gfx::TRect> rects{{4, 0, 636, 2}, {1, 2, 639, 4}, {0, 4, 640, 480}};
    const auto block = Mask2(rects);
    base::TMemoryStream in(block);
    skin->ReadMask2(in);
    EXPECT_EQ(in.Position(), std::int64_t(block.size()));
    ASSERT_TRUE(skin->Mask()->HasRegion());
    EXPECT_EQ(skin->Mask()->Region(), rects);
    EXPECT_EQ(skin->RegionData(), std::vector<std::uint8_t>(block.begin() + 4, block.end()));
    EXPECT_EQ(Written(*skin), block);
    f->Show();
    EXPECT_EQ(t.hb->Window(f->Handle())->shape, rects);

    // A new picture drops the record of the outline; the window keeps its shape.
    gfx::TBitmap pic(640, 480, gfx::pf8bit);
    skin->SetPicture(pic);
    EXPECT_FALSE(skin->Mask()->HasRegion());
    EXPECT_EQ(Written(*skin), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(t.hb->Window(f->Handle())->shape, rects);
}

TEST(SkinForm, EmptyAndDamagedMask2Blocks) {
    SkinHarness t;
    auto* f = t.Form(640, 480, gfx::clBlack);
    auto* skin = f->Make<TSkinForm>();
    skin->SetParent(f);
    f->Show();
    auto shape = [&] { return t.hb->Window(f->Handle())->shape; };

    // The main window's block: four zero bytes, no outline, nothing kept.
    base::TMemoryStream zero(std::vector<std::uint8_t>{0, 0, 0, 0});
    skin->ReadMask2(zero);
    EXPECT_FALSE(skin->Mask()->HasRegion());
    EXPECT_TRUE(skin->RegionData().empty());
    EXPECT_TRUE(shape().empty());
    EXPECT_EQ(Written(*skin), (std::vector<std::uint8_t>{0, 0, 0, 0}));

    // Region data the window system would reject: no outline, no error, the window stays square.
    for (const auto& bad :
         {Mask2({{0, 0, 10, 10}}, 40), Mask2({{0, 0, 10, 10}}, 32, 2),
          Mask2({{0, 0, 10, 10}}, 32, 0x10000001), std::vector<std::uint8_t>{3, 0, 0, 0, 1, 2, 3}}) {
        base::TMemoryStream in(bad);
        EXPECT_NO_THROW(skin->ReadMask2(in));
        EXPECT_FALSE(skin->Mask()->HasRegion());
        EXPECT_TRUE(shape().empty());
        EXPECT_EQ(in.Position(), std::int64_t(bad.size()));  // the block is consumed whole
    }

    // A count below zero or past the end of the form data is a read error, never a read beyond.
    base::TMemoryStream negative(std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 1, 2});
    EXPECT_THROW(skin->ReadMask2(negative), base::EReadError);
    auto cut = Mask2({{0, 0, 10, 10}});
    cut.resize(cut.size() - 1);
    base::TMemoryStream shortBlock(cut);
    EXPECT_THROW(skin->ReadMask2(shortBlock), base::EReadError);
    base::TMemoryStream truncatedCount(std::vector<std::uint8_t>{1, 0});
    EXPECT_THROW(skin->ReadMask2(truncatedCount), base::EReadError);
    EXPECT_FALSE(skin->Mask()->HasRegion());
}

TEST(SkinForm, PositionStaysAtTheOriginAndOnlyAFormLosesItsFrame) {
    SkinHarness t;
    auto* f = t.app->CreateForm<gui::TForm>();
    f->SetBounds(0, 0, 640, 480);
    ASSERT_EQ(f->BorderStyle(), gui::bsSizeable);
    auto* panel = Place<gui::TPanel>(f, 50, 60, 200, 100);

    auto* onPanel = f->Make<TSkinForm>();
    onPanel->SetAlign(gui::alNone);
    onPanel->SetBounds(7, 9, 30, 40);
    onPanel->SetParent(panel);
    EXPECT_EQ(f->BorderStyle(), gui::bsSizeable);
    EXPECT_EQ(onPanel->BoundsRect(), (gfx::TRect{0, 0, 30, 40}));
    onPanel->SetLeft(12);
    onPanel->SetTop(-3);
    onPanel->SetWidth(33);
    onPanel->SetHeight(44);
    EXPECT_EQ(onPanel->BoundsRect(), (gfx::TRect{0, 0, 33, 44}));

    auto* skin = f->Make<TSkinForm>();
    skin->SetParent(f);
    EXPECT_EQ(f->BorderStyle(), gui::bsNone);
    EXPECT_EQ(skin->Align(), gui::alClient);
    EXPECT_EQ(skin->BoundsRect(), (gfx::TRect{0, 0, 640, 480}));
    EXPECT_TRUE(skin->Draggable());
}

TEST(SkinForm, LeftPressAnywhereOnTheSkinDragsTheWindow) {
    SkinHarness t;
    auto* f = t.Form(640, 480, gfx::clBlack);
    f->SetBounds(100, 100, 640, 480);
    auto* skin = f->Make<TSkinForm>();
    skin->SetParent(f);
    int downs = 0;
    skin->OnMouseDown = [&](gui::TComponent*, gui::TMouseButton, gui::TShiftState, int, int) { ++downs; };
    f->Show();
    auto bounds = [&] { return t.hb->Window(f->Handle())->bounds; };

    t.hb->MouseDown(20, 20, gui::mbRight);
    t.hb->MouseMove(60, 50);
    t.hb->MouseUp(60, 50, gui::mbRight);
    t.hb->MouseDown(20, 20, gui::mbMiddle);
    t.hb->MouseMove(30, 30);
    t.hb->MouseUp(30, 30, gui::mbMiddle);
    EXPECT_EQ(bounds().Left, 100);
    EXPECT_EQ(bounds().Top, 100);

    skin->SetDraggable(false);  // not consulted
    t.hb->MouseDown(20, 20);
    t.hb->MouseMove(50, 45);
    t.hb->MouseUp(50, 45);
    EXPECT_EQ(bounds().Left, 130);
    EXPECT_EQ(bounds().Top, 125);
    EXPECT_EQ(f->Left(), 130);
    EXPECT_EQ(downs, 0);  // the press is the drag, not an event
    EXPECT_EQ(t.app->CaptureControl(), nullptr);
    EXPECT_TRUE(skin->StartsWindowDrag(5, 5));
}
