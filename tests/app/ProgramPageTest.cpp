// The program page, the info page and the full-screen view, on small discs the tests write.
#include <gtest/gtest.h>

#include "app/InfoFrame.h"
#include "app/Preview.h"
#include "app/VollbildForm.h"
#include "base/Cp1252.h"
#include "flat/FlatGroupBox.h"
#include "flat/FlatListBox.h"
#include "flat/FlatScrollbar.h"
#include "flat/FlatScrollbarButton.h"
#include "gfx/Bitmap.h"
#include "gfx/JpegCodec.h"
#include "gfx/Thumbnail.h"
#include "gui/Image.h"
#include "gui/Label.h"
#include "gui/Screen.h"
#include "skin/GlyphButton.h"
#include "skin/PicturePanel.h"
#include "skin/SkinButton.h"
#include "skin/TransText.h"
#include "tests/support/MenuFixture.h"
#include "tests/support/Records.h"
#include "tools/common/CatalogueWriter.h"

namespace {

TCatalogueProgram Program(const std::string& name) {
    TCatalogueProgram p = ExampleProgram(name, {"Eine Zeile.", "Noch eine Zeile."});
    p.Price = "0 Euro";
    p.Homepage = "www.beispiel.de";
    p.Features = "schnell";
    return p;
}

std::string WriteJpeg(const MenuFixture& menu, const std::string& name, int w, int h) {
    return WriteGradientJpeg(menu, name, w, h, 80);
}

// Starts the menu on one category "Test" with these programs and opens it.
void StartWith(MenuFixture& menu, const std::vector<TCatalogueProgram>& programs) {
    WriteCatalogueAndStart(menu, programs);
    if (::testing::Test::HasFatalFailure()) return;
    menu.Click(menu.Main()->Column().Buttons().at(0));
}

// A click on the list entry, through the backend (failures end in the error box).
void ClickItem(MenuFixture& menu, int index) {
    TMainForm* m = menu.Main();
    m->List().lbProgramme()->SetTopIndex(0);
    const gfx::TRect slot = m->List().lbProgramme()->SlotRect(index);
    const gfx::TPoint p =
        m->List().lbProgramme()->ClientToForm({(slot.Left + slot.Right) / 2, (slot.Top + slot.Bottom) / 2});
    menu.Backend().SetTarget(m->Handle());
    menu.Backend().Click(p.X, p.Y);
}

void Select(MenuFixture& menu, int index) {
    TMainForm* m = menu.Main();
    m->List().lbProgramme()->SetItemIndex(index);
    m->lbProgrammeClick(m->List().lbProgramme());
}

}  // namespace

TEST(ProgramPage, FactRowsShorteningAndHomepage) {
    MenuFixture menu(MenuFixture::kNoStart);
    TCatalogueProgram noPrice = Program("Ohne Preis");
    noPrice.Price = "   ";
    TCatalogueProgram longValues = Program("Lang");
    longValues.Vendor = std::string(24, 'v');
    longValues.Language = std::string(25, 's');
    TCatalogueProgram noHomepage = Program("Ohne Homepage");
    noHomepage.Homepage = "";
    StartWith(menu, {noPrice, longValues, noHomepage});
    TMainForm* m = menu.Main();

    // Five rows, the homepage on row 4 at 162 and 177, underlined and clickable.
    ASSERT_EQ(m->Page().FactRowCount(), 5);
    const TFactRow& home = m->Page().FactRows()[4];
    EXPECT_EQ(home.Picture->Top(), 162);
    EXPECT_EQ(home.Picture->Left(), 285);
    EXPECT_EQ(home.Key->Top(), 162);
    EXPECT_EQ(home.Value->Top(), 177);
    EXPECT_EQ(home.Key->Caption(), "Homepage");
    EXPECT_EQ(home.Value->Caption(), "www.beispiel.de");
    EXPECT_TRUE(home.Value->Font().Style() & gfx::fsUnderline);
    EXPECT_EQ(home.Value->Cursor(), gui::crHandPoint);
    EXPECT_FALSE(m->Page().FactRows()[5].Picture->Visible());
    EXPECT_EQ(m->Page().FactRows()[2].Key->Caption(), "Sprache");
    menu.Shell().Clear();
    menu.Click(home.Value);
    ASSERT_EQ(menu.Shell().Calls().size(), 1u);
    EXPECT_EQ(menu.Shell().Calls()[0].target, "http://www.beispiel.de");
    menu.Shell().Clear();
    menu.Click(m->Page().FactRows()[0].Value);
    EXPECT_TRUE(menu.Shell().Calls().empty());

    // 24 characters whole, 25 cut to 22 and "..." with the whole value as hint.
    Select(menu, 1);
    ASSERT_EQ(m->Page().FactRowCount(), 6);
    const TFactRow& language = m->Page().FactRows()[3];
    EXPECT_EQ(language.Value->Caption(), std::string(22, 's') + "...");
    EXPECT_EQ(language.Value->Hint(), std::string(25, 's'));
    EXPECT_TRUE(language.Value->ShowHint());
    const TFactRow& vendor = m->Page().FactRows()[4];
    EXPECT_EQ(vendor.Value->Caption(), std::string(24, 'v'));
    EXPECT_FALSE(vendor.Value->ShowHint());
    EXPECT_EQ(MenuModel::ShortenFactValue(std::string(25, 'x')),
              std::make_pair(std::string(22, 'x') + "...", true));
    EXPECT_EQ(MenuModel::ShortenFactValue("kurz"), std::make_pair(std::string("kurz"), false));

    // Without a homepage the row that showed one before is plain and silent; the homepage kept.
    Select(menu, 2);
    ASSERT_EQ(m->Page().FactRowCount(), 5);
    for (int k = 0; k < 5; ++k) {
        EXPECT_FALSE(m->Page().FactRows()[size_t(k)].Value->Font().Style() & gfx::fsUnderline) << k;
        menu.Shell().Clear();
        menu.Click(m->Page().FactRows()[size_t(k)].Value);
        EXPECT_TRUE(menu.Shell().Calls().empty()) << k;
    }
    EXPECT_EQ(m->Model().Page().HomepageUrl, "www.beispiel.de");
    EXPECT_FALSE(m->Page().FactRows()[5].Value->Visible());
    menu.Screenshot("facts.png");
}

TEST(ProgramPage, ButtonsFromInstallAndStartPaths) {
    MenuFixture menu(MenuFixture::kNoStart);
    TCatalogueProgram zipLower = Program("Zip klein");
    zipLower.Install = "D:\\Programme\\a\\paket.zip";
    TCatalogueProgram zipMixed = Program("Zip gemischt");
    zipMixed.Install = "D:\\Programme\\b\\PAKET.Zip";
    zipMixed.Start = "D:\\Programme\\b\\start.exe";
    TCatalogueProgram installer = Program("Installer");
    installer.Install = "D:\\Programme\\c\\setup.exe";
    TCatalogueProgram startOnly = Program("Nur Start");
    startOnly.Start = "E:\\Programme\\d\\start.exe";
    TCatalogueProgram none = Program("Nichts");
    StartWith(menu, {zipLower, zipMixed, installer, startOnly, none});
    TMainForm* m = menu.Main();

    auto state = [&](const char* caption, bool install, bool start, bool copy) {
        EXPECT_EQ(menu.Find<skin::TSkinButton>("bInstallieren")->Caption(), caption);
        EXPECT_EQ(menu.Find<skin::TSkinButton>("bInstallieren")->Enabled(), install);
        EXPECT_EQ(menu.Find<skin::TSkinButton>("bStarten")->Enabled(), start);
        EXPECT_EQ(menu.Find<skin::TSkinButton>("bKopieren")->Enabled(), copy);
    };
    state("Entpacken", true, false, true);
    EXPECT_EQ(m->Model().Page().InstallPath, "D:\\Programme\\a\\paket.zip");
    EXPECT_EQ(m->Model().Page().CopySourcePath, m->Model().Page().InstallPath);
    Select(menu, 1);
    state("Entpacken", true, true, true);
    Select(menu, 2);
    state("Installieren", true, false, true);
    Select(menu, 3);
    state("Installieren", false, true, true);
    // Another drive letter is put onto the disc's root.
    EXPECT_EQ(m->Model().Page().StartPath, "D:\\Programme\\d\\start.exe");
    EXPECT_EQ(m->Model().Page().CopySourcePath, m->Model().Page().StartPath);
    EXPECT_EQ(m->Model().Page().InstallPath, "");
    Select(menu, 4);
    state("Installieren", false, false, false);
    EXPECT_EQ(m->Model().Page().CopySourcePath, "");
    menu.Screenshot("buttons.png");
}

TEST(ProgramPage, MapToDiscRoot) {
    MenuFixture menu;
    TMainForm* m = menu.Main();
    EXPECT_EQ(m->Model().MapToDiscRoot("E:\\PROGS\\A\\SETUP.EXE"), "D:\\PROGS\\A\\SETUP.EXE");
    EXPECT_EQ(m->Model().MapToDiscRoot("\\PROGS\\A"), "D:\\PROGS\\A");
    EXPECT_EQ(m->Model().MapToDiscRoot("  C:\\  "), "");
    EXPECT_EQ(m->Model().MapToDiscRoot("abc"), "");
    const std::string once = m->Model().MapToDiscRoot("F:\\x\\y.exe");
    EXPECT_EQ(m->Model().MapToDiscRoot(once), once);
}

TEST(ProgramPage, FeaturesLineAndDescription) {
    MenuFixture menu(MenuFixture::kNoStart);
    TCatalogueProgram with = Program("Mit");
    with.Description = {
        "Absatz eins mit so vielen Worten, dass er sicher mehr als eine Zeile der Ansicht "
        "braucht, wenn sie nur dreihundert Pixel breit ist und klein geschrieben wird.",
        "", "Absatz zwei."};
    TCatalogueProgram without = Program("Ohne");
    without.Features = "ab";
    StartWith(menu, {with, without});
    TMainForm* m = menu.Main();
    EXPECT_TRUE(m->Page().lBesonderheiten1()->Visible());
    EXPECT_EQ(m->Page().lBesonderheiten2()->Caption(), "schnell");
    EXPECT_EQ(m->Page().TransText1()->Height(), 146);
    EXPECT_EQ(m->Page().TransText1()->Text().Count(), 3);
    EXPECT_GT(m->Page().TransText1()->WrappedLines().Count(), 3);
    Select(menu, 1);
    EXPECT_FALSE(m->Page().lBesonderheiten1()->Visible());
    EXPECT_FALSE(m->Page().lBesonderheiten2()->Visible());
    EXPECT_EQ(m->Page().TransText1()->Height(), 166);
    EXPECT_EQ(m->Page().TransText1()->Text().Count(), 2);
    EXPECT_EQ(m->Page().TransText1()->Text()[0], "Eine Zeile.");
}

TEST(ProgramPage, DescriptionIsLeftAlignedAndScrollsByLinesWheelAndPage) {
    MenuFixture menu(MenuFixture::kNoStart);
    auto longText = [](const std::string& word) {
        std::vector<std::string> lines{
            "Der erste Absatz ist so lang, dass er umbrochen wird und seine erste Zeile "
            "bei Blocksatz breitere Luecken bekaeme als hier."};
        for (int i = 0; i < 16; ++i) lines.push_back(word + " " + std::to_string(i));
        return lines;
    };
    TCatalogueProgram first = Program("Erstes");
    first.Description = longText("Zeile");
    TCatalogueProgram second = Program("Zweites");
    second.Description = longText("Reihe");
    TCatalogueWriter w;
    w.Categories.push_back({"Test", {first, second}});
    menu.WriteFile("progname.txt", w.ProgName());
    menu.WriteFile("daten.txt", w.Daten());
    ASSERT_TRUE(menu.Start());
    TMainForm* m = menu.Main();
    skin::TTransText* view = m->Page().TransText1();
    flat::TFlatScrollbar* bar = m->Page().FlatScrollbar1();

    gfx::TFont font;
    font.SetName("Verdana");
    font.SetHeight(-11);
    gfx::TBitmap probe(1, 1);
    probe.Canvas().SetFont(font);
    const int lineHeight = probe.Canvas().TextHeight("x");
    // The first display line's band: black exactly where the text, drawn plainly from x 0 and
    // y 1, puts its glyphs.
    auto expectFirstLine = [&](const std::string& text) {
        const int w = view->Width(), h = lineHeight + 1;
        gfx::TBitmap ref(w, h);
        gfx::TCanvas& c = ref.Canvas();
        c.Brush().SetColor(gfx::clWhite);
        c.FillRect({0, 0, w, h});
        c.Brush().SetStyle(gfx::bsClear);
        c.SetFont(font);
        c.TextOut(0, 1, text);
        int inked = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool in = ref.Pixel(x, y) == gfx::clBlack;
                inked += in;
                const gfx::TPoint p = view->ClientToForm({x, y});
                ASSERT_EQ(menu.Pixel(p.X, p.Y) == gfx::clBlack, in) << x << "," << y;
            }
        EXPECT_GT(inked, 0);
    };

    // Before any page the view holds three dashes.
    m->Page().PicturePanel1()->Show();
    menu.Backend().Pump();
    expectFirstLine("---");

    menu.Click(m->Column().Buttons().at(0));
    ASSERT_GT(view->WrappedLines().Count(), 2);
    const std::string line0 = view->WrappedLines()[0];
    ASSERT_EQ(line0.back(), ' ');  // cut after a space: justification would widen its gaps
    expectFirstLine(line0);

    ASSERT_TRUE(bar->Visible());
    auto arrowStep = [&] {
        const gfx::TPoint p = MenuFixture::Centre(bar->SecondButton());
        menu.Backend().MouseDown(p.X, p.Y);
        menu.Backend().Advance(10);  // one tick of the held arrow
        menu.Backend().MouseUp(p.X, p.Y);
        menu.Backend().Pump();
    };
    // A click on the arrow moves one line at once; held, the text comes to rest on a line.
    arrowStep();
    EXPECT_EQ(bar->Position(), lineHeight);
    EXPECT_EQ(view->ScrollOffset(), lineHeight);
    const gfx::TPoint down = MenuFixture::Centre(bar->SecondButton());
    menu.Backend().MouseDown(down.X, down.Y);
    menu.Backend().Advance(400);
    menu.Backend().MouseUp(down.X, down.Y);
    EXPECT_GT(bar->Position(), 2 * lineHeight);
    EXPECT_EQ(bar->Position() % lineHeight, 0);
    // The wheel over the text scrolls it three lines a notch, though the list has the focus.
    bar->SetPosition(0);
    m->List().lbProgramme()->SetFocus();
    const gfx::TPoint over = MenuFixture::Centre(view);
    menu.Backend().MouseMove(over.X, over.Y);
    menu.Backend().Wheel(over.X, over.Y, -1);
    EXPECT_EQ(bar->Position(), 3 * lineHeight);
    EXPECT_EQ(m->List().lbProgramme()->TopIndex(), 0);
    menu.Backend().Wheel(over.X, over.Y, 1);
    EXPECT_EQ(bar->Position(), 0);
    bar->SetPosition(lineHeight);
    bar->SetFocus();
    menu.Backend().Key(gui::VK_NEXT);
    EXPECT_EQ(bar->Track()->Position(), lineHeight + 10);

    // The next program starts at the top, and its first step scrolls it.
    Select(menu, 1);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(view->ScrollOffset(), 0);
    arrowStep();
    EXPECT_EQ(bar->Position(), lineHeight);
    EXPECT_EQ(view->ScrollOffset(), lineHeight);
}

TEST(ProgramPage, ThumbnailPlacement) {
    gfx::TRect r{-1, -1, -1, -1};
    // The worked example: 640x480 is fitted to the width, 195.75 rounded to 196.
    ASSERT_TRUE(gfx::FitRect({0, 0, 640, 480}, {0, 0, 261, 196}, r));
    EXPECT_EQ(r, (gfx::TRect{0, 0, 261, 196}));
    ASSERT_TRUE(gfx::FitRect({0, 0, 800, 600}, {0, 0, 261, 196}, r));
    EXPECT_EQ(r, (gfx::TRect{0, 0, 261, 196}));
    // Tall and wide pictures are centred, the halving truncated.
    ASSERT_TRUE(gfx::FitRect({0, 0, 400, 800}, {0, 0, 261, 196}, r));
    EXPECT_EQ(r, (gfx::TRect{81, 0, 179, 196}));
    ASSERT_TRUE(gfx::FitRect({0, 0, 1000, 300}, {0, 0, 261, 196}, r));
    EXPECT_EQ(r, (gfx::TRect{0, 59, 261, 137}));
    EXPECT_FALSE(gfx::FitRect({0, 0, 0, 10}, {0, 0, 261, 196}, r));

    MenuFixture menu(MenuFixture::kNoStart);
    TCatalogueProgram tall = Program("Schmal");
    tall.Screenshot = WriteJpeg(menu, "schmal.jpg", 260, 400);
    TCatalogueProgram big = Program("Gross");
    big.Screenshot = WriteJpeg(menu, "gross.jpg", 800, 600);
    TCatalogueProgram huge = Program("Riesig");
    huge.Screenshot = WriteJpeg(menu, "riesig.jpg", 2000, 600);
    TCatalogueProgram broken = Program("Kaputt");
    broken.Screenshot = "D:\\Bilder\\kaputt.jpg";
    menu.WriteFile("Bilder/kaputt.jpg", "kein Bild");
    TCatalogueProgram missing = Program("Fehlt");
    missing.Screenshot = "D:\\Bilder\\fehlt.jpg";
    StartWith(menu, {tall, big, huge, broken, missing});
    TMainForm* m = menu.Main();
    gui::TImage* shot = m->Page().iScreenshot();

    // Smaller than the frame in one direction: unscaled, centred in the whole panel.
    EXPECT_TRUE(shot->Visible());
    EXPECT_EQ(shot->BoundsRect(), (gfx::TRect{0, 0, 261, 196}));
    EXPECT_FALSE(shot->Stretch());
    EXPECT_TRUE(shot->Center());
    EXPECT_EQ(shot->Picture().Width(), 260);
    EXPECT_EQ(shot->Picture().Height(), 400);
    EXPECT_EQ(m->Model().Page().ScreenshotPath, "D:\\Bilder\\schmal.jpg");
    Select(menu, 1);
    EXPECT_EQ(shot->BoundsRect(), (gfx::TRect{0, 0, 261, 196}));
    EXPECT_TRUE(shot->Stretch());
    // The panel shows the picture over its whole area: no panel colour at the corners.
    const gfx::TPoint corner = shot->ClientToForm({1, 1});
    EXPECT_NE(menu.Pixel(corner.X, corner.Y), gfx::RGB(240, 240, 240));
    Select(menu, 2);
    EXPECT_EQ(shot->BoundsRect(), (gfx::TRect{0, 59, 261, 137}));
    EXPECT_EQ(shot->Picture().Width(), 261);
    EXPECT_EQ(shot->Picture().Height(), 78);
    menu.Screenshot("thumb-wide.png");
    // An undecodable file keeps the thumbnail; a missing one hides it.
    Select(menu, 3);
    EXPECT_TRUE(shot->Visible());
    EXPECT_EQ(shot->Picture().Width(), 261);
    Select(menu, 4);
    EXPECT_FALSE(shot->Visible());
}

TEST(ProgramPage, RecordMissingOrCutShort) {
    MenuFixture menu(MenuFixture::kNoStart);
    menu.WriteFile("progname.txt", "Kategorie:Test\r\nDa\r\nFehlt\r\nKurz\r\n\r\n");
    TCatalogueProgram there = Program("Da");
    there.Install = "D:\\Programme\\da\\paket.zip";
    there.Start = "D:\\Programme\\da\\start.exe";
    there.Screenshot = WriteJpeg(menu, "da.jpg", 320, 240);
    TCatalogueWriter w;
    w.Categories.push_back({"Test", {there}});
    menu.WriteFile("daten.txt", w.Daten() + "Kategorie:Test\r\nProgramm:  Kurz\r\nProg_OS:  Linux\r\n");
    ASSERT_TRUE(menu.Start());
    menu.Click(menu.Main()->Column().Buttons().at(0));
    TMainForm* m = menu.Main();
    EXPECT_EQ(m->Page().FactRowCount(), 6);
    ASSERT_TRUE(menu.Find<skin::TSkinButton>("bStarten")->Enabled());
    ASSERT_TRUE(m->Page().iScreenshot()->Visible());
    ASSERT_GT(m->Page().TransText1()->Text().Count(), 0);
    // No record: the title changes, the counter follows, and nothing of the previous program stays:
    // no facts, no picture, no text, no action.
    Select(menu, 1);
    EXPECT_EQ(m->Page().gbProgramm()->Caption(), "Fehlt");
    for (const TFactRow& row : m->Page().FactRows()) EXPECT_FALSE(row.Value->Visible());
    EXPECT_EQ(m->List().lAnzahlProgramme()->Caption(), "2/3");
    EXPECT_EQ(m->Page().TransText1()->Text().Count(), 0);
    EXPECT_FALSE(m->Page().iScreenshot()->Visible());
    EXPECT_FALSE(m->Page().lBesonderheiten2()->Visible());
    for (skin::TSkinButton* action :
         {menu.Find<skin::TSkinButton>("bStarten"), menu.Find<skin::TSkinButton>("bKopieren"),
          menu.Find<skin::TSkinButton>("bInstallieren")})
        EXPECT_FALSE(action->Enabled()) << action->Name();
    EXPECT_FALSE(menu.Find<skin::TGlyphButton>("bVollbild")->Enabled());
    EXPECT_FALSE(menu.Find<skin::TGlyphButton>("bScreenshot")->Enabled());
    EXPECT_EQ(menu.Find<skin::TSkinButton>("bInstallieren")->Caption(), "Installieren");
    // The next program with a record has its page and its actions again.
    Select(menu, 0);
    EXPECT_TRUE(menu.Find<skin::TSkinButton>("bStarten")->Enabled());
    EXPECT_TRUE(menu.Find<skin::TGlyphButton>("bScreenshot")->Enabled());
    Select(menu, 1);
    // A record cut off by the end of the file: the list index message.
    menu.Backend().ClearRecords();
    m->List().lbProgramme()->SetFocus();
    menu.Backend().Key(gui::VK_DOWN);
    ASSERT_EQ(menu.Backend().MessageBoxes().size(), 1u);
    EXPECT_EQ(
        menu.Backend().MessageBoxes()[0].request.text.rfind(base::Cp("Der Index der Liste überschreitet"), 0),
        0u);
    // A missing daten.txt names the file.
    std::filesystem::remove(menu.Dir() + "daten.txt");
    menu.Backend().ClearRecords();
    ClickItem(menu, 0);
    ASSERT_EQ(menu.Backend().MessageBoxes().size(), 1u);
    EXPECT_EQ(menu.Backend().MessageBoxes()[0].request.text,
              base::Cp("Datei " + menu.Shown("daten.txt") + " kann nicht geöffnet werden."));
    EXPECT_EQ(gui::Screen->Cursor(), gui::crDefault);
}

// A long list scrolled down: both arrows are white on the black strips, framed in black.
TEST(ProgramList, ScrollArrowsStandOutOnTheirStrips) {
    MenuFixture menu(MenuFixture::kNoStart);
    std::vector<TCatalogueProgram> programs(15);
    for (size_t i = 0; i < programs.size(); ++i) programs[i] = Program("Programm " + std::to_string(i));
    StartWith(menu, programs);
    TMainForm* m = menu.Main();
    flat::TFlatListBox* list = m->List().lbProgramme();
    menu.Backend().SetTarget(m->Handle());
    const gfx::TPoint bottomStrip = list->ClientToForm({list->Width() / 2, list->Height() - 5});
    menu.Backend().Click(bottomStrip.X, bottomStrip.Y);
    ASSERT_EQ(list->TopIndex(), 1);

    auto at = [&](int x, int y) {
        const gfx::TPoint p = list->ClientToForm({x, y});
        return gfx::TColor(menu.Pixel(p.X, p.Y)) & 0xFFFFFF;
    };
    const int c = list->Width() / 2, bottom = list->Height();
    EXPECT_EQ(at(c, 5), gfx::clWhite) << "up arrow";
    EXPECT_EQ(at(c, bottom - 6), gfx::clWhite) << "down arrow";
    for (const auto& [x, y] : {std::pair{c - 6, 5}, std::pair{c, 2}, std::pair{c + 6, bottom - 6}})
        EXPECT_EQ(at(x, y), gfx::clBlack) << "strip at " << x << "," << y;
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{0, 50}, std::pair{list->Width() - 1, 100}})
        EXPECT_EQ(at(x, y), gfx::clBlack) << "frame at " << x << "," << y;
}

TEST(InfoPage, FromTheStartPageAndFromAProgramPage) {
    MenuFixture menu;
    TMainForm* m = menu.Main();
    TInfoFrame* info = &m->Info();
    EXPECT_EQ(info->lProgrammierung()->Caption(), "morvane.development");
    EXPECT_FALSE(info->lZusammenstellung()->Caption().empty());

    menu.ClearSounds();
    EXPECT_FALSE(info->iHintergrund()->HasPicture());  // read when first shown
    menu.Click(m->bInfo());
    EXPECT_TRUE(info->iHintergrund()->HasPicture());
    EXPECT_EQ(info->Left(), 0);
    EXPECT_FALSE(m->bInfo()->Enabled());
    EXPECT_EQ(menu.LastSoundSlot(), 0);
    menu.Screenshot("info.png");
    // The publisher's links.
    menu.Shell().Clear();
    menu.Click(info->leMail());
    menu.Click(info->lInternet());
    ASSERT_EQ(menu.Shell().Calls().size(), 2u);
    EXPECT_EQ(menu.Shell().Calls()[0].target.rfind("mailto:", 0), 0u);
    EXPECT_EQ(menu.Shell().Calls()[1].target.rfind("http://", 0), 0u);
    menu.ClearSounds();
    menu.Click(info->bBeenden());
    EXPECT_EQ(info->Left(), 640);
    EXPECT_TRUE(m->bInfo()->Enabled());
    EXPECT_EQ(menu.PlayedSlots(), std::vector<int>{0});
    // From the start page both panels stay hidden.
    EXPECT_FALSE(m->Page().PicturePanel1()->Visible());
    EXPECT_FALSE(m->List().pProgramme()->Visible());

    // From a program page they come back.
    menu.Click(m->Column().Buttons().at(0));
    menu.Click(m->bInfo());
    EXPECT_FALSE(m->Page().PicturePanel1()->Visible());
    EXPECT_FALSE(m->List().pProgramme()->Visible());
    menu.Click(info->bBeenden());
    EXPECT_TRUE(m->Page().PicturePanel1()->Visible());
    EXPECT_TRUE(m->List().pProgramme()->Visible());
}

TEST(FullScreen, CentredOnBlackAndClosedByAClick) {
    MenuFixture menu(MenuFixture::kNoStart);
    TCatalogueProgram p = Program("Bild");
    p.Screenshot = WriteJpeg(menu, "bild.jpg", 800, 600);
    TCatalogueProgram none = Program("Ohne Bild");
    StartWith(menu, {p, none});
    TMainForm* m = menu.Main();
    gui::Automation& hb = menu.Backend();
    ASSERT_NE(VollbildForm, nullptr);

    gfx::TRect imageBounds{};
    bool shown = false;
    hb.Post([&] {
        shown = VollbildForm->Visible();
        imageBounds = VollbildForm->Image1->BoundsRect();
        menu.Screenshot("fullscreen.png", VollbildForm);
        hb.SetTarget(VollbildForm->Handle());
        hb.Click(5, 5);  // on the black
    });
    menu.ClearSounds();
    menu.Click(menu.Find<skin::TGlyphButton>("bVollbild"));
    EXPECT_TRUE(shown);
    EXPECT_EQ(imageBounds, (gfx::TRect{112, 84, 912, 684}));
    EXPECT_FALSE(VollbildForm->Visible());
    EXPECT_EQ(menu.PlayedSlots(), std::vector<int>{0});

    // A double click on the thumbnail opens it too; a click on the picture closes it.
    shown = false;
    hb.Post([&] {
        shown = VollbildForm->Visible();
        hb.SetTarget(VollbildForm->Handle());
        hb.Click(512, 384);
    });
    const gfx::TPoint thumb = MenuFixture::Centre(m->Page().iScreenshot());
    hb.SetTarget(m->Handle());
    hb.DoubleClick(thumb.X, thumb.Y);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(VollbildForm->Visible());

    // Without a screenshot only the sound.
    Select(menu, 1);
    menu.ClearSounds();
    shown = false;
    menu.Click(menu.Find<skin::TGlyphButton>("bVollbild"));
    EXPECT_FALSE(VollbildForm->Visible());
    EXPECT_EQ(menu.PlayedSlots(), std::vector<int>{0});
}

namespace {

// The columns of r (window coordinates) that hold pixels of colour c, and the rows of those pixels
// within the last `tail` such columns.
struct Ink {
    int first = -1, last = -1;  // columns
    int tailTop = 1 << 30, tailBottom = -1;
};
// A row that holds a line rather than text (the group box's top line) is left out.
Ink InkIn(const MenuFixture& menu, const gfx::TRect& r, gfx::TColor c, int tail, int lineRow = -1) {
    Ink ink;
    for (int x = r.Left; x < r.Right; ++x)
        for (int y = r.Top; y < r.Bottom; ++y)
            if (y != lineRow && menu.Pixel(x, y) == c) {
                if (ink.first < 0) ink.first = x;
                ink.last = x;
            }
    for (int x = std::max(ink.last - tail + 1, r.Left); ink.last >= 0 && x <= ink.last; ++x)
        for (int y = r.Top; y < r.Bottom; ++y)
            if (y != lineRow && menu.Pixel(x, y) == c) {
                ink.tailTop = std::min(ink.tailTop, y);
                ink.tailBottom = std::max(ink.tailBottom, y);
            }
    return ink;
}

}  // namespace

TEST(ProgramPage, LongNamesEndInAnEllipsisBeforeTheTitleButtonsAndInTheList) {
    MenuFixture menu(MenuFixture::kNoStart);
    const std::string name = "Bildbearbeitung Professional Deluxe Edition mit Ebenen";
    StartWith(menu, {Program("Kurz"), Program(name)});
    TMainForm* m = menu.Main();
    Select(menu, 1);
    ASSERT_EQ(m->Page().gbProgramm()->Caption(), name);
    menu.Backend().Pump();

    // The title: black text from the left, ending well before the full-screen button, in dots on
    // its baseline (a letter cut in two would reach up to the capitals' height).
    const gfx::TPoint glyphs = menu.Find<skin::TGlyphButton>("bVollbild")->ClientToForm({0, 0});
    const gfx::TRect titleRow{200, 25, 640, glyphs.Y};
    // The box's top line runs from the title to the box's right edge, right of the glyph buttons.
    const int boxRight = m->Page().gbProgramm()->ClientToForm({m->Page().gbProgramm()->Width() - 1, 0}).X;
    int lineRow = -1;
    for (int y = titleRow.Top; y < titleRow.Bottom; ++y)
        if (menu.Pixel(boxRight - 2, y) == gfx::clBlack) lineRow = y;
    const Ink title = InkIn(menu, titleRow, gfx::clBlack, 8, lineRow);
    ASSERT_GE(title.first, 0);
    EXPECT_LT(title.last, glyphs.X) << "the title runs under the glyph buttons";
    EXPECT_GT(title.last, glyphs.X - 40);
    EXPECT_LE(title.tailBottom - title.tailTop, 3) << menu.Screenshot("long-title.png");
    EXPECT_TRUE(m->Page().gbProgramm()->CaptionShortened());

    // The list: the long name's row ends in dots as well, inside the row.
    const gfx::TRect slot = m->List().lbProgramme()->SlotRect(1);
    const gfx::TPoint at = m->List().lbProgramme()->ClientToForm({slot.Left, slot.Top});
    const gfx::TRect row{at.X + 1, at.Y + 1, at.X + slot.Width() - 1, at.Y + slot.Height() - 1};
    Select(menu, 0);
    menu.Backend().Pump();
    const Ink item = InkIn(menu, row, gfx::clBlack, 6);
    ASSERT_GE(item.first, 0);
    EXPECT_LE(item.tailBottom - item.tailTop, 2) << menu.Screenshot("long-item.png");
    EXPECT_TRUE(m->List().lbProgramme()->ItemShortened(1));
    EXPECT_FALSE(m->List().lbProgramme()->ItemShortened(0));

    // The preview names both places.
    const std::string out = menu.Dir() + "vorschau";
    RunPreview(*menu.App(), out);
    const std::string report = menu.ReadFile("vorschau/report.txt");
    for (const char* where : {"program list", "page title"})
        EXPECT_NE(report.find("- Test / " + name + ": the name is too long for the " + where +
                              ": it ends there in \"\xE2\x80\xA6\""),
                  std::string::npos)
            << report;
    EXPECT_EQ(report.find("- Test / Kurz: the name"), std::string::npos) << report;
}
