// The keyboard model of the main window and the full-screen gallery, on small discs the tests
// write (the whole journey by keyboard is a script in tests/e2e).
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/VollbildForm.h"
#include "flat/FlatListBox.h"
#include "flat/FlatScrollbar.h"
#include "gfx/Bitmap.h"
#include "gfx/JpegCodec.h"
#include "gui/Image.h"
#include "gui/Label.h"
#include "skin/SkinButton.h"
#include "skin/TransText.h"
#include "tests/support/MenuFixture.h"
#include "tests/support/Records.h"
#include "tools/common/CatalogueWriter.h"

namespace {

TCatalogueProgram Program(const std::string& name, const std::string& screenshot = "") {
    TCatalogueProgram p;
    p.Name = name;
    p.Os = "Linux";
    p.Licence = "Freeware";
    p.Homepage = "www.beispiel.de";
    p.Screenshot = screenshot;
    p.Description = {"Eine Zeile."};
    return p;
}

std::string WriteJpeg(const MenuFixture& menu, const std::string& name, int w, int h) {
    return WriteGradientJpeg(menu, name, w, h, 90);
}

int Red(std::int64_t pixel) {
    return int(pixel & 0xFF);
}

}  // namespace

TEST(Gallery, FitsLargePicturesAndCentresSmallOnes) {
    // Larger than the screen: scaled down keeping proportions; smaller: natural size, centred.
    EXPECT_EQ(TVollbildForm::FitToScreen(1024, 768, 800, 600), (gfx::TRect{0, 0, 800, 600}));
    EXPECT_EQ(TVollbildForm::FitToScreen(1600, 600, 800, 600), (gfx::TRect{0, 150, 800, 450}));
    EXPECT_EQ(TVollbildForm::FitToScreen(600, 1200, 800, 600), (gfx::TRect{250, 0, 550, 600}));
    EXPECT_EQ(TVollbildForm::FitToScreen(320, 240, 800, 600), (gfx::TRect{240, 180, 560, 420}));
    EXPECT_EQ(TVollbildForm::FitToScreen(800, 600, 800, 600), (gfx::TRect{0, 0, 800, 600}));

    MenuFixture menu(MenuFixture::kNoStart);
    menu.screenWidth = 800;
    menu.screenHeight = 600;
    const std::string big = WriteJpeg(menu, "gross.jpg", 1024, 768);
    const std::string small = WriteJpeg(menu, "klein.jpg", 320, 240);
    WriteCatalogueAndStart(menu, {Program("Gross", big), Program("Klein", small), Program("Ohne")});
    TMainForm* m = menu.Main();
    gui::Automation& hb = menu.Backend();
    menu.Click(m->Column().Buttons().at(0));

    gfx::TRect bigBounds{}, smallBounds{};
    gfx::TSize bigPicture{};
    std::int64_t left = -1, middle = -1, right = -1, corner = -1;
    std::string bigName, smallName, noneName;
    bool noneHasPicture = true;
    hb.Post([&] {
        gui::TForm* v = VollbildForm;
        bigBounds = VollbildForm->Image1->BoundsRect();
        bigPicture = {VollbildForm->Image1->Picture().Width(), VollbildForm->Image1->Picture().Height()};
        bigName = VollbildForm->lName->Caption();
        // The whole picture is there, averaged down: red runs 0..255 across the screen.
        left = hb.PixelAt(v->Handle(), 2, 100);
        middle = hb.PixelAt(v->Handle(), 400, 100);
        right = hb.PixelAt(v->Handle(), 797, 100);
        hb.SetTarget(v->Handle());
        hb.Key(gui::VK_RIGHT);
        smallBounds = VollbildForm->Image1->BoundsRect();
        smallName = VollbildForm->lName->Caption();
        corner = hb.PixelAt(v->Handle(), 100, 100);
        hb.Key(gui::VK_END);
        noneName = VollbildForm->lName->Caption();
        noneHasPicture = VollbildForm->Image1->HasPicture();
        hb.Key(gui::VK_ESCAPE);
    });
    menu.Click(menu.Find<skin::TGlyphButton>("bVollbild"));
    EXPECT_FALSE(VollbildForm->Visible());
    EXPECT_EQ(bigBounds, (gfx::TRect{0, 0, 800, 600}));
    EXPECT_EQ(bigPicture.cx, 800);
    EXPECT_EQ(bigPicture.cy, 600);
    EXPECT_EQ(bigName, "Gross");
    EXPECT_LT(Red(left), 12);
    EXPECT_NEAR(Red(middle), 128, 8);
    EXPECT_GT(Red(right), 243);
    EXPECT_EQ(smallBounds, (gfx::TRect{240, 180, 560, 420}));
    EXPECT_EQ(smallName, "Klein");
    EXPECT_EQ(corner, 0) << "black around a small picture";
    // A program without a screenshot shows black with its name; the page behind followed.
    EXPECT_EQ(noneName, "Ohne");
    EXPECT_FALSE(noneHasPicture);
    EXPECT_EQ(m->List().lbProgramme()->ItemIndex(), 2);
    EXPECT_EQ(m->Page().gbProgramm()->Caption(), "Ohne");
}

TEST(Keyboard, FocusMarkOnlyAfterTheKeyboardWasUsed) {
    MenuFixture menu;
    TMainForm* m = menu.Main();
    gui::Automation& hb = menu.Backend();
    skin::TSkinButton* first = m->Column().Buttons().at(0);
    EXPECT_EQ(m->FocusedControl(), first);
    const gfx::TPoint at = first->ClientToForm({0, 0});
    const std::int64_t edge = menu.Pixel(at.X, at.Y + 10), inner = menu.Pixel(at.X + 1, at.Y + 10);

    hb.Key(gui::VK_DOWN);
    EXPECT_EQ(m->FocusedControl(), m->Column().Buttons().at(1));
    hb.Key(gui::VK_UP);
    hb.Pump();
    EXPECT_EQ(m->FocusedControl(), first);
    EXPECT_EQ(menu.Pixel(at.X, at.Y + 10), 0x18'10'10) << "dark outer line";
    EXPECT_EQ(menu.Pixel(at.X + 1, at.Y + 10), 0x1C'B8'FF) << "amber inner line";
    EXPECT_EQ(menu.Pixel(at.X + 1, at.Y + 21), edge) << "the next button is not marked";

    // A mouse press hides the mark again: the page is as the mouse user sees it.
    hb.Click(400, 5);
    hb.Pump();
    EXPECT_EQ(menu.Pixel(at.X, at.Y + 10), edge);
    EXPECT_EQ(menu.Pixel(at.X + 1, at.Y + 10), inner);
}

TEST(Keyboard, DescriptionScrollsWhenFocusedAndAltF4Ends) {
    MenuFixture menu(MenuFixture::kNoStart);
    TCatalogueProgram p = Program("Lang");
    p.Description.assign(40, "Eine lange Beschreibung, die viele Zeilen braucht, um ganz gelesen zu werden.");
    WriteCatalogueAndStart(menu, {p});
    TMainForm* m = menu.Main();
    gui::Automation& hb = menu.Backend();
    hb.Key(gui::VK_RETURN);  // the first category
    ASSERT_TRUE(m->List().pProgramme()->Visible());
    EXPECT_EQ(m->FocusedControl(), m->List().lbProgramme());
    hb.Pump();
    ASSERT_TRUE(m->Page().FlatScrollbar1()->Visible());
    // The mark lies around the text, not over its first column.
    const gfx::TPoint text = m->Page().TransText1()->ClientToForm({0, 0});
    auto edge = [&] {
        m->PaintInvalid();
        std::vector<std::int64_t> pixels;
        for (int y = 0; y < m->Page().TransText1()->Height(); ++y)
            for (int x = -2; x < 2; ++x) pixels.push_back(menu.Pixel(text.X + x, text.Y + y));
        return pixels;
    };
    const std::vector<std::int64_t> unmarked = edge();
    hb.Key(gui::VK_TAB, gui::ssShift);  // back from the list wraps to the description
    EXPECT_EQ(m->FocusedControl(), m->Page().TransText1());
    const std::vector<std::int64_t> marked = edge();
    const size_t row = size_t(m->Page().TransText1()->Height() / 2) * 4;
    EXPECT_EQ(marked[row], 0x18'10'10) << "dark outer line";
    EXPECT_EQ(marked[row + 1], 0x1C'B8'FF) << "amber inner line";
    for (size_t i = 0; i < marked.size(); i += 4)
        EXPECT_EQ((std::vector<std::int64_t>{marked[i + 2], marked[i + 3]}),
                  (std::vector<std::int64_t>{unmarked[i + 2], unmarked[i + 3]}))
            << "text column covered at row " << i / 4;
    hb.Key(gui::VK_DOWN);
    EXPECT_EQ(m->Page().FlatScrollbar1()->Position(), 13);
    EXPECT_EQ(m->Page().TransText1()->ScrollOffset(), 13);
    hb.Key(gui::VK_NEXT);
    EXPECT_GT(m->Page().FlatScrollbar1()->Position(), 13 + 100);
    hb.Key(gui::VK_END);
    EXPECT_EQ(m->Page().FlatScrollbar1()->Position(), m->Page().FlatScrollbar1()->Max());
    hb.Key(gui::VK_HOME);
    EXPECT_EQ(m->Page().FlatScrollbar1()->Position(), 0);
    EXPECT_EQ(m->Page().TransText1()->ScrollOffset(), 0);
    // The list keeps its own keys.
    hb.Key(gui::VK_TAB);
    EXPECT_EQ(m->FocusedControl(), m->List().lbProgramme());
    hb.Key(gui::VK_END);
    EXPECT_EQ(m->Page().FlatScrollbar1()->Position(), 0);

    // Alt+F4 ends the menu with the farewell sound (its memory outlives the menu's data).
    const uint8_t* farewell = m->Model().Resource()->SoundSlots[6].data();
    hb.Key(gui::VK_F4, gui::ssAlt);
    EXPECT_TRUE(menu.App()->Terminated());
    ASSERT_NE(menu.Sound().LastPlayed(), nullptr);
    EXPECT_EQ(menu.Sound().LastPlayed()->image, farewell);
}

TEST(Gallery, ArrowsShowWhileThePointerMovesAndPage) {
    MenuFixture menu(MenuFixture::kNoStart);
    menu.screenWidth = 800;
    menu.screenHeight = 600;
    // Small pictures: the arrows lie on black.
    WriteCatalogueAndStart(menu, {Program("Eins", WriteJpeg(menu, "eins.jpg", 320, 240)),
                                  Program("Zwei", WriteJpeg(menu, "zwei.jpg", 320, 240)),
                                  Program("Drei", WriteJpeg(menu, "drei.jpg", 320, 240))});
    TMainForm* m = menu.Main();
    gui::Automation& hb = menu.Backend();
    menu.Click(m->Column().Buttons().at(0));

    struct Seen {
        bool back = false, next = false;
        std::int64_t nextPixel = -1;
    };
    auto seen = [&](TVollbildForm* v) {
        v->PaintInvalid();
        const gfx::TPoint p = v->bWeiter->ClientToForm({4, 4});
        return Seen{v->bZurueck->Visible(), v->bWeiter->Visible(), hb.PixelAt(v->Handle(), p.X, p.Y)};
    };
    Seen opened, moved, beforeTimeout, afterTimeout, movedAgain, atLast;
    std::string pagedName, backName;
    bool stillOpen = false;
    hb.Post([&] {
        TVollbildForm* v = VollbildForm;
        hb.SetTarget(v->Handle());
        opened = seen(v);
        hb.MouseMove(400, 100);
        moved = seen(v);
        const int shown = v->tPfeile->Interval();
        hb.Advance(std::uint64_t(shown - 1));
        beforeTimeout = seen(v);
        hb.Advance(1);
        afterTimeout = seen(v);
        hb.MouseMove(401, 100);
        movedAgain = seen(v);
        // A click on an arrow pages and leaves the view open.
        const gfx::TPoint next = MenuFixture::Centre(v->bWeiter);
        hb.Click(next.X, next.Y);
        pagedName = v->lName->Caption();
        hb.Click(next.X, next.Y);
        atLast = seen(v);
        const gfx::TPoint back = MenuFixture::Centre(v->bZurueck);
        hb.Click(back.X, back.Y);
        backName = v->lName->Caption();
        stillOpen = v->Visible();
        hb.Key(gui::VK_ESCAPE);
    });
    menu.Click(menu.Find<skin::TGlyphButton>("bVollbild"));
    EXPECT_FALSE(opened.back || opened.next) << "no arrows until the pointer moves";
    EXPECT_EQ(opened.nextPixel, 0);
    // On the first program only the forward arrow.
    EXPECT_FALSE(moved.back);
    EXPECT_TRUE(moved.next);
    EXPECT_EQ(moved.nextPixel, 0x30'30'30) << "the arrow's plate";
    EXPECT_TRUE(beforeTimeout.next);
    EXPECT_FALSE(afterTimeout.next);
    EXPECT_EQ(afterTimeout.nextPixel, 0) << "black again where the arrow was";
    EXPECT_TRUE(movedAgain.next);
    EXPECT_EQ(pagedName, "Zwei");
    // On the last program only the back arrow.
    EXPECT_TRUE(atLast.back);
    EXPECT_FALSE(atLast.next);
    EXPECT_EQ(backName, "Zwei");
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(VollbildForm->Visible());
    EXPECT_EQ(m->List().lbProgramme()->ItemIndex(), 1) << "the page behind followed";
}
