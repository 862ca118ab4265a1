// Where the program, its data and its disc are on Windows: the disc root is the drive that holds the
// program (or the share of a UNC path), unless a root is given or the sample disc is used.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/AppPaths.h"
#include "tests/platform/win32/WinTempDir.h"

using platform::AppPaths;

namespace {

std::string DriveOf(const std::string& path) {
    return path.substr(0, 2) + "/";
}

}  // namespace

TEST(AppPathsWin32, FindsTheRunningProgramAndItsDrive) {
    const std::string program = AppPaths::RunningProgram();
    ASSERT_GT(program.size(), 3u);
    EXPECT_EQ(program[1], ':') << program;
    EXPECT_EQ(program.find('\\'), std::string::npos) << program;
    EXPECT_EQ(std::filesystem::path(program).filename(), "test_platform.exe");
    EXPECT_TRUE(std::filesystem::exists(U8Path(program)));
    EXPECT_EQ(AppPaths::MountPointOf(program), DriveOf(program));
}

TEST(AppPathsWin32, DataBesideTheProgramAndTheDiscRootIsItsDrive) {
    WinTempDir t;
    t.Write("disc/MENU/menue.DAT", "");  // any letter case
    t.Write("disc/MENU/cdmenu.exe", "");
    t.Write("disc/PROGS/A/setup.exe", "");

    AppPaths p = AppPaths::Resolve({t / "disc/MENU/cdmenu.exe", "", ""});
    EXPECT_EQ(p.ProgramDir(), t / "disc/MENU/");
    EXPECT_EQ(p.DataDir(), t / "disc/MENU/");
    EXPECT_FALSE(p.UsingSampleDisc());
    EXPECT_EQ(p.DiscRoot(), DriveOf(t.Path()));
    std::string winData = "D:\\" + p.DataDir().substr(3);
    for (char& c : winData)
        if (c == '/') c = '\\';
    EXPECT_EQ(p.WinDataDir(), winData);
    EXPECT_EQ(p.WinDiscRoot(), "D:\\");

    // The catalogue's paths tell which folder plays the disc: the nearest one under which they exist.
    p.FindDiscRoot({"PROGS\\A\\SETUP.EXE", "PROGS\\B\\missing.exe"});
    EXPECT_EQ(p.DiscRoot(), t / "disc/");
    EXPECT_EQ(p.WinDataDir(), "D:\\MENU\\");
    EXPECT_EQ(p.Mapping().Convert("D:\\PROGS\\A\\SETUP.EXE"), t / "disc/PROGS/A/SETUP.EXE");

    ASSERT_TRUE(p.EnterDiscRoot());
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), U8Path(t / "disc")));
    std::filesystem::current_path(std::filesystem::temp_directory_path());

    // A given root and a given data folder win.
    AppPaths given = AppPaths::Resolve({t / "disc/MENU/cdmenu.exe", t / "disc/PROGS", t / "disc"});
    EXPECT_EQ(given.DataDir(), t / "disc/PROGS/");
    EXPECT_EQ(given.DiscRoot(), t / "disc/");
    given.FindDiscRoot({"A\\setup.exe"});
    EXPECT_EQ(given.DiscRoot(), t / "disc/");
}

TEST(AppPathsWin32, WithoutMenuFileTheSampleDiscBesideTheProgramIsUsed) {
    WinTempDir t;
    t.Write("bin/cdmenu.exe", "");
    t.Write("bin/disc/Menue.dat", "");
    AppPaths p = AppPaths::Resolve({t / "bin/cdmenu.exe", "", ""});
    EXPECT_TRUE(p.UsingSampleDisc());
    EXPECT_EQ(p.DataDir(), t / "bin/disc/");
    EXPECT_EQ(p.DiscRoot(), t / "bin/disc/");

    WinTempDir empty;
    empty.Write("cdmenu.exe", "");
    AppPaths none = AppPaths::Resolve({empty / "cdmenu.exe", "", ""});
    EXPECT_FALSE(none.UsingSampleDisc());
    EXPECT_EQ(none.DataDir(), empty.Path() + "/");
}
