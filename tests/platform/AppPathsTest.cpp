#include "platform/AppPaths.h"

#include <gtest/gtest.h>
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
