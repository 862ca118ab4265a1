// The program start and the category column, on copies of the sample disc and on small discs the
// tests write.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <array>
#include <cmath>
#include <cstdio>

#include "app/VollbildForm.h"
#include "base/Cp1252.h"
#include "flat/FlatListBox.h"
#include "gui/Timer.h"
#ifndef _WIN32
#include "platform/posix/FlockSingleInstance.h"
#endif
#include "skin/PicturePanel.h"
#include "skin/SkinButton.h"
#include "tests/support/MenuFixture.h"
#include "tools/common/BmpWriter.h"
#include "tools/common/CatalogueWriter.h"

namespace {

// A catalogue of n categories "Rubrik 0".. with one program each.
void WriteCategories(const MenuFixture& menu, int n) {
    TCatalogueWriter w;
    for (int i = 0; i < n; ++i) {
        TCatalogueProgram p;
        p.Name = "Programm " + std::to_string(i);
        p.Os = "Linux";
        p.Description = {"Text."};
        w.Categories.push_back({"Rubrik " + std::to_string(i), {p}});
    }
    menu.WriteFile("progname.txt", w.ProgName());
    menu.WriteFile("daten.txt", w.Daten());
}

skin::TSkinButton* Button(const MenuFixture& menu, int k) {
    return menu.Main()->Column().Buttons().at(size_t(k));
}

gfx::TFont Font(const char* name, int height, gfx::TFontStyles style) {
    gfx::TFont f;
    f.SetName(name);
    f.SetHeight(height);
    f.SetStyle(style);
    f.SetColor(gfx::clWhite);
    return f;
}

// The pixels that text in this font covers when drawn at (x, y) on a w by h surface (unsmoothed);
// x < 0 centres it the way a skin button does: round(w / 2) less half the text's size, likewise y.
std::vector<bool> Ink(const gfx::TFont& font, const std::string& text, int w, int h, int x, int y) {
    gfx::TBitmap b(w, h);
    gfx::TCanvas& c = b.Canvas();
    c.Brush().SetColor(gfx::clBlack);
    c.FillRect({0, 0, w, h});
    c.Brush().SetStyle(gfx::bsClear);
    c.SetFont(font);
    if (x < 0) {
        x = int(std::nearbyint(w / 2.0)) - c.TextWidth(text) / 2;  // ties to even: 8.5 gives 8
        y = int(std::nearbyint(h / 2.0)) - c.TextHeight(text) / 2;
    }
    c.TextOut(x, y, text);
    std::vector<bool> ink(size_t(w) * size_t(h));
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
            ink[size_t(py) * size_t(w) + size_t(px)] = b.Pixel(px, py) != gfx::clBlack;
    return ink;
}

}  // namespace

TEST(MainFormStart, WindowsTitleStateAndStartSounds) {
    MenuFixture menu(MenuFixture::kNoStart);
    ASSERT_TRUE(menu.Start(false));
    TMainForm* m = menu.Main();
    ASSERT_TRUE(m->Initialised());
    EXPECT_EQ(menu.App()->Title(), base::Cp("CD&DVD-Menü - powered by morvane.development"));
    EXPECT_EQ(m->Caption(), base::Cp("Menü"));
    // The main window first, the full-screen view after it.
    const auto& forms = menu.App()->Forms();
    ASSERT_GE(forms.size(), 2u);
    EXPECT_EQ(forms.front(), m);
    EXPECT_EQ(menu.App()->MainForm(), m);
    auto vollbild = std::find(forms.begin(), forms.end(), static_cast<gui::TForm*>(VollbildForm));
    EXPECT_NE(vollbild, forms.end());
    EXPECT_EQ(m->Width(), 640);
    EXPECT_EQ(m->Height(), 480);

    // The start sound at creation, and again at showing.
    EXPECT_EQ(menu.PlayedSlots(), std::vector<int>{1});
    m->Show();
    menu.Backend().Pump();
    EXPECT_EQ(menu.PlayedSlots(), (std::vector<int>{1, 1}));

    // Start page: start picture shown, list, page and description hidden, info page outside.
    EXPECT_TRUE(m->iStart()->Visible());
    EXPECT_FALSE(m->List().pProgramme()->Visible());
    EXPECT_FALSE(m->Page().gbProgramm()->Visible());
    EXPECT_FALSE(m->Page().PicturePanel1()->Visible());
    EXPECT_EQ(menu.Find("InfoFrame1")->Left(), 640);
    EXPECT_EQ(m->Column().bRubrik1()->Left(), -200);
    // The first banner and the data of Menue.dat.
    EXPECT_EQ(m->Banners().Banner(0)->Left() == 15 || m->Banners().Banner(1)->Left() == 15 ||
                  m->Banners().Banner(2)->Left() == 15,
              true);
    ASSERT_NE(m->Model().Resource(), nullptr);
    EXPECT_TRUE(m->iLogo()->HasPicture());
    // The skin's image lists are there before the buttons take their images.
    EXPECT_EQ(menu.Find<gui::TImageList>("ilButtons3")->Count(), 2);
    EXPECT_EQ(m->Column().bPfeilUnten()->ImageIndex(), 1);
    EXPECT_EQ(menu.Find<skin::TSkinButton>("bSuche")->ImageIndex(), 1);
    EXPECT_EQ(m->Column().bRubrik1()->ImageIndex(), 0);
    EXPECT_EQ(m->Info().bBeenden()->ImageIndex(), 0);
    const gfx::TPoint arrow = MenuFixture::Centre(m->Column().bPfeilUnten());
    EXPECT_NE(menu.Pixel(arrow.X, arrow.Y), 0xFFFFFF);
    EXPECT_EQ(m->Model().DataDir(), "D:\\");
    EXPECT_EQ(m->Model().DiscRoot(), "D:\\");
    menu.Screenshot("start.png");

    // Minimise: slot 0; closing: the farewell sound, and the application ends.
    menu.ClearSounds();
    menu.Click("bMinimieren");
    EXPECT_EQ(menu.PlayedSlots(), std::vector<int>{0});
    EXPECT_TRUE(menu.Backend().Window(m->Handle())->minimized);
    const uint8_t* farewell = m->Model().Resource()->SoundSlots[6].data();
    menu.Click("bBeenden2");
    ASSERT_NE(menu.Sound().LastPlayed(), nullptr);
    EXPECT_EQ(menu.Sound().LastPlayed()->image, farewell);
    EXPECT_TRUE(menu.App()->Terminated());
    for (const TFactRow& row : m->Page().FactRows()) EXPECT_EQ(row.Picture, nullptr);
}

TEST(MainFormStart, EightBitWarningOnceBeforeShowing) {
    for (int depth : {8, 4, 16, 32}) {
        MenuFixture menu(MenuFixture::kNoStart);
        menu.colorDepth = depth;
        ASSERT_TRUE(menu.Start(false));
        const auto& boxes = menu.Backend().MessageBoxes();
        if (depth <= 8) {
            ASSERT_EQ(boxes.size(), 1u) << depth;
            EXPECT_EQ(boxes[0].request.caption, "Warnung");
            EXPECT_EQ(
                boxes[0].request.text,
                base::Cp("Wir empfehlen eine Farbtiefe von mindestens 16 Bit (65.536 Farben) zur optimalen "
                         "Darstellung des CD-Menüs."));
        } else {
            EXPECT_TRUE(boxes.empty()) << depth;
        }
        // The window is shown only after it, and showing asks nothing more.
        EXPECT_FALSE(menu.Main()->Visible());
        menu.Main()->Show();
        menu.Backend().Pump();
        EXPECT_EQ(boxes.size(), depth <= 8 ? 1u : 0u);
        // The program runs on.
        EXPECT_TRUE(menu.Main()->Initialised());
    }
}

TEST(MainFormStart, DataDirAndDiscRootOfAProgramInASubfolder) {
    MenuFixture menu(MenuFixture::kNoStart);
    // The disc's data files beside a program in MENU/.
    std::filesystem::create_directories(menu.Dir() + "MENU");
    for (const char* f : {"Menue.dat", "progname.txt", "daten.txt"})
        std::filesystem::rename(menu.Dir() + f, menu.Dir() + "MENU/" + f);
    menu.Options.dataDir.clear();
    menu.Options.programFile = menu.Dir() + "MENU/cdmenu";
    ASSERT_TRUE(menu.Start());
    EXPECT_EQ(menu.Main()->Model().DataDir(), "D:\\MENU\\");
    EXPECT_EQ(menu.Main()->Model().DiscRoot(), "D:\\");
    EXPECT_EQ(menu.Main()->Model().DataFile("daten.txt"), menu.Dir() + "MENU/daten.txt");
    EXPECT_EQ(menu.Main()->Model().MapToDiscRoot("E:\\PROGS\\A\\SETUP.EXE"), "D:\\PROGS\\A\\SETUP.EXE");
}

TEST(MainFormStart, MissingOrShortDataFilesStopTheInitialisation) {
    {
        MenuFixture menu(MenuFixture::kNoStart);
        std::filesystem::remove(menu.Dir() + "progname.txt");
        EXPECT_FALSE(menu.Start(false));
        ASSERT_EQ(menu.Backend().MessageBoxes().size(), 1u);
        EXPECT_EQ(menu.Backend().MessageBoxes()[0].request.text,
                  base::Cp("Datei " + menu.Shown("progname.txt") + " kann nicht geöffnet werden."));
        // Menue.dat was never read: no sounds, no data.
        EXPECT_EQ(menu.Main()->Model().Resource(), nullptr);
        EXPECT_TRUE(menu.PlayedSlots().empty());
    }
    {
        MenuFixture menu(MenuFixture::kNoStart);
        const std::string dat = menu.ReadFile("Menue.dat");
        menu.WriteFile("Menue.dat", dat.substr(0, dat.size() / 2));
        EXPECT_FALSE(menu.Start(false));
        ASSERT_EQ(menu.Backend().MessageBoxes().size(), 1u);
        EXPECT_EQ(menu.Backend().MessageBoxes()[0].request.text, "Stream-Read-Fehler.");
        EXPECT_EQ(menu.Main()->Model().Resource(), nullptr);
        // The categories were read before; nothing after the failing step ran.
        EXPECT_EQ(menu.Main()->Column().Buttons().size(), 10);
        EXPECT_EQ(menu.Main()->Page().FactRows()[0].Picture, nullptr);
    }
}

// The lock between two processes of the POSIX build (the Win32 one has its own test).
#ifndef _WIN32
TEST(MainFormStart, SecondProcessEndsSilently) {
    const std::string program =
        std::string(getenv("CDMENU_BUILD") ? getenv("CDMENU_BUILD") : "..") + "/cdmenu";
    if (access(program.c_str(), X_OK) != 0) GTEST_SKIP() << "cdmenu not built";
    char tmpl[] = "/tmp/cdmenu-lock-XXXXXX";
    const std::string folder = mkdtemp(tmpl);
    // Runs cdmenu with the lock folder and without a display; returns exit code and output.
    auto run = [&](std::string& output) {
        const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR=" + folder +
                                " SDL_VIDEODRIVER=x11 CDMENU_HEADLESS=0 " + program + " 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        char buf[256];
        output.clear();
        while (size_t n = fread(buf, 1, sizeof buf, p)) output.append(buf, n);
        return WEXITSTATUS(pclose(p));
    };
    std::string output;
    {
        // Another process holds "vorlap": the menu ends at once, with 0 and no output.
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t holder = fork();
        if (holder == 0) {
            platform::FlockSingleInstance lock(folder);
            char ok = lock.Acquire("vorlap") ? '1' : '0';
            (void)!write(ready[1], &ok, 1);
            pause();
            _exit(0);
        }
        char ok = 0;
        ASSERT_EQ(read(ready[0], &ok, 1), 1);
        ASSERT_EQ(ok, '1');
        EXPECT_EQ(run(output), 0);
        EXPECT_EQ(output, "");
        kill(holder, SIGKILL);
        waitpid(holder, nullptr, 0);
        close(ready[0]);
        close(ready[1]);
    }
    // With the holder gone the lock is free again: the menu goes on to open its window (and, with
    // no display here, says so).
    EXPECT_NE(run(output), 0);
    EXPECT_NE(output, "");
    std::filesystem::remove_all(folder);
}
#endif

TEST(MainFormCategories, ColumnFor13And14Categories) {
    {
        MenuFixture menu(MenuFixture::kNoStart);
        WriteCategories(menu, 13);
        ASSERT_TRUE(menu.Start());
        TMainForm* m = menu.Main();
        ASSERT_EQ(m->Column().Buttons().size(), 13);
        EXPECT_EQ(m->Column().VisibleCount(), 13);
        for (int k = 0; k < 13; ++k) {
            EXPECT_EQ(Button(menu, k)->Top(), 130 + 20 * k);
            EXPECT_EQ(Button(menu, k)->Left(), 15);
            EXPECT_EQ(Button(menu, k)->Caption(), "Rubrik " + std::to_string(k));
            EXPECT_EQ(Button(menu, k)->Name(), "bRubrik" + std::to_string(k + 2));
        }
        EXPECT_EQ(Button(menu, 12)->Top(), 370);
        EXPECT_EQ(m->Column().bPfeilOben()->Left(), -200);
        EXPECT_EQ(m->Column().bPfeilUnten()->Left(), -200);
    }
    {
        MenuFixture menu(MenuFixture::kNoStart);
        WriteCategories(menu, 14);
        ASSERT_TRUE(menu.Start());
        TMainForm* m = menu.Main();
        ASSERT_EQ(m->Column().Buttons().size(), 10);
        EXPECT_EQ(Button(menu, 0)->Top(), 153);
        EXPECT_EQ(Button(menu, 9)->Top(), 333);
        EXPECT_EQ(m->Column().bPfeilOben()->Left(), 31);
        EXPECT_EQ(m->Column().bPfeilOben()->Top(), 130);
        EXPECT_FALSE(m->Column().bPfeilOben()->Enabled());
        EXPECT_EQ(m->Column().bPfeilUnten()->Left(), 31);
        EXPECT_EQ(m->Column().bPfeilUnten()->Top(), 356);
        EXPECT_TRUE(m->Column().bPfeilUnten()->Enabled());
        menu.ClearSounds();
        // A disabled arrow takes no press: no sound, no step.
        menu.Press(m->Column().bPfeilOben());
        EXPECT_TRUE(menu.PlayedSlots().empty());
        EXPECT_EQ(m->Column().First(), 0);
        for (int press = 1; press <= 4; ++press) {
            menu.Press(m->Column().bPfeilUnten());
            EXPECT_EQ(m->Column().First(), press);
            EXPECT_EQ(m->Column().bPfeilUnten()->Enabled(), press < 4);
        }
        EXPECT_EQ(Button(menu, 9)->Caption(), "Rubrik 13");
        menu.Screenshot("categories14.png");
    }
}

TEST(MainFormCategories, FivePressesOnTheDownArrowWith15) {
    MenuFixture menu(MenuFixture::kNoStart);
    WriteCategories(menu, 15);
    ASSERT_TRUE(menu.Start());
    TMainForm* m = menu.Main();
    menu.ClearSounds();
    for (int press = 1; press <= 5; ++press) {
        menu.Press(m->Column().bPfeilUnten());
        EXPECT_EQ(m->Column().First(), press);
        EXPECT_TRUE(m->Column().bPfeilOben()->Enabled()) << press;
        EXPECT_EQ(m->Column().bPfeilUnten()->Enabled(), press < 5) << press;
        // Holding the button does not repeat.
        menu.Backend().Advance(1000);
        EXPECT_EQ(m->Column().First(), press);
    }
    for (int k = 0; k < 10; ++k) EXPECT_EQ(Button(menu, k)->Caption(), "Rubrik " + std::to_string(k + 5));
    EXPECT_EQ(menu.PlayedSlots(), std::vector<int>(5, 0));
    menu.Press(m->Column().bPfeilUnten());
    EXPECT_EQ(m->Column().First(), 5);
    EXPECT_EQ(menu.PlayedSlots().size(), 5u);
    // And back up to the top.
    for (int press = 0; press < 7; ++press) menu.Press(m->Column().bPfeilOben());
    EXPECT_EQ(m->Column().First(), 0);
    EXPECT_FALSE(m->Column().bPfeilOben()->Enabled());
    EXPECT_TRUE(m->Column().bPfeilUnten()->Enabled());
    EXPECT_EQ(Button(menu, 0)->Caption(), "Rubrik 0");
}

TEST(MainFormCategories, CategoryToListToPageAndBack) {
    MenuFixture menu;
    TMainForm* m = menu.Main();
    ASSERT_EQ(m->Model().Categories().size(), 15);
    menu.ClearSounds();
    skin::TSkinButton* second = Button(menu, 1);
    const std::string category = second->Caption();
    menu.Click(second);
    EXPECT_EQ(m->Model().Heading(), category);
    EXPECT_TRUE(m->List().pProgramme()->Visible());
    EXPECT_EQ(m->List().pProgramme()->Left(), 15);
    ASSERT_GT(m->List().lbProgramme()->Items().Count(), 2);
    EXPECT_EQ(m->List().lbProgramme()->ItemIndex(), 0);
    EXPECT_TRUE(m->Page().gbProgramm()->Visible());
    EXPECT_FALSE(m->iStart()->Visible());
    EXPECT_EQ(m->Model().CurrentProgram(), m->List().lbProgramme()->Items().Strings(0));
    EXPECT_EQ(m->Page().gbProgramm()->Caption(), m->List().lbProgramme()->Items().Strings(0));
    const int n = m->List().lbProgramme()->Items().Count();
    EXPECT_EQ(m->List().lAnzahlProgramme()->Caption(), "1/" + std::to_string(n));
    EXPECT_GT(m->Page().FactRowCount(), 0);
    EXPECT_GT(m->Page().TransText1()->WrappedLines().Count(), 0);
    // The category's sound, then the list's own click.
    EXPECT_EQ(menu.PlayedSlots(), (std::vector<int>{0, 0}));
    EXPECT_EQ(m->Model().PageBuilds(), 1);
    menu.Screenshot("page1.png");

    // The third entry by mouse.
    const gfx::TRect slot = m->List().lbProgramme()->SlotRect(2);
    const gfx::TPoint p =
        m->List().lbProgramme()->ClientToForm({(slot.Left + slot.Right) / 2, (slot.Top + slot.Bottom) / 2});
    menu.ClearSounds();
    menu.Backend().Click(p.X, p.Y);
    EXPECT_EQ(m->List().lbProgramme()->ItemIndex(), 2);
    EXPECT_EQ(m->Model().CurrentProgram(), m->List().lbProgramme()->Items().Strings(2));
    EXPECT_EQ(m->List().lAnzahlProgramme()->Caption(), "3/" + std::to_string(n));
    EXPECT_EQ(menu.PlayedSlots(), std::vector<int>{0});
    EXPECT_EQ(m->Model().PageBuilds(), 2);
    // The same entry again: the page is not built again.
    menu.Backend().Click(p.X, p.Y);
    EXPECT_EQ(m->Model().PageBuilds(), 2);
    // Arrow keys in the list build the next page without a sound.
    menu.ClearSounds();
    menu.Backend().Key(gui::VK_DOWN);
    EXPECT_EQ(m->List().lbProgramme()->ItemIndex(), 3);
    EXPECT_EQ(m->Model().CurrentProgram(), m->List().lbProgramme()->Items().Strings(3));
    EXPECT_TRUE(menu.PlayedSlots().empty());
    menu.Screenshot("page4.png");

    // Back to the categories.
    menu.Click(menu.Find<flat::TFlatButton>("bRubrikauswahl"));
    EXPECT_FALSE(m->List().pProgramme()->Visible());
    EXPECT_FALSE(m->Page().gbProgramm()->Visible());
    EXPECT_FALSE(m->Page().PicturePanel1()->Visible());
    EXPECT_TRUE(m->iStart()->Visible());
    EXPECT_EQ(menu.LastSoundSlot(), 0);
    // The same category again builds its first page afresh.
    menu.Click(second);
    EXPECT_EQ(m->Model().PageBuilds(), 4);
}

TEST(MainFormCategories, EmptyCategoryShowsAnEmptyListAndNoError) {
    MenuFixture menu(MenuFixture::kNoStart);
    menu.WriteFile("progname.txt",
                   "Kategorie:Voll\r\nEins\r\n\r\nKategorie:Leer\r\n\r\nKategorie:A & B\r\nEins\r\n\r\n");
    TCatalogueWriter w;
    TCatalogueProgram eins;
    eins.Name = "Eins";
    eins.Os = "Linux";
    w.Categories.push_back({"Voll", {eins}});
    eins.Os = "BSD";
    w.Categories.push_back({"A & B", {eins}});
    menu.WriteFile("daten.txt", w.Daten());
    ASSERT_TRUE(menu.Start());
    TMainForm* m = menu.Main();
    // First a full category, so that the counter and the page have something to be stale with.
    menu.Click(Button(menu, 0));
    ASSERT_TRUE(m->Page().gbProgramm()->Visible());
    ASSERT_EQ(m->List().lAnzahlProgramme()->Caption(), "1/1");
    menu.Click(menu.Find<flat::TFlatButton>("bRubrikauswahl"));
    menu.ClearSounds();
    menu.Click(Button(menu, 1));
    EXPECT_TRUE(menu.Backend().MessageBoxes().empty());
    EXPECT_EQ(menu.PlayedSlots(), std::vector<int>{0});
    EXPECT_TRUE(m->List().pProgramme()->Visible());
    EXPECT_EQ(m->List().lRubrik()->Caption(), "Leer");
    EXPECT_EQ(m->List().lbProgramme()->Items().Count(), 0);
    EXPECT_EQ(m->List().lAnzahlProgramme()->Caption(), "0/0");
    EXPECT_FALSE(m->Page().gbProgramm()->Visible());
    EXPECT_FALSE(m->Page().PicturePanel1()->Visible());
    EXPECT_TRUE(m->iStart()->Visible());  // the right side is not left blank
    EXPECT_EQ(m->Model().PageBuilds(), 1);
    // A click or a key in the empty list changes nothing.
    menu.Click(m->List().lbProgramme());
    menu.Backend().Key(gui::VK_DOWN);
    EXPECT_TRUE(menu.Backend().MessageBoxes().empty());
    EXPECT_TRUE(m->iStart()->Visible());
    // The info page over an empty list gives the list back when it closes.
    m->bInfoClick(m);
    m->InfoBeendenClick(m);
    EXPECT_TRUE(m->List().pProgramme()->Visible());
    EXPECT_TRUE(m->iStart()->Visible());
    // A name with "&" is shown with it in the heading, and finds its record.
    menu.Click(menu.Find<flat::TFlatButton>("bRubrikauswahl"));
    menu.Click(Button(menu, 2));
    EXPECT_EQ(m->List().lRubrik()->Caption(), "A && B");
    EXPECT_EQ(m->Page().FactRows()[0].Value->Caption(), "BSD");
}

TEST(MainFormStart, TitleButtonsRepeatTheirMiddleColumnAndDrawBoldCaptions) {
    MenuFixture menu(MenuFixture::kNoStart);
    // Title-button art with a colour of its own in every column and no transparent pixel: each
    // pixel of a button tells which image column it was copied from.
    auto art = [](int x, int y) { return gfx::RGB(uint8_t(20 + 12 * x), uint8_t(3 * y), 40); };
    menu.WriteFile("skin/ilButtons4.bmp", TBmpWriter::Fill24(17, 68, [&](int x, int y) {
                       const gfx::TColor c = art(x, y);
                       return uint32_t(gfx::GetRValue(c)) << 16 | uint32_t(gfx::GetGValue(c)) << 8 |
                              gfx::GetBValue(c);
                   }));
    std::filesystem::remove(menu.Dir() + "skin/ilButtons4.mask.bmp");
    ASSERT_TRUE(menu.Start());
    TMainForm* m = menu.Main();
    struct Case {
        skin::TSkinButton* Button;
        const char* FontName;
        const char* Caption;
    };
    for (const Case& t : {Case{m->bInfo(), "MS Sans Serif", "i"},
                          Case{menu.Find<skin::TSkinButton>("bMinimieren"), "Webdings", "0"},
                          Case{menu.Find<skin::TSkinButton>("bBeenden2"), "Webdings", "r"}}) {
        SCOPED_TRACE(t.Caption);
        ASSERT_EQ(t.Button->Width(), 17);
        ASSERT_EQ(t.Button->Height(), 17);
        const std::vector<bool> ink = Ink(Font(t.FontName, -12, gfx::fsBold), t.Caption, 17, 17, -1, -1);
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) {
                // Caps of 8 columns: the strip copies image columns 9 and 10 to x 8 to 10, so
                // x 8 shows column 9; everything else is the image as it is.
                const gfx::TColor want =
                    ink[size_t(y) * 17 + size_t(x)] ? gfx::clWhite : art(x == 8 ? 9 : x, y);
                const gfx::TPoint p = t.Button->ClientToForm({x, y});
                ASSERT_EQ(menu.Pixel(p.X, p.Y), want) << x << "," << y;
            }
    }
}

TEST(MainFormCategories, ListHeadingIsPlainWhiteText) {
    MenuFixture menu(MenuFixture::kNoStart);
    WriteCategories(menu, 3);
    menu.WriteFile("skin/iRubrik.bmp", TBmpWriter::Fill24(170, 20, [](int, int) { return 0x203050u; }));
    ASSERT_TRUE(menu.Start());
    TMainForm* m = menu.Main();
    menu.Click(Button(menu, 2));
    ASSERT_EQ(m->List().lRubrik()->Caption(), "Rubrik 2");
    // Over the whole heading bar right of the label's left edge: white exactly where plain Arial
    // puts its glyphs.
    const int w = 165, h = 16;
    const std::vector<bool> ink = Ink(Font("Arial", -11, 0), "Rubrik 2", w, h, 0, 0);
    int inked = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool in = ink[size_t(y) * size_t(w) + size_t(x)];
            inked += in;
            const gfx::TPoint p = m->List().lRubrik()->ClientToForm({x, y});
            ASSERT_EQ(menu.Pixel(p.X, p.Y) == gfx::clWhite, in) << x << "," << y;
        }
    EXPECT_GT(inked, 20);
}
