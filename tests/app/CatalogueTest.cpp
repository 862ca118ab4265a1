#include "app/Catalogue.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "tests/support/CatalogueReference.h"
#include "tests/support/MessageOf.h"
#include "tests/support/Records.h"
#include "tools/common/CatalogueWriter.h"

namespace {

using Lines = std::vector<std::string>;

std::string Join(const Lines& lines, const std::string& end = "\r\n") {
    std::string out;
    for (const std::string& l : lines) out += l + end;
    return out;
}

TCatalogueProgram Program(const std::string& name, Lines description = {"Beschreibung."}) {
    TCatalogueProgram p = ExampleProgram(name, std::move(description));
    p.Os = "Windows 95/98/ME";
    p.Homepage = "www.example.org/" + name;
    p.Screenshot = "D:\\BILDER\\" + name + ".JPG";
    p.Install = "D:\\PROGS\\" + name + "\\SETUP.EXE";
    p.Start = "D:\\PROGS\\" + name + "\\START.EXE";
    p.Features = "Netzwerkfaehig";
    return p;
}

}  // namespace

TEST(Catalogue, LinesSplitAtCrLfOrLf) {
    TCatalogue text(std::string("eins\r\nzwei\nd\rrei\r\n\r\nletzte"));
    EXPECT_EQ(text.LineCount(), 5u);
    auto lines = text.Lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], "zwei");
    EXPECT_EQ(lines[2], "d\rrei");  // a lone CR is no line end
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "letzte");
    // A final line end adds no empty line; a line of its own does.
    EXPECT_EQ(TCatalogue("a\nb\n").LineCount(), 2u);
    EXPECT_EQ(TCatalogue("a\n\n").LineCount(), 2u);
    EXPECT_EQ(TCatalogue("").LineCount(), 0u);
    EXPECT_EQ(TCatalogue("\r\n").Lines(), std::vector<std::string_view>{""});

    EXPECT_EQ(TextFrom("Prog_OS:  Linux", 11), "Linux");
    EXPECT_EQ(TextFrom("kurz", 11), "");
    EXPECT_EQ(TextFrom("0123456789", 11), "");
    EXPECT_EQ(TextFrom("0123456789A", 11), "A");
    EXPECT_EQ(TextFrom("0123456789" + std::string(300, 'v'), 11, 255).size(), 255u);

    EXPECT_EQ(MessageOf([] { TCatalogue::LoadFromFile("/nonexistent/daten.txt"); }),
              "Datei /nonexistent/daten.txt kann nicht ge\xF6"
              "ffnet werden");
}

TEST(Catalogue, StripFieldKey) {
    EXPECT_EQ(StripFieldKey("Lizenz:   Freeware"), "Freeware");
    EXPECT_EQ(StripFieldKey("Programm:  Tabellenfix"), " Tabellenfix");
    EXPECT_EQ(StripFieldKey("Homepage:  www.example.org"), " www.example.org");
    EXPECT_EQ(StripFieldKey("Preis:"), "");
    // Path and "Text:" lines are never searched, also when a value key stands in them too.
    EXPECT_EQ(StripFieldKey("Screenshot:D:\\BILDER\\A.JPG"), "");
    EXPECT_EQ(StripFieldKey("Install:   D:\\A\\SETUP.EXE"), "");
    EXPECT_EQ(StripFieldKey("Starten:  D:\\A\\A.EXE"), "");
    EXPECT_EQ(StripFieldKey("Text:"), "");
    EXPECT_EQ(StripFieldKey("Lizenz: siehe Install: Hinweis"), "");
    // Keys count anywhere in a line, also in a description.
    EXPECT_EQ(StripFieldKey("Hinweis - Lizenz: offen"), "Lizenz: offen");
    EXPECT_EQ(StripFieldKey("Ein ganz normaler Satz."), "Ein ganz normaler Satz.");
    EXPECT_EQ(StripFieldKey("Anbieter: " + std::string(300, 'x')).size(), 255u);
    EXPECT_EQ(StripFieldKey("kategorie: klein"), "kategorie: klein");  // keys are case-sensitive
}

TEST(Catalogue, CategoryLinesAreSubstringMatches) {
    TCatalogue progname(Join({"Kategorie:Spiele",
                              "Schach",
                              "Dame",
                              "",
                              "UnterKategorie:Spiele",
                              "Puzzle",
                              "",
                              "Unterkategorie:Musik",
                              "Geige",
                              "",
                              "Kategorie:Spiele 2",
                              "Tetrix",
                              "",
                              "Kategorie:Spiele",
                              "Moorhuhn",
                              "",
                              base::Cp("Kategorie:Büro"),
                              "Texter",
                              "Kategorie:Grafik",
                              "Maler  ",
                              "   ",
                              "Zeichner",
                              ""}));
    // Any line with the word is a category line, compounds included; the name starts at its 11th
    // character whatever stands there.
    EXPECT_EQ(ReadCategoryList(progname), (Lines{"Spiele", "orie:Spiele", "orie:Musik", "Spiele 2", "Spiele",
                                                 base::Cp("Büro"), "Grafik"}));

    // "Kategorie:Spiele" is contained in "Kategorie:Spiele 2" and "UnterKategorie:Spiele", so those
    // blocks are collected too; both blocks headed Spiele count.
    EXPECT_EQ(ReadCategoryPrograms(progname, "Spiele"),
              (Lines{"Schach", "Dame", "Puzzle", "Tetrix", "Moorhuhn"}));
    EXPECT_EQ(ReadCategoryPrograms(progname, "Spiele 2"), (Lines{"Tetrix"}));
    // Without an empty line the next header is a program line; a line of blanks ends nothing;
    // program lines stay untrimmed.
    EXPECT_EQ(ReadCategoryPrograms(progname, base::Cp("Büro")),
              (Lines{"Texter", "Kategorie:Grafik", "Maler  ", "   ", "Zeichner"}));
    EXPECT_EQ(ReadCategoryPrograms(progname, "Grafik"), (Lines{"Maler  ", "   ", "Zeichner"}));
    // The block test is case-sensitive: "Unterkategorie:Musik" opens no block for Musik.
    EXPECT_TRUE(ReadCategoryPrograms(progname, "Musik").empty());
    EXPECT_TRUE(ReadCategoryPrograms(progname, "orie:Musik").empty());
    EXPECT_EQ(ReadCategoryPrograms(TCatalogue("Kategorie:A\nx\ny"), "A"), (Lines{"x", "y"}));
}

TEST(Catalogue, RecordFieldsAreCutAtTheirPositions) {
    TCatalogueWriter w;
    w.Categories = {
        {"Werkzeuge", {Program("Tabellenfix", {"Erste Zeile.", "", "Dritte Zeile."}), Program("Zweiter")}}};
    w.Categories[0].Programs[0].Install = "D:\\PROGS\\T\\T.ZIP   ";
    TCatalogue daten(w.Daten());

    auto record = FindProgramRecord(daten, "Tabellenfix", "Werkzeuge", false);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Facts[0], "Windows 95/98/ME");
    EXPECT_EQ(record->Facts[1], "Freeware");
    EXPECT_EQ(record->Facts[4], "Beispiel GmbH");
    EXPECT_EQ(record->Facts[5], "www.example.org/Tabellenfix");
    EXPECT_EQ(record->Screenshot, "D:\\BILDER\\Tabellenfix.JPG");
    EXPECT_EQ(record->Install, "D:\\PROGS\\T\\T.ZIP");
    EXPECT_EQ(record->Start, "D:\\PROGS\\Tabellenfix\\START.EXE");
    EXPECT_EQ(record->Features, "Netzwerkfaehig");
    // One empty separator line: the description is every line up to it, inner empty lines included.
    EXPECT_EQ(record->Description, (Lines{"Erste Zeile.", "", "Dritte Zeile."}));

    auto last = FindProgramRecord(daten, "Zweiter", "Werkzeuge", false);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->Description, (Lines{"Beschreibung."}));
    // Names compare trimmed on both sides; the record line may carry blanks too.
    EXPECT_TRUE(FindProgramRecord(daten, "Zweiter  ", "Werkzeuge ", false));
    EXPECT_TRUE(FindProgramRecord(
        TCatalogue("Kategorie:W\n  Programm:  X \t\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\nText:\nd\n"), "X", "W",
        false));
    EXPECT_FALSE(FindProgramRecord(daten, "Tabellen", "Werkzeuge", false));
    EXPECT_FALSE(FindProgramRecord(daten, "Tabellenfix", "Werk", false));
}

TEST(Catalogue, RecordLookupFollowsTheCategorySwitch) {
    TCatalogueWriter w;
    w.Categories = {
        {"Spiele", {Program("Solo", {"aus Spiele"})}},
        {"Spiele 2", {Program("Solo", {"aus Spiele 2"}), Program("Solo", {"zweimal in Spiele 2"})}},
        {base::Cp("Büro"), {Program("Texter")}}};
    TCatalogue daten(w.Daten());
    EXPECT_EQ(FindProgramRecord(daten, "Solo", "Spiele", false)->Description, Lines{"aus Spiele"});
    // Within one category header the first record of a name is taken ...
    EXPECT_EQ(FindProgramRecord(daten, "Solo", "Spiele 2", false)->Description, Lines{"aus Spiele 2"});
    // ... while search results look in every category and the last record wins.
    EXPECT_EQ(FindProgramRecord(daten, "Solo", "", true)->Description, Lines{"zweimal in Spiele 2"});
    // Records before the category's header never count ...
    EXPECT_FALSE(FindProgramRecord(daten, "Solo", base::Cp("Büro"), false));
    // ... but the switch stays on past later headers until a record of the name is found.
    EXPECT_TRUE(FindProgramRecord(daten, "Texter", "Spiele", false));
    EXPECT_TRUE(FindProgramRecord(daten, "Texter", "", true));
}

TEST(Catalogue, DescriptionEndsTwoLinesBeforeAHeader) {
    TCatalogueProgram early =
        Program("Frueh", {"Zeile 1", "Zeile 2", "Das Programm: kurz erklaert", "Zeile 4"});
    TCatalogueWriter w;
    w.Categories = {{"A", {early, Program("Danach")}}};
    // A description line whose next-but-one line mentions "Programm:" ends the description early.
    EXPECT_EQ(FindProgramRecord(TCatalogue(w.Daten()), "Frueh", "A", false)->Description, (Lines{"Zeile 1"}));

    // A record without description: the separator line is taken as description and the reading runs
    // into the next record up to two lines before its header.
    Lines lines = TCatalogueWriter::RecordLines(Program("Leer"));
    lines.pop_back();  // no description line at all
    lines.push_back("");
    Lines next = TCatalogueWriter::RecordLines(Program("Naechster", {"N1", "N2"}));
    lines.insert(lines.end(), next.begin(), next.end());
    lines.insert(lines.end(), {"", "Kategorie:B", "Programm:  Z"});
    TCatalogue daten(Join({"Kategorie:A"}) + Join(lines));
    auto leer = FindProgramRecord(daten, "Leer", "A", false);
    ASSERT_TRUE(leer);
    // From the empty line 12 through the whole next record up to two lines before "Kategorie:B".
    ASSERT_EQ(leer->Description.size(), 15u);
    EXPECT_EQ(leer->Description[0], "");
    EXPECT_EQ(leer->Description[1], "Programm:  Naechster");
    EXPECT_EQ(leer->Description[14], "N2");
    EXPECT_EQ(FindProgramRecord(daten, "Naechster", "A", false)->Description, (Lines{"N1", "N2"}));

    // The description may run to the last line of the file; a final empty line is no part of it.
    TCatalogue tail("Programm:  T\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\nText:\nd1\nd2\nd3");
    EXPECT_EQ(FindProgramRecord(tail, "T", "", true)->Description, (Lines{"d1", "d2", "d3"}));
    TCatalogue tailEmpty("Programm:  T\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\nText:\nd1\nd2\n\n");
    EXPECT_EQ(FindProgramRecord(tailEmpty, "T", "", true)->Description, (Lines{"d1", "d2"}));
    TCatalogue single("Programm:  T\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\nText:\nd1");
    EXPECT_EQ(FindProgramRecord(single, "T", "", true)->Description, (Lines{"d1"}));
}

TEST(Catalogue, RecordCutOffByTheEndOfTheFile) {
    // Lines 0..11 exist; line 12 (index 13 in the file) is the first one missing.
    const std::string head = "Kategorie:A\nProgramm:  T\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n";
    EXPECT_EQ(MessageOf([&] { FindProgramRecord(TCatalogue(head + "Text:\n"), "T", "A", false); }),
              "Der Index der Liste \xFC"
              "berschreitet das Maximum (13)");
    // Line 10 is read before lines 8 and 9.
    EXPECT_EQ(MessageOf([] {
                  FindProgramRecord(TCatalogue("Programm:  T\n1\n2\n3\n4\n5\n6\n7\n8\n"), "T", "", true);
              }),
              "Der Index der Liste \xFC"
              "berschreitet das Maximum (10)");
    EXPECT_EQ(MessageOf([] { FindProgramRecord(TCatalogue("Programm:  T"), "T", "", true); }),
              "Der Index der Liste \xFC"
              "berschreitet das Maximum (1)");
    // A record of another category is never read.
    EXPECT_FALSE(FindProgramRecord(TCatalogue("Kategorie:B\nProgramm:  T\n"), "T", "A", false));
}

TEST(Catalogue, AgreesWithTheLineByLineRules) {
    // Random catalogues from pieces that exercise every rule: keys anywhere in a line, headers with
    // blanks around them, names differing in case, lone CRs, short records at the end of the file.
    const std::vector<std::string> pieces = {"Programm:  Alpha",
                                             "Programm:  alpha ",
                                             "  Programm:  Beta",
                                             "Programm:  Beta\r",
                                             "Programm: Gamma",
                                             "Kategorie:Eins",
                                             " Kategorie:Eins  ",
                                             "Kategorie:Zwei",
                                             "UnterKategorie:Eins",
                                             "Prog_OS:  Linux",
                                             "Lizenz:   Freeware",
                                             "Preis:    frei",
                                             "Homepage:  www.wort.de",
                                             "Screenshot:D:\\WORT.JPG",
                                             "Install:   D:\\A\\WORT.ZIP",
                                             "Starten:  D:\\A.EXE",
                                             "Text:",
                                             "Ein Wort im Text.",
                                             "WORT am Anfang",
                                             "wort",
                                             "Das Programm: Wortspiel",
                                             "x Lizenz: Wortlaut",
                                             "",
                                             "",
                                             "",
                                             "   ",
                                             "wo\rrt",
                                             base::Cp("Wörter"),
                                             "Besonders: alles"};
    const std::vector<std::string> terms = {"wort", "Wort", "WORT",         "o",  "Alpha", "Linux",
                                            "frei", "Eins", base::Cp("wö"), "rt", ":  ",   "Programm",
                                            "w"};
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFF; };
    for (int round = 0; round < 150; ++round) {
        std::string file;
        const int lines = int(next() % 60);
        for (int i = 0; i < lines; ++i) file += pieces[next() % pieces.size()] + (next() % 5 ? "\r\n" : "\n");
        if (next() % 2 && !file.empty()) file.pop_back();
        TCatalogue catalogue(file);
        for (const std::string& term : terms) {
            for (bool matchCase : {false, true}) {
                ASSERT_EQ(SearchCatalogue(catalogue, term, matchCase),
                          reference::Search(file, term, matchCase))
                    << "term " << term << " in\n"
                    << file;
            }
        }
        for (const char* program : {"Alpha", "Beta", "Gamma", "alpha"}) {
            for (const char* category : {"Eins", "Zwei"}) {
                for (bool all : {false, true}) {
                    std::string mine, theirs;
                    const std::optional<TProgramRecord> got = reference::Catching(
                        [&] { return FindProgramRecord(catalogue, program, category, all); }, mine);
                    const std::optional<reference::Record> want = reference::Catching(
                        [&] { return reference::Find(file, program, category, all); }, theirs);
                    ASSERT_EQ(mine, theirs) << program << " in\n" << file;
                    ASSERT_EQ(got.has_value(), want.has_value()) << program << " in\n" << file;
                    if (!got) continue;
                    std::vector<std::string> values(got->Facts.begin(), got->Facts.end());
                    values.insert(values.end(), {got->Screenshot, got->Features, got->Install, got->Start});
                    ASSERT_EQ(values, want->Values) << program << " in\n" << file;
                    ASSERT_EQ(got->Description, want->Description) << program << " in\n" << file;
                }
            }
        }
        // Read from the file in pieces as small as a few lines, and smaller than one: the same.
        const std::string path = ::testing::TempDir() + "cdmenu-catalogue-" + std::to_string(::getpid());
        std::ofstream(path, std::ios::binary) << file;
        for (size_t piece : {size_t(7), size_t(64), size_t(256), TCatalogueReader::kPiece}) {
            for (const std::string& term : terms)
                ASSERT_EQ(SearchCatalogueFile(path, term, false, piece),
                          SearchCatalogue(catalogue, term, false))
                    << "term " << term << ", pieces of " << piece << " in\n"
                    << file;
            for (const char* program : {"Alpha", "Beta", "Gamma"}) {
                for (bool all : {false, true}) {
                    std::string mine, theirs;
                    const std::optional<TProgramRecord> got = reference::Catching(
                        [&] { return FindProgramRecordFile(path, program, "Eins", all, piece); }, mine);
                    const std::optional<TProgramRecord> want = reference::Catching(
                        [&] { return FindProgramRecord(catalogue, program, "Eins", all); }, theirs);
                    ASSERT_EQ(mine, theirs) << program << ", pieces of " << piece << " in\n" << file;
                    ASSERT_EQ(got.has_value(), want.has_value()) << program << ", pieces of " << piece;
                    if (!got) continue;
                    ASSERT_EQ(got->Facts, want->Facts);
                    ASSERT_EQ(got->Screenshot, want->Screenshot);
                    ASSERT_EQ(got->Install, want->Install);
                    ASSERT_EQ(got->Description, want->Description) << program << ", pieces of " << piece;
                }
            }
        }
        std::remove(path.c_str());

        std::vector<std::string> lineList;
        for (std::string_view l : catalogue.Lines()) lineList.emplace_back(l);
        ASSERT_EQ(lineList, reference::SplitLines(file));
        for (const std::string& l : lineList)
            ASSERT_EQ(std::string(StripFieldKey(l)), reference::StripFieldKey(l));
    }
}
