// The skin the program carries: a disc with nothing but its three data files shows the whole menu,
// and a skin folder on the disc overrides it picture by picture.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/BuiltinSkin.h"
#include "app/SkinFiles.h"
#include "base/MemoryStream.h"
#include "skin/SkinButton.h"
#include "skin/SkinForm.h"
#include "tests/support/MenuFixture.h"
#include "tools/common/BmpWriter.h"

namespace {

namespace fs = std::filesystem;

// A copy of the sample disc cut down to Menue.dat, progname.txt and daten.txt.
void KeepOnlyDataFiles(const MenuFixture& menu) {
    for (const auto& entry : fs::directory_iterator(menu.Dir())) {
        const std::string name = entry.path().filename().string();
        if (name != "Menue.dat" && name != "progname.txt" && name != "daten.txt")
            fs::remove_all(entry.path());
    }
}

gfx::TColor Rgb(std::int64_t pixel) {
    return gfx::TColor(pixel) & 0xFFFFFF;
}

// Pixels of the control that differ from the skin picture behind it, and the control's area.
std::pair<int, int> DifferFromSkin(const MenuFixture& menu, const gui::TControl* c) {
    const gfx::TBitmap& skin = menu.Main()->SkinForm1()->Picture();
    const gfx::TPoint o = c->ClientToForm({0, 0});
    int differing = 0;
    for (int y = 0; y < c->Height(); ++y)
        for (int x = 0; x < c->Width(); ++x)
            differing += Rgb(menu.Pixel(o.X + x, o.Y + y)) != (skin.Pixel(o.X + x, o.Y + y) & 0xFFFFFF);
    return {differing, c->Width() * c->Height()};
}

std::vector<gfx::TColor> Capture(const MenuFixture& menu, const gui::TControl* c) {
    const gfx::TPoint o = c->ClientToForm({0, 0});
    std::vector<gfx::TColor> pixels;
    for (int y = 0; y < c->Height(); ++y)
        for (int x = 0; x < c->Width(); ++x) pixels.push_back(Rgb(menu.Pixel(o.X + x, o.Y + y)));
    return pixels;
}

int Changed(const std::vector<gfx::TColor>& a, const std::vector<gfx::TColor>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
}

gfx::TBitmap Builtin(const char* name) {
    const TBuiltinSkinFile* f = FindBuiltinSkinFile(name);
    gfx::TBitmap b;
    if (!f) return b;
    base::TMemoryStream stream(BuiltinSkinFileBytes(*f));
    b.LoadFromStream(stream);
    return b;
}

const TSkinFinding* FindingFor(const std::vector<TSkinFinding>& findings, const std::string& file) {
    for (const TSkinFinding& f : findings)
        if (f.File == file) return &f;
    return nullptr;
}

}  // namespace

TEST(BuiltinSkin, DiscWithOnlyTheDataFilesShowsTheWholeMenu) {
    MenuFixture menu(MenuFixture::kNoStart);
    KeepOnlyDataFiles(menu);
    ASSERT_FALSE(fs::exists(menu.Dir() + "skin"));
    ASSERT_TRUE(menu.Start());
    TMainForm* m = menu.Main();
    ASSERT_EQ(m->SkinForm1()->Picture().Width(), 640);
    ASSERT_EQ(m->SkinForm1()->Picture().Height(), 480);
    EXPECT_EQ(m->ilButtons2()->Count(), 1);
    EXPECT_EQ(menu.Find<gui::TImageList>("ilButtons1")->Count(), 2);

    // A category button is drawn from its image, not as the skin behind it.
    skin::TSkinButton* button = m->Column().Buttons().at(1);
    const auto [differing, area] = DifferFromSkin(menu, button);
    EXPECT_GT(differing, area / 2);
    // Its caption is legible: taking it away changes the pixels.
    const std::vector<gfx::TColor> withCaption = Capture(menu, button);
    const std::string caption = button->Caption();
    button->SetCaption("");
    menu.Backend().Pump();
    EXPECT_GT(Changed(withCaption, Capture(menu, button)), 30) << caption;
    button->SetCaption(caption);

    // The description shows the skin behind it, with the text in it.
    menu.Click(button);
    ASSERT_TRUE(m->Page().PicturePanel1()->Visible());
    ASSERT_GT(m->Page().TransText1()->Text().Count(), 0);
    const auto [textPixels, panelArea] = DifferFromSkin(menu, m->Page().TransText1());
    EXPECT_GT(textPixels, 200);
    EXPECT_LT(textPixels, panelArea / 2);

    // The action buttons are drawn and captioned.
    const auto [buttonPixels, buttonArea] = DifferFromSkin(menu, menu.Find<skin::TSkinButton>("bSuche"));
    EXPECT_GT(buttonPixels, buttonArea / 2);
    const std::vector<gfx::TColor> suche = Capture(menu, menu.Find<skin::TSkinButton>("bSuche"));
    menu.Find<skin::TSkinButton>("bSuche")->SetCaption("");
    menu.Backend().Pump();
    EXPECT_GT(Changed(suche, Capture(menu, menu.Find<skin::TSkinButton>("bSuche"))), 20);
}

TEST(BuiltinSkin, SkinFolderOverridesPictureByPicture) {
    MenuFixture menu(MenuFixture::kNoStart);
    KeepOnlyDataFiles(menu);
    menu.WriteFile("skin/SkinForm1.bmp", TBmpWriter::Fill24(640, 480, [](int, int) { return 0x336699u; }));
    // Damaged, and of the wrong size: both give way to the built-in pictures.
    menu.WriteFile("skin/iStart.bmp", "BM this is no bitmap");
    menu.WriteFile("skin/IRUBRIK.BMP", TBmpWriter::Fill24(100, 10, [](int, int) { return 0xFF0000u; }));
    menu.WriteFile("skin/ilButtons9.bmp", TBmpWriter::Fill24(4, 4, [](int, int) { return 0u; }));
    ASSERT_TRUE(menu.Start());
    TMainForm* m = menu.Main();

    EXPECT_EQ(m->SkinForm1()->Picture().Pixel(630, 470) & 0xFFFFFF, gfx::RGB(0x33, 0x66, 0x99));
    const gfx::TBitmap start = Builtin("iStart.bmp");
    ASSERT_EQ(m->iStart()->Picture().Width(), start.Width());
    ASSERT_EQ(m->iStart()->Picture().Height(), start.Height());
    for (int y = 0; y < start.Height(); y += 37)
        for (int x = 0; x < start.Width(); x += 41)
            ASSERT_EQ(m->iStart()->Picture().Pixel(x, y) & 0xFFFFFF, start.Pixel(x, y) & 0xFFFFFF)
                << x << "," << y;
    const gfx::TBitmap header = Builtin("iRubrik.bmp");
    ASSERT_EQ(m->List().iRubrik()->Picture().Width(), 170);
    EXPECT_EQ(m->List().iRubrik()->Picture().Pixel(5, 5) & 0xFFFFFF, header.Pixel(5, 5) & 0xFFFFFF);
    // The image lists were not overridden: the built-in buttons with their masks.
    EXPECT_EQ(m->ilButtons2()->Count(), 1);

    const std::vector<TSkinFinding> findings = CheckSkinFolder(SkinFolderOf(menu.Dir()));
    const TSkinFinding* skin = FindingFor(findings, "SkinForm1.bmp");
    ASSERT_TRUE(skin);
    EXPECT_FALSE(skin->Problem);
    EXPECT_NE(skin->What.find("overrides"), std::string::npos);
    const TSkinFinding* damaged = FindingFor(findings, "iStart.bmp");
    ASSERT_TRUE(damaged);
    EXPECT_TRUE(damaged->Problem);
    EXPECT_NE(damaged->What.find("cannot be read"), std::string::npos);
    const TSkinFinding* sized = FindingFor(findings, "IRUBRIK.BMP");
    ASSERT_TRUE(sized);
    EXPECT_TRUE(sized->Problem);
    EXPECT_NE(sized->What.find("100x10; 170x20 expected"), std::string::npos);
    const TSkinFinding* unknown = FindingFor(findings, "ilButtons9.bmp");
    ASSERT_TRUE(unknown);
    EXPECT_FALSE(unknown->Problem);
    // Nothing about the pictures that were left to the program.
    EXPECT_FALSE(FindingFor(findings, "iFacts.bmp"));
    EXPECT_EQ(findings.size(), 4u);
}

TEST(BuiltinSkin, EveryPictureOfTheSkinIsBuiltIn) {
    for (const std::string& name : SkinFileNames()) {
        SCOPED_TRACE(name);
        const TBuiltinSkinFile* f = FindBuiltinSkinFile(name);
        ASSERT_TRUE(f);
        const gfx::TBitmap b = Builtin(name.c_str());
        EXPECT_EQ(b.Width(), f->Width);
        EXPECT_EQ(b.Height(), f->Height);
    }
}

// Every category button ends in the skin's chevron, the sample disc's longest name included: it is
// cut with an ellipsis before it rather than run into it.
TEST(BuiltinSkin, CategoryNamesStopBeforeTheChevron) {
    MenuFixture menu;
    TMainForm* m = menu.Main();
    for (int i = 0; i < 5; ++i) menu.Click(m->Column().bPfeilUnten());
    const skin::TSkinButton* longest = nullptr;
    const skin::TSkinButton* shortest = nullptr;
    for (const skin::TSkinButton* b : m->Column().Buttons()) {
        if (!longest || b->Caption().size() > longest->Caption().size()) longest = b;
        if (!shortest || b->Caption().size() < shortest->Caption().size()) shortest = b;
    }
    ASSERT_EQ(longest->Caption(), "Entwicklung & Programmierung");
    // The right end, where the chevron lies, looks the same on both buttons.
    auto rightEnd = [&](const skin::TSkinButton* b) {
        const gfx::TPoint o = b->ClientToForm({0, 0});
        std::vector<gfx::TColor> pixels;
        for (int y = 0; y < b->Height(); ++y)
            for (int x = b->Width() - 16; x < b->Width(); ++x)
                pixels.push_back(Rgb(menu.Pixel(o.X + x, o.Y + y)));
        return pixels;
    };
    EXPECT_EQ(Changed(rightEnd(longest), rightEnd(shortest)), 0);
}
