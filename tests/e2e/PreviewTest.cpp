// cdmenu --preview on the sample disc and on a damaged copy of it.
#include <gtest/gtest.h>

#include <algorithm>

#include "ProgramRun.h"
#include "app/Preview.h"
#include "base/Cp1252.h"

using e2e::fs::path;

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        pos = end + 1;
    }
    return lines;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

// Categories and programs of progname.txt, counted the simple way the sample disc allows.
void CountCatalogue(const path& disc, int& categories, int& programs) {
    categories = programs = 0;
    bool inBlock = false;
    for (const std::string& line : SplitLines(e2e::ReadText(disc / "progname.txt"))) {
        if (line.rfind("Kategorie:", 0) == 0) {
            ++categories;
            inBlock = true;
        } else if (line.empty()) {
            inBlock = false;
        } else if (inBlock) {
            ++programs;
        }
    }
}

e2e::RunResult Preview(const e2e::Scratch& s, const path& disc, const path& out) {
    return e2e::Run(
        {"--headless", "--data", disc.string(), "--root", disc.string(), "--preview", out.string()}, s.path);
}

size_t PngCount(const path& dir) {
    return size_t(std::count_if(e2e::fs::directory_iterator(dir), {},
                                [](const auto& e) { return e.path().extension() == ".png"; }));
}

}  // namespace

TEST(Preview, SampleDiscGivesEveryPageAndACleanReport) {
    E2E_REQUIRE_PROGRAM();
    e2e::Scratch s;
    const path disc = e2e::CopyDisc(s.path);
    const path out = s.path / "out";
    const e2e::RunResult r = Preview(s, disc, out);
    EXPECT_EQ(r.code, 0) << r.output;
    EXPECT_NE(r.output.find(out.string()), std::string::npos) << "says where the pictures are: " << r.output;
    int categories = 0, programs = 0;
    CountCatalogue(disc, categories, programs);
    ASSERT_GT(programs, 0);
    // A start page per banner (the sample disc has three), one list per category, one page per
    // program, the info page.
    EXPECT_EQ(PngCount(out), size_t(3 + categories + programs + 1));
    EXPECT_TRUE(e2e::fs::exists(out / "00 Startseite.png"));
    EXPECT_TRUE(e2e::fs::exists(out / "00 Startseite - Banner 2.png"));
    EXPECT_TRUE(e2e::fs::exists(out / "00 Startseite - Banner 3.png"));
    EXPECT_TRUE(e2e::fs::exists(out / "Info.png"));
    EXPECT_TRUE(e2e::fs::exists(out / "02 Grafik & Foto - 01 Pixelwerk 2.1.png"));
    const std::string report = e2e::ReadText(out / "report.txt");
    EXPECT_NE(report.find("No problems found."), std::string::npos) << report;
}

TEST(Preview, TwoPreviewsOfOneDiscAreTheSamePictures) {
    E2E_REQUIRE_PROGRAM();
    e2e::Scratch s;
    const path disc = e2e::CopyDisc(s.path);
    ASSERT_EQ(Preview(s, disc, s.path / "a").code, 0);
    ASSERT_EQ(Preview(s, disc, s.path / "b").code, 0);
    size_t compared = 0;
    // The banners too: on the virtual clock their choice and frames follow from the disc alone.
    for (const auto& e : e2e::fs::directory_iterator(s.path / "a")) {
        if (e.path().extension() != ".png") continue;
        EXPECT_TRUE(e2e::ReadText(e.path()) == e2e::ReadText(s.path / "b" / e.path().filename()))
            << e.path().filename();
        ++compared;
    }
    EXPECT_GT(compared, 80u);
}

TEST(Preview, DamagedDiscListsEachProblemAndFails) {
    E2E_REQUIRE_PROGRAM();
    e2e::Scratch s;
    const path disc = e2e::CopyDisc(s.path);
    std::vector<std::string> daten = SplitLines(e2e::ReadText(disc / "daten.txt"));
    auto find = [&](const std::string& line) {
        auto it = std::find(daten.begin(), daten.end(), line);
        EXPECT_NE(it, daten.end()) << line;
        return size_t(it - daten.begin());
    };
    // A long vendor.
    const size_t fuchs = find("Programm:  TextFuchs 3.2");
    daten[fuchs + 5] = "Anbieter: Fuchsbau Software und Partner GmbH";
    // A description left out: the record runs into the next one.
    const size_t adress = find("Programm:  Adressmeister 5");
    ASSERT_EQ(daten[adress + 11], "Text:");
    // Up to the empty line before the next record (the description has empty lines of its own).
    size_t end = adress + 12;
    while (end < daten.size() && daten[end].rfind("Programm:", 0) != 0) ++end;
    ASSERT_TRUE(daten[end - 1].empty());
    daten.erase(daten.begin() + long(adress + 12), daten.begin() + long(end - 1));
    // A record removed.
    const size_t haus = find("Programm:  Haushaltsbuch Plus");
    size_t next = haus + 1;
    while (next < daten.size() && daten[next].rfind("Programm:", 0) != 0) ++next;
    daten.erase(daten.begin() + long(haus), daten.begin() + long(next));
    e2e::WriteText(disc / "daten.txt", JoinCrLf(daten));
    // A screenshot deleted, another one that is no JPEG, an installer gone, an empty category.
    e2e::fs::remove(disc / "Bilder" / "textfuchs32.jpg");
    e2e::WriteText(disc / "Bilder" / "notiztermin2.jpg", "not a picture");
    e2e::fs::remove(disc / "Programme" / "BueroOrganisation" / "NotizTermin2" / "setup.sh");
    e2e::WriteText(disc / "progname.txt",
                   e2e::ReadText(disc / "progname.txt") + "Kategorie:Leere Rubrik\r\n\r\n");

    const path out = s.path / "out";
    const e2e::RunResult r = Preview(s, disc, out);
    EXPECT_EQ(r.code, 1) << r.output;
    const std::string report = e2e::ReadText(out / "report.txt");
    const char* office = "Büro & Organisation / ";
    const std::vector<std::string> expected = {
        std::string(office) + "TextFuchs 3.2: Anbieter shortened to \"Fuchsbau Software und ...\"",
        std::string(office) + "TextFuchs 3.2: screenshot missing: ",
        std::string(office) + "Notiz & Termin 2: screenshot is not a JPEG picture",
        std::string(office) + "Notiz & Termin 2: install path does not exist on the disc: ",
        std::string(office) + "Haushaltsbuch Plus: record not found",
        std::string(office) + "Adressmeister 5: description runs into the next record",
        "Leere Rubrik: category without programs",
        "6 problems:",
    };
    for (const std::string& e : expected) EXPECT_NE(report.find(e), std::string::npos) << e << "\n" << report;
    // The pages are still rendered, the empty category's list included.
    EXPECT_TRUE(e2e::fs::exists(out / "16 Leere Rubrik.png"));
    EXPECT_TRUE(e2e::fs::exists(out / "01 Büro & Organisation - 01 TextFuchs 3.2.png"));
}

TEST(Preview, StagingFolderWithoutRootFindsItsOwnRoot) {
    E2E_REQUIRE_PROGRAM();
    e2e::Scratch s;
    // An author's folder: the menu's files in MENU/, the programs and pictures beside it.
    const path stick = e2e::CopyDisc(s.path);
    e2e::fs::create_directories(stick / "MENU");
    for (const char* name : {"Menue.dat", "progname.txt", "daten.txt"})
        e2e::fs::rename(stick / name, stick / "MENU" / name);
    // Names relative to the folder the menu was started from, which it leaves for the disc root.
    const e2e::RunResult r = e2e::Run({"--headless", "--data", "disc/MENU", "--preview", "out"}, s.path);
    EXPECT_EQ(r.code, 0) << r.output;
    const std::string report = e2e::ReadText(s.path / "out" / "report.txt");
    EXPECT_NE(report.find("disc root: " + stick.string() + "/\n"), std::string::npos) << report;
    EXPECT_NE(report.find("No problems found."), std::string::npos) << report;

    // Problems name the files as they lie on the disc.
    e2e::fs::remove(stick / "Bilder" / "textfuchs32.jpg");
    const e2e::RunResult damaged =
        e2e::Run({"--headless", "--data", "disc/MENU", "--preview", "out2"}, s.path);
    EXPECT_EQ(damaged.code, 1) << damaged.output;
    const std::string listed = e2e::ReadText(s.path / "out2" / "report.txt");
    EXPECT_NE(listed.find("screenshot missing: \"" + (stick / "Bilder" / "textfuchs32.jpg").string() + "\""),
              std::string::npos)
        << listed;
}

TEST(Preview, FileNamesAreSanitised) {
    EXPECT_EQ(SanitiseFileName("a/b\\c:d*e?f\"g<h>i|j"), "a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(SanitiseFileName(" .versteckt. "), "versteckt");
    EXPECT_EQ(SanitiseFileName(base::Cp("Büro & Co")), "Büro & Co");
    EXPECT_EQ(SanitiseFileName(".."), "_");
    EXPECT_EQ(SanitiseFileName(std::string("a\tb\x01", 4)), "a_b_");
    EXPECT_EQ(SanitiseFileName(std::string(200, 'x')).size(), 80u);
}

// The font files of the faces built into the program, copied into dir; false if one is missing.
bool CopyBuiltInFaces(const path& dir) {
    e2e::fs::create_directories(dir);
    for (const char* face : {"liberation/LiberationSans-Regular", "liberation/LiberationSans-Bold",
                             "dejavu/DejaVuSans", "dejavu/DejaVuSans-Bold"}) {
        const path file = std::string("/usr/share/fonts/truetype/") + face + ".ttf";
        if (!e2e::fs::exists(file)) return false;
        e2e::fs::copy_file(file, dir / file.filename());
    }
    return true;
}

// The disc's preview into scratch/name, with the extra arguments.
e2e::RunResult PreviewInto(const e2e::Scratch& s, const path& disc, const std::string& name,
                           const std::vector<std::string>& extra) {
    std::vector<std::string> args{"--data",      disc.string(), "--root",
                                  disc.string(), "--preview",   (s.path / name).string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return e2e::Run(args, s.path);
}

// The pictures of two previews are the same, file for file; returns how many were compared.
int ExpectSamePages(const path& a, const path& b) {
    int pages = 0;
    for (const auto& entry : e2e::fs::directory_iterator(a)) {
        if (entry.path().extension() != ".png") continue;
        ++pages;
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(e2e::ReadText(entry.path()), e2e::ReadText(b / name)) << name;
    }
    return pages;
}

// --fonts DIR with the faces the menu uses draws exactly what the usual font search draws; an
// empty DIR draws the texts blank and says which faces are missing.
TEST(Preview, FontsFolderGivesTheSamePicturesAndAnEmptyOneSaysWhatIsMissing) {
    E2E_REQUIRE_PROGRAM();
    e2e::Scratch s;
    const e2e::fs::path disc = e2e::CopyDisc(s.path);
    const e2e::fs::path fonts = s.path / "fonts", empty = s.path / "empty";
    e2e::fs::create_directories(empty);
    if (!CopyBuiltInFaces(fonts)) GTEST_SKIP() << "Liberation Sans or DejaVu Sans is not installed";
    const e2e::RunResult usual = PreviewInto(s, disc, "usual", {});
    const e2e::RunResult folder = PreviewInto(s, disc, "folder", {"--fonts", fonts.string()});
    const e2e::RunResult blank = PreviewInto(s, disc, "blank", {"--fonts", empty.string()});
    ASSERT_EQ(usual.code, 0) << usual.output;
    ASSERT_EQ(folder.code, 0) << folder.output;
    EXPECT_EQ(blank.code, 0) << blank.output;

    EXPECT_GT(ExpectSamePages(s.path / "usual", s.path / "folder"), 10);
    EXPECT_NE(e2e::ReadText(s.path / "usual" / "00 Startseite.png"),
              e2e::ReadText(s.path / "blank" / "00 Startseite.png"));
    EXPECT_NE(blank.output.find("Keine Schrift f\xC3\xBCr \"Arial\" gefunden in " + empty.string()),
              std::string::npos)
        << blank.output;
    EXPECT_EQ(folder.output.find("Keine Schrift"), std::string::npos) << folder.output;

    // A face in another format than TrueType (here CFF outlines) opens as well, and is drawn.
    const path cff = s.path / "cff";
    e2e::fs::create_directories(cff);
    const e2e::RunResult made =
        e2e::RunCommand({"/usr/bin/python3", std::string(CDMENU_SOURCE_DIR) + "/tests/e2e/make_cff_face.py",
                         (fonts / "DejaVuSans.ttf").string(), (cff / "Arial.otf").string(), "Arial"},
                        s.path);
    if (made.code != 0) GTEST_SKIP() << "fontTools: " << made.output;
    const e2e::RunResult otf = PreviewInto(s, disc, "cff", {"--fonts", cff.string()});
    EXPECT_EQ(otf.output.find("\"Arial\" gefunden"), std::string::npos) << otf.output;
    EXPECT_NE(e2e::ReadText(s.path / "cff" / "00 Startseite.png"),
              e2e::ReadText(s.path / "blank" / "00 Startseite.png"));
}

// The faces built into the program hold only the characters of code page 1252, with their hinting:
// every one of them, in every face and size the pages use, draws as from the whole font file.
TEST(Preview, BuiltInFacesDrawEveryCharacterAsTheirFontFiles) {
    E2E_REQUIRE_PROGRAM();
    e2e::Scratch s;
    const path disc = e2e::CopyDisc(s.path);
    const path fonts = s.path / "fonts";
    if (!CopyBuiltInFaces(fonts)) GTEST_SKIP() << "Liberation Sans or DejaVu Sans is not installed";
    const e2e::RunResult before = PreviewInto(s, disc, "before", {});
    ASSERT_EQ(before.code, 0) << before.output;

    // Every character from the space up, in the name, the details and the description of the first
    // program, and in the name of its category.
    std::string all;
    for (int c = 0x20; c <= 0xFF; ++c) all += char(c);
    const std::string name = "TextFuchs 3.2", category = base::Cp("Büro & Organisation");
    for (const char* file : {"progname.txt", "daten.txt"}) {
        std::string text = e2e::ReadText(disc / file);
        const size_t at = text.find(name);
        ASSERT_NE(at, std::string::npos) << file;
        text.replace(at, name.size(), all.substr(0x21 - 0x20, 60));
        if (std::string(file) == "daten.txt") {
            const size_t special = text.find("Besonder:");
            text.insert(text.find('\n', special), all);
            const size_t description = text.find("Text:", special);
            text.insert(text.find('\n', description) + 1, all + "\r\n" + all.substr(0x80 - 0x20) + "\r\n");
        }
        text.replace(text.find(category), category.size(), all.substr(0xA0 - 0x20, 40));
        e2e::WriteText(disc / file, text);
    }
    const e2e::RunResult usual = PreviewInto(s, disc, "usual", {});
    const e2e::RunResult folder = PreviewInto(s, disc, "folder", {"--fonts", fonts.string()});
    // The five bytes that code page 1252 leaves unassigned are reported, and drawn all the same.
    EXPECT_NE(usual.output.find("1 problems listed"), std::string::npos) << usual.output;
    EXPECT_EQ(folder.code, usual.code) << folder.output;
    EXPECT_GT(ExpectSamePages(s.path / "usual", s.path / "folder"), 10);
    // The characters were drawn: the start page and the program's page differ from the disc's own.
    EXPECT_NE(e2e::ReadText(s.path / "before" / "00 Startseite.png"),
              e2e::ReadText(s.path / "usual" / "00 Startseite.png"));
    int programPages = 0;
    for (const auto& entry : e2e::fs::directory_iterator(s.path / "usual")) {
        const std::string page = entry.path().filename().string();
        if (!page.starts_with("01 ") || page.find(" - 01 ") == std::string::npos) continue;
        ++programPages;
        const path old = s.path / "before" / ("01 B\xC3\xBCro & Organisation - 01 TextFuchs 3.2.png");
        EXPECT_NE(e2e::ReadText(entry.path()), e2e::ReadText(old)) << page;
    }
    EXPECT_GT(programPages, 0);
}
