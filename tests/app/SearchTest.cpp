#include <gtest/gtest.h>

#include "app/Catalogue.h"
#include "base/Cp1252.h"
#include "base/StringList.h"
#include "tests/support/Records.h"
#include "tools/common/CatalogueWriter.h"

namespace {

using Names = std::vector<std::string>;

TCatalogueProgram Program(const std::string& name, std::vector<std::string> description) {
    TCatalogueProgram p = ExampleProgram(name, std::move(description));
    p.Screenshot = "D:\\BILDER\\SHOTXYZ.JPG";
    p.Install = "D:\\PROGS\\INSTXYZ\\SETUP.EXE";
    p.Start = "D:\\PROGS\\STARTXYZ.EXE";
    p.Features = "Mehrsprachig";
    return p;
}

TCatalogue Sample() {
    TCatalogueWriter w;
    w.Categories = {
        {"Textverarbeitung",
         {Program("Zeta", {"Ein Editor wie Word, nur kleiner.", "Kein Word-Ersatz, aber Word-kompatibel."}),
          Program("alpha", {base::Cp("Läuft überall."), "Hinweis - Lizenz: offen"})}},
        {"Spiele",
         {Program("Beta", {"Ein Spiel mit word play.", "siehe Kategorie: Werkzeug"}),
          Program(base::Cp("Ärger"), {base::Cp("Das Ärgernis-Spiel."), "Text: geheim"}),
          Program("Zeta", {"Zweiter Eintrag gleichen Namens mit Word."})}},
    };
    return TCatalogue(w.Daten());
}

}  // namespace

TEST(Search, LetterCaseRules) {
    TCatalogue daten = Sample();
    // word finds Word only when the case is not to be matched.
    EXPECT_EQ(SearchCatalogue(daten, "word", false), (Names{"Beta", "Zeta"}));
    EXPECT_EQ(SearchCatalogue(daten, "word", true), (Names{"Beta"}));
    EXPECT_EQ(SearchCatalogue(daten, "Word", true), (Names{"Zeta"}));
    EXPECT_EQ(SearchCatalogue(daten, "WORD-KOMPATIBEL", false), (Names{"Zeta"}));
    // Only a-z fold: ä never finds Ä, in either mode.
    EXPECT_EQ(SearchCatalogue(daten, base::Cp("ärger"), false), Names{});
    EXPECT_EQ(SearchCatalogue(daten, base::Cp("ärger"), true), Names{});
    EXPECT_EQ(SearchCatalogue(daten, base::Cp("ÄRGER"), false), (Names{base::Cp("Ärger")}));
    EXPECT_EQ(SearchCatalogue(daten, base::Cp("LäUFT"), false), (Names{"alpha"}));
    EXPECT_EQ(SearchCatalogue(daten, base::Cp("LÄUFT"), false), Names{});
    EXPECT_EQ(SearchCatalogue(daten, "", false), Names{});
}

TEST(Search, KeysPathsAndHeadersAreNotSearched) {
    TCatalogue daten = Sample();
    // Key names in key lines are cut off; the value is what counts.
    EXPECT_EQ(SearchCatalogue(daten, "Lizenz", true), (Names{"alpha"}));  // only the description line
    EXPECT_EQ(SearchCatalogue(daten, "Freeware", true).size(), 4u);
    EXPECT_EQ(SearchCatalogue(daten, "Anbieter", true), Names{});
    EXPECT_EQ(SearchCatalogue(daten, ":  Linux", true), Names{});  // starts inside the key
    EXPECT_EQ(SearchCatalogue(daten, "Linux", true).size(), 4u);
    // Terms that stand only in paths, "Text:" lines and "Kategorie:" lines find nothing.
    for (const char* term :
         {"SHOTXYZ", "INSTXYZ", "STARTXYZ", "geheim", "Textverarbeitung", "Werkzeug", "Spiele"})
        EXPECT_EQ(SearchCatalogue(daten, term, false), Names{}) << term;
    // Program names are searched from the record line's 11th character on.
    EXPECT_EQ(SearchCatalogue(daten, "alpha", true), (Names{"alpha"}));
    EXPECT_EQ(SearchCatalogue(daten, "Programm", true), Names{});

    // A hit in the key part does not hide a later one in the value.
    TCatalogue both("Programm:  P\nLizenz:   Lizenzfrei\n");
    EXPECT_EQ(SearchCatalogue(both, "Lizenz", true), (Names{"P"}));
    // A value is at most 255 characters long.
    TCatalogue longValue("Programm:  P\nAnbieter: " + std::string(255, 'x') + "FERN\n");
    EXPECT_EQ(SearchCatalogue(longValue, "FERN", true), Names{});
    EXPECT_EQ(SearchCatalogue(longValue, "xxxx", true), (Names{"P"}));
    // Hits before the first record belong to no program; a line must hold the whole term.
    EXPECT_EQ(SearchCatalogue(TCatalogue("Vorwort\r\nProgramm:  P\r\nNachwort\r\n"), "wort", true),
              (Names{"P"}));
    EXPECT_EQ(SearchCatalogue(TCatalogue("Programm:  P\nab\ncd\n"), "b\nc", true), Names{});
    // Only a line that begins with the key names a program.
    EXPECT_EQ(SearchCatalogue(TCatalogue("Programm:  P\n  Programm:  Q\nTreffer\n"), "Treffer", true),
              (Names{"P"}));
}

TEST(Search, ResultsAreSortedAndListedOnce) {
    TCatalogue daten = Sample();
    // Zeta has two records and several matching lines; Beta one.
    EXPECT_EQ(SearchCatalogue(daten, "Word", false), (Names{"Beta", "Zeta"}));
    // Sorted by the locale-aware comparison, not by file order: umlauts with their base letter.
    EXPECT_EQ(SearchCatalogue(daten, "Mehrsprachig", true),
              (Names{"alpha", base::Cp("Ärger"), "Beta", "Zeta"}));
    // Names that compare equal ignoring case are listed once (the first one found).
    TCatalogue twins(
        "Programm:  Omega\nTreffer\n\nProgramm:  OMEGA\nTreffer\n\nProgramm:   Omega  \nTreffer\n");
    EXPECT_EQ(SearchCatalogue(twins, "Treffer", true), (Names{"Omega"}));
}

TEST(Search, ResultsMatchASortedListFilledInFileOrder) {
    // Names that collide under the locale-aware comparison in several ways; the list keeps the first.
    const std::vector<std::string> names = {
        "beta",    "Gamma", base::Cp("Äpfel"), "Beta",     "apfel",   base::Cp("äpfel"),
        "Zulu",    "gamma", "Alpha 2",         "alpha 10", "Alpha 1", base::Cp("Straße"),
        "Strasse", "BETA",  "Apfel",           "zulu",     "x",       "X",
        "Ende"};
    std::string file;
    for (size_t round = 0; round < 3; ++round) {
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string& n = names[(i * 7 + round * 5) % names.size()];
            file += "Programm:  " + n + "\r\nText:\r\nTreffer\r\n\r\n";
        }
    }
    base::TStringList expected;
    expected.SetSorted(true);
    expected.SetDuplicates(base::TDuplicates::dupIgnore);
    for (size_t round = 0; round < 3; ++round)
        for (size_t i = 0; i < names.size(); ++i) expected.Add(names[(i * 7 + round * 5) % names.size()]);
    Names want;
    for (int i = 0; i < expected.Count(); ++i) want.push_back(expected[i]);
    EXPECT_EQ(SearchCatalogue(TCatalogue(file), "Treffer", true), want);
    EXPECT_LT(want.size(), names.size());
}
