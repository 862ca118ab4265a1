#include "platform/NativePath.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "base/Cp1252.h"
#include "platform/UserPaths.h"
#include "tests/platform/TempDir.h"

using platform::NativePath;

TEST(NativePath, ConvertsWindowsFormLexically) {
    const NativePath p("/media/cdrom");
    EXPECT_EQ(p.DiscRoot(), "/media/cdrom/");
    // The disc's own letter, either case, lands on the disc root.
    EXPECT_EQ(p.Convert("D:\\PROGS\\A\\SETUP.EXE"), "/media/cdrom/PROGS/A/SETUP.EXE");
    EXPECT_EQ(p.Convert("d:\\progs\\"), "/media/cdrom/progs/");
    EXPECT_EQ(p.Convert("D:"), "/media/cdrom/");
    EXPECT_EQ(p.Convert("D:\\"), "/media/cdrom/");
    // Any other letter names the root of the one tree.
    EXPECT_EQ(p.Convert("C:\\Test\\"), "/Test/");
    EXPECT_EQ(p.Convert("\\home\\x"), "/home/x");
    EXPECT_EQ(p.Convert("sub\\file.txt"), "sub/file.txt");
    EXPECT_EQ(p.Convert("\\\\server\\share\\x"), "//server/share/x");
    // Native paths pass unchanged, also with the backslash the menu appends to a folder.
    EXPECT_EQ(p.Convert("/home/user/target\\"), "/home/user/target/");
    // cp1252 text becomes UTF-8 at this edge.
    EXPECT_EQ(p.Convert(base::Cp("D:\\Spiele\\Müll.txt")), "/media/cdrom/Spiele/Müll.txt");
    EXPECT_EQ(p.Convert(""), "");
}

TEST(NativePath, ToWindowsIsTheInverseOnTheDisc) {
    const NativePath p("/media/cdrom/");
    EXPECT_EQ(p.ToWindows("/media/cdrom/MENU/cdmenu"), "D:\\MENU\\cdmenu");
    EXPECT_EQ(p.ToWindows("/media/cdrom/"), "D:\\");
    EXPECT_EQ(p.ToWindows("/media/cdrom"), "D:\\");
    // A sibling whose name merely starts like the root is not on the disc.
    EXPECT_EQ(p.ToWindows("/media/cdrom2/x"), "\\media\\cdrom2\\x");
    EXPECT_EQ(p.ToWindows("/home/u/Müll"), base::Cp("\\home\\u\\Müll"));
    EXPECT_EQ(p.Convert(p.ToWindows("/media/cdrom/A/b.txt")), "/media/cdrom/A/b.txt");
    // With the whole tree as disc every absolute path gets the drive.
    EXPECT_EQ(NativePath("/").ToWindows("/etc/hosts"), "D:\\etc\\hosts");
}

TEST(NativePath, ResolvesEachComponentWithoutRegardToCase) {
    TempDir t;
    t.Write("PROGS/Tool One/SETUP.EXE", "x");
    t.Write("PROGS/Tool One/readme.txt", "x");
    t.Write("Müll/ÄRGER.TXT", "x");
    const NativePath p(t.Path());

    EXPECT_EQ(p.Resolve("D:\\progs\\tool one\\setup.exe"), t / "PROGS/Tool One/SETUP.EXE");
    EXPECT_EQ(p.Resolve("d:\\PROGS\\TOOL ONE\\README.TXT"), t / "PROGS/Tool One/readme.txt");
    // Umlauts fold like the menu's upper-casing of cp1252.
    EXPECT_EQ(p.Resolve(base::Cp("D:\\MÜLL\\ärger.txt")), t / "Müll/ÄRGER.TXT");
    // A folder keeps its trailing separator.
    EXPECT_EQ(p.Resolve("D:\\progs\\"), t / "PROGS/");
    // What does not exist keeps the given spelling from the first missing component on, so the
    // result can name a file about to be created.
    EXPECT_EQ(p.Resolve("D:\\progs\\NEW\\Tool One"), t / "PROGS/NEW/Tool One");
    EXPECT_EQ(p.Resolve("D:\\progs\\..\\PROGS\\tool one"), t / "PROGS/../PROGS/Tool One");
}

TEST(NativePath, PrefersTheExactNameAndIsDeterministicAmongLookAlikes) {
    TempDir t;
    t.Write("data/File.txt", "a");
    t.Write("data/FILE.TXT", "b");
    t.Write("data/file.txt", "c");
    const NativePath p(t.Path());
    EXPECT_EQ(p.Resolve("D:\\data\\file.txt"), t / "data/file.txt");
    EXPECT_EQ(p.Resolve("D:\\data\\File.txt"), t / "data/File.txt");
    // No exact match: the smallest of the names that fold alike, whatever the directory order.
    EXPECT_EQ(p.Resolve("D:\\data\\fILE.txt"), t / "data/FILE.TXT");

    EXPECT_TRUE(NativePath::SameName("abc", "ABC"));
    EXPECT_TRUE(NativePath::SameName("straße", "STRAßE"));
    EXPECT_FALSE(NativePath::SameName("abc", "abd"));
    // Two different names outside cp1252 must not fold into the same '?'.
    EXPECT_FALSE(NativePath::SameName("日本", "中国"));
}

TEST(NativePath, UserPathsOfPosix) {
    // Messages show native names in cp1252, slashes and all.
    EXPECT_EQ(platform::ShownPath("/media/cdrom/M\xC3\xBC"
                                  "ller/x.txt"),
              "/media/cdrom/M\xFC"
              "ller/x.txt");
    // The home folder only when $HOME is absolute; trailing slashes go, the root stays.
    const char* saved = getenv("HOME");
    const std::string old = saved ? saved : "";
    setenv("HOME", "/home/anna//", 1);
    EXPECT_EQ(platform::HomeFolder(), "/home/anna");
    setenv("HOME", "/", 1);
    EXPECT_EQ(platform::HomeFolder(), "/");
    setenv("HOME", "anna", 1);
    EXPECT_EQ(platform::HomeFolder(), "");
    if (saved)
        setenv("HOME", old.c_str(), 1);
    else
        unsetenv("HOME");
}
