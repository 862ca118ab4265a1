#include "platform/AppPaths.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <unistd.h>

#include "tests/platform/TempDir.h"

using platform::AppPathOptions;
using platform::AppPaths;

TEST(AppPaths, DataDirFollowsTheProgramThenTheSampleDisc) {
    TempDir t;
    t.Write("prefix/bin/cdmenu", "", 0755);
    const std::string program = t / "prefix/bin/cdmenu";

    // Nothing anywhere: the program's folder stays DataDir (the data files then report missing).
    AppPaths none = AppPaths::Resolve({program, "", ""});
    EXPECT_EQ(none.DataDir(), t / "prefix/bin/");
    EXPECT_FALSE(none.UsingSampleDisc());

    // The installed sample disc under <prefix>/share.
    t.Write("prefix/share/cdmenu/disc/Menue.dat", "x");
    AppPaths installed = AppPaths::Resolve({program, "", ""});
    EXPECT_EQ(installed.DataDir(), t / "prefix/share/cdmenu/disc/");
    EXPECT_TRUE(installed.UsingSampleDisc());
    // The sample disc plays a whole disc: its own folder is the root.
    EXPECT_EQ(installed.DiscRoot(), installed.DataDir());
    EXPECT_EQ(installed.WinDataDir(), "D:\\");

    // A disc folder beside the program (the build tree) comes first.
    t.Write("prefix/bin/disc/MENUE.DAT", "x");
    EXPECT_EQ(AppPaths::Resolve({program, "", ""}).DataDir(), t / "prefix/bin/disc/");

    // Data beside the program wins over any sample disc, in any letter case.
    t.Write("prefix/bin/menue.dat", "x");
    AppPaths beside = AppPaths::Resolve({program, "", ""});
    EXPECT_EQ(beside.DataDir(), t / "prefix/bin/");
    EXPECT_FALSE(beside.UsingSampleDisc());
    EXPECT_EQ(beside.DiscRoot(), AppPaths::MountPointOf(t.Path()));
    EXPECT_EQ(beside.WinDiscRoot(), "D:\\");
}

TEST(AppPaths, OverridesAndTheMountPointRule) {
    TempDir t;
    t.Write("disc/MENU/cdmenu", "", 0755);
    t.MakeDir("elsewhere");
    const std::string program = t / "disc/MENU/cdmenu";

    // --root: the disc root is given, and the Windows forms follow from it.
    AppPaths rooted = AppPaths::Resolve({program, "", t / "disc"});
    EXPECT_EQ(rooted.DiscRoot(), t / "disc/");
    EXPECT_EQ(rooted.DataDir(), t / "disc/MENU/");
    EXPECT_EQ(rooted.WinDataDir(), "D:\\MENU\\");
    EXPECT_EQ(rooted.WinProgramFile(), "D:\\MENU\\cdmenu");
    EXPECT_EQ(rooted.Mapping().Resolve("d:\\menu\\CDMENU"), program);

    // --data: used as given (made absolute), even without Menue.dat, and never the sample disc.
    AppPaths data = AppPaths::Resolve({program, t / "elsewhere", ""});
    EXPECT_EQ(data.DataDir(), t / "elsewhere/");
    EXPECT_FALSE(data.UsingSampleDisc());

    // Without --root the disc root is the mount point that holds DataDir: /proc is a mount of its own.
    AppPaths proc = AppPaths::Resolve({program, "/proc/self/", ""});
    EXPECT_EQ(proc.DiscRoot(), "/proc/");

    // The running program is found through /proc.
    const std::string self = AppPaths::RunningProgram();
    EXPECT_EQ(self.substr(self.rfind('/') + 1).rfind("test_platform", 0), 0u) << self;
    EXPECT_EQ(AppPaths::Resolve().ProgramFile(), self);
}

TEST(AppPaths, DiscRootIsWhereTheStoredPathsExist) {
    TempDir t;
    // An author's staging folder: data in stick/MENU, programs beside it, all under a temp folder
    // that is far from any mount point.
    t.Write("stick/MENU/Menue.dat", "x");
    t.Write("stick/PROGRAMME/A/SETUP.EXE", "x");
    t.Write("stick/Bilder/a.jpg", "x");
    t.Write("stick/MENU/Bilder/other.jpg", "x");
    const std::string program = t / "stick/MENU/cdmenu";
    const std::vector<std::string> stored = {"Programme\\A\\setup.exe", "Bilder\\a.jpg", "Bilder\\b.jpg"};

    AppPaths found = AppPaths::Resolve({program, "", ""});
    const std::string mount = found.DiscRoot();
    EXPECT_EQ(mount, AppPaths::MountPointOf(t.Path()));
    found.FindDiscRoot(stored);
    // Two of three exist under stick/, one (a different picture) under stick/MENU/: the best wins,
    // letter case aside.
    EXPECT_EQ(found.DiscRoot(), t / "stick/");
    EXPECT_EQ(found.Mapping().Resolve("D:\\programme\\a\\setup.exe"), t / "stick/PROGRAMME/A/SETUP.EXE");

    // On a tie the nearest folder wins.
    AppPaths tie = AppPaths::Resolve({program, "", ""});
    tie.FindDiscRoot({"Bilder\\a.jpg", "Bilder\\other.jpg"});
    EXPECT_EQ(tie.DiscRoot(), t / "stick/MENU/");

    // Nothing found anywhere: the mount point stays.
    AppPaths none = AppPaths::Resolve({program, "", ""});
    none.FindDiscRoot({"Nirgends\\x.exe"});
    EXPECT_EQ(none.DiscRoot(), mount);

    // A given root is never second-guessed.
    AppPaths given = AppPaths::Resolve({program, "", t / "stick/MENU"});
    given.FindDiscRoot(stored);
    EXPECT_EQ(given.DiscRoot(), t / "stick/MENU/");

    // The current folder becomes the root.
    char before[PATH_MAX];
    ASSERT_NE(getcwd(before, sizeof before), nullptr);
    ASSERT_TRUE(found.EnterDiscRoot());
    char now[PATH_MAX];
    ASSERT_NE(getcwd(now, sizeof now), nullptr);
    EXPECT_EQ(std::string(now) + "/", t / "stick/");
    ASSERT_EQ(chdir(before), 0);
}
