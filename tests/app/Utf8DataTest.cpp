// Data files an author's editor saved as UTF-8: the menu shows what was written, each file read on
// its own terms, and the preview says how it read each one and which characters it could not show.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Catalogue.h"
#include "app/Preview.h"
#include "base/Cp1252.h"
#include "tests/support/MenuFixture.h"
#include "tests/support/MessageOf.h"

namespace {

std::string ReadAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
    const size_t at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    if (at != std::string::npos) text.replace(at, what.size(), with);
    return text;
}

}  // namespace

TEST(Utf8Data, TheMenuShowsWhatAnAuthorWroteInUtf8AndThePreviewSaysHow) {
    MenuFixture menu(MenuFixture::kNoStart);
    // progname.txt without a byte-order mark, daten.txt with one and with an arrow, which
    // Windows-1252 does not have.
    menu.WriteFile("progname.txt", base::Cp1252ToUtf8(menu.ReadFile("progname.txt")));
    const std::string daten = Replaced(base::Cp1252ToUtf8(menu.ReadFile("daten.txt")), "Ein Klick startet",
                                       "Ein Klick \xE2\x86\x92 startet");
    menu.WriteFile("daten.txt", "\xEF\xBB\xBF" + daten);
    ASSERT_TRUE(menu.Start());
    TMainForm* m = menu.Main();

    EXPECT_EQ(menu.Find<skin::TSkinButton>("bRubrik2")->Caption(), base::Cp("Büro & Organisation"));
    menu.Click("bRubrik2");
    const int zeit = m->List().lbProgramme()->Items().IndexOf(base::Cp("Zeitwächter"));
    ASSERT_GE(zeit, 0);
    m->List().lbProgramme()->SetItemIndex(zeit);
    m->ShowProgramPage();
    EXPECT_EQ(m->Page().gbProgramm()->Caption(), base::Cp("Zeitwächter"));
    // Its record was found: the page has its facts and its description.
    ASSERT_GT(m->Page().FactRowCount(), 0);
    EXPECT_EQ(m->Page().FactRows()[0].Key->Caption(), "Betriebssystem");
    const std::string description = m->Page().TransText1()->Text().Text();
    EXPECT_NE(description.find(base::Cp("Zeitwächter erfasst")), std::string::npos) << description;
    EXPECT_NE(description.find("Ein Klick ? startet"), std::string::npos) << description;

    // The search reads the converted text as well.
    const std::vector<std::string> hits =
        SearchCatalogueFile(m->Model().DataFile("daten.txt"), base::Cp("zEITWäCHTER"), false, 64);
    EXPECT_EQ(hits, std::vector<std::string>{base::Cp("Zeitwächter")});

    const std::string out = menu.Dir() + "preview";
    RunPreview(*menu.App(), out);
    const std::string report = ReadAll(out + "/report.txt");
    EXPECT_NE(report.find("progname.txt: UTF-8, converted to Windows-1252\n"), std::string::npos) << report;
    EXPECT_NE(report.find("daten.txt: UTF-8 with byte-order mark, converted to Windows-1252\n"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("record not found"), std::string::npos) << report;
    EXPECT_NE(report.find("1 problem:\n"), std::string::npos) << report;
    const size_t line = std::count(daten.begin(), daten.begin() + long(daten.find("\xE2\x86\x92")), '\n') + 1;
    EXPECT_NE(
        report.find("- daten.txt line " + std::to_string(line) +
                    ": \"\xE2\x86\x92\" (U+2192): no such character in Windows-1252; the menu shows \"?\""),
        std::string::npos)
        << report;
}

TEST(Utf8Data, EachFileIsJudgedOnItsOwnAndWindows1252ReadsAsBefore) {
    // A Windows-1252 file: its umlauts stay the bytes they are, even where two of them happen to
    // look like a UTF-8 character ("Ã¤").
    const std::string cp =
        "Kategorie:Spiele\r\nZeitw\xE4"
        "chter\r\n\xC3\xA4rger\r\n";
    TCatalogue text(cp);
    EXPECT_EQ(text.Encoding(), TDataEncoding::Cp1252);
    EXPECT_EQ(text.Bytes(), cp);
    EXPECT_EQ(ReadCategoryPrograms(text, "Spiele"), (std::vector<std::string>{"Zeitw\xE4"
                                                                              "chter",
                                                                              "\xC3\xA4rger"}));
    // Plain ASCII is the same either way.
    EXPECT_EQ(TCatalogue("Kategorie:A\n").Encoding(), TDataEncoding::Cp1252);
    // A byte-order mark alone makes a file UTF-8, and is not part of its first line.
    TCatalogue bom("\xEF\xBB\xBFKategorie:Spiele\n");
    EXPECT_EQ(bom.Encoding(), TDataEncoding::Utf8WithBom);
    EXPECT_EQ(ReadCategoryList(bom), std::vector<std::string>{"Spiele"});
    // An overlong form or a lone surrogate is no UTF-8: such a file is read byte for byte.
    EXPECT_EQ(TCatalogue("a\xC0\xAF").Encoding(), TDataEncoding::Cp1252);
    EXPECT_EQ(TCatalogue("a\xED\xA0\x80").Encoding(), TDataEncoding::Cp1252);
    EXPECT_EQ(TCatalogue("a\xC3").Encoding(), TDataEncoding::Cp1252);

    // Read in pieces, a UTF-8 file whose first umlaut comes long after the start gives the records
    // that the whole file gives, and a record cut off at its end names the same line.
    std::string utf8;
    for (int i = 0; i < 40; ++i) utf8 += "Kategorie:Rubrik " + std::to_string(i) + "\n";
    utf8 +=
        "Kategorie:Spiele\nProgramm:  Zeitw\xC3\xA4"
        "chter\nProg_OS:  Linux\nLizenz:   frei\nPreis:    0\n"
        "Sprache:  Deutsch\nAnbieter: M\xC3\xBCller\nHomepage:  www.x\nScreenshot:D:\\a.jpg\n"
        "Install:   D:\\a.zip\nStarten:  D:\\a.exe\nBesonder: keine\nText:\nZeile \xE2\x82\xAC\n\n";
    const std::string file =
        (std::filesystem::temp_directory_path() /
         ("cdmenu-utf8-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())))
            .string();
    std::ofstream(file, std::ios::binary) << utf8;
    const std::string name = base::Cp("Zeitwächter");
    const auto whole = FindProgramRecord(TCatalogue(utf8), name, "Spiele", false);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->Facts[4], base::Cp("Müller"));
    EXPECT_EQ(whole->Description, std::vector<std::string>{base::Cp("Zeile €")});
    for (size_t piece : {size_t(16), size_t(64), size_t(100), TCatalogueReader::kPiece}) {
        const auto pieces = FindProgramRecordFile(file, name, "Spiele", false, piece);
        ASSERT_TRUE(pieces) << piece;
        EXPECT_EQ(pieces->Facts, whole->Facts) << piece;
        EXPECT_EQ(pieces->Description, whole->Description) << piece;
    }
    const std::string cutShort = utf8.substr(0, utf8.find("Text:"));
    std::ofstream(file, std::ios::binary) << cutShort;
    const std::string inWhole =
        MessageOf([&] { FindProgramRecord(TCatalogue(cutShort), name, "Spiele", false); });
    EXPECT_NE(inWhole, "");
    EXPECT_EQ(MessageOf([&] { FindProgramRecordFile(file, name, "Spiele", false, 64); }), inWhole);
    std::filesystem::remove(file);
}
