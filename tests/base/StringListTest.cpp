#include "base/StringList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "base/MemoryStream.h"

using namespace base;

TEST(StringList, SortedListIgnoresDuplicatesUnderLocaleCompare) {
    TStringList list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add("Zebra"), 0);
    list.Add(Cp("Äpfel"));
    list.Add("birne");
    list.Add("apfel");
    int again = list.Add("ZEBRA");  // equal ignoring case: kept once, original spelling wins
    list.Add(Cp("Öl"));
    list.Add("Oma");
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(again, 3);
    EXPECT_EQ(list[0], "apfel");
    EXPECT_EQ(list[1], Cp("Äpfel"));
    EXPECT_EQ(list[2], "birne");
    EXPECT_EQ(list[3], Cp("Öl"));
    EXPECT_EQ(list[3 + 1], "Oma");
    EXPECT_EQ(list[5], "Zebra");
    EXPECT_EQ(list.IndexOf("BIRNE"), 2);
    EXPECT_EQ(list.IndexOf("kiwi"), -1);
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);

    TStringList plain;  // unsorted: insertion order and duplicates kept
    plain.Add("b");
    plain.Add("a");
    plain.Add("B");
    plain.Insert(1, "c");
    plain.Delete(0);
    ASSERT_EQ(plain.Count(), 3);
    EXPECT_EQ(plain.Text(), "c\r\na\r\nB\r\n");
    plain.SetSorted(true);  // turning sorting on orders the existing strings
    EXPECT_EQ(plain[0], "a");
    EXPECT_EQ(plain.IndexOf("b"), 1);
}

TEST(StringList, IndexErrorsNameTheBadIndex) {
    TStringList list;
    list.Add("x");
    for (int bad : {1, -1, 99}) {
        try {
            (void)list[bad];
            FAIL() << bad;
        } catch (const EStringListError& e) {
            EXPECT_EQ(e.Message(),
                      Cp("Der Index der Liste überschreitet das Maximum (") + std::to_string(bad) + ")");
        }
    }
    EXPECT_THROW(list.Delete(1), EStringListError);
    EXPECT_THROW(list.Insert(2, "y"), EStringListError);
    list.Insert(1, "y");  // appending at Count is allowed
    EXPECT_EQ(list[1], "y");
}

TEST(StringList, LinesSplitAtCrLfOrLfOnly) {
    TStringList list;
    list.SetText("eins\r\nzwei\nd\rrei\n\nvier");
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list[0], "eins");
    EXPECT_EQ(list[1], "zwei");
    EXPECT_EQ(list[2], "d\rrei");  // a lone CR is no line break
    EXPECT_EQ(list[3], "");
    EXPECT_EQ(list[4], "vier");
    list.SetText("a\r\n");
    EXPECT_EQ(list.Count(), 1);

    auto dir = std::filesystem::temp_directory_path() / ("sl_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string file = (dir / "progname.txt").string();
    {
        std::ofstream f(file, std::ios::binary);
        f << "[Spiele]\r\nTetris\r\n" << Cp("Mühle") << "\n";
    }
    list.LoadFromFile(file);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[2], Cp("Mühle"));
    std::string missing = (dir / "fehlt.txt").string();
    try {
        list.LoadFromFile(missing);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Datei " + missing + Cp(" kann nicht geöffnet werden"));
    }
    std::filesystem::remove_all(dir);
}
