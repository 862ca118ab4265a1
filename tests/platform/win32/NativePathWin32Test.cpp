// The Windows mapping of app paths: the menu's "D:" is the drive (or share, or folder) that holds
// the disc, other letters are real drives, and native paths are UTF-8 with '/'.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/NativePath.h"
#include "platform/UserPaths.h"
#include "tests/platform/win32/WinTempDir.h"

using platform::NativePath;

TEST(NativePathWin32, DiscDriveMapsToTheDiscRootAndOtherDrivesStay) {
    const NativePath drive("E:\\");
    EXPECT_EQ(drive.DiscRoot(), "E:/");
    EXPECT_EQ(drive.Convert("D:\\PROGS\\A\\SETUP.EXE"), "E:/PROGS/A/SETUP.EXE");
    EXPECT_EQ(drive.Convert("d:\\progs\\"),
              "E:/progs/");  // the letter in either case; trailing separator kept
    EXPECT_EQ(drive.Convert("D:"), "E:/");
    EXPECT_EQ(drive.Convert("C:\\Windows\\x.ini"), "C:/Windows/x.ini");
    EXPECT_EQ(drive.Convert("\\\\srv\\share\\x"), "//srv/share/x");
    EXPECT_EQ(drive.Convert("rel\\x"), "rel/x");
    EXPECT_EQ(drive.Convert("\\root\\x"), "/root/x");
    // cp1252 inside, UTF-8 outside.
    EXPECT_EQ(drive.Convert("D:\\M\xFC"
                            "ller"),
              "E:/M\xC3\xBC"
              "ller");
    // Windows matches names without regard to case itself: Resolve changes nothing more.
    EXPECT_EQ(drive.Resolve("D:\\PROGS\\x"), drive.Convert("D:\\PROGS\\x"));
}

TEST(NativePathWin32, BackToTheWindowsFormOfTheMenu) {
    const NativePath drive("E:/");
    EXPECT_EQ(drive.ToWindows("E:/PROGS/x.exe"), "D:\\PROGS\\x.exe");
    EXPECT_EQ(drive.ToWindows("e:\\progs"), "D:\\progs");  // the drive compares without case
    EXPECT_EQ(drive.ToWindows("E:"), "D:\\");
    EXPECT_EQ(drive.ToWindows("C:/Users/M\xC3\xBC"
                              "ller"),
              "C:\\Users\\M\xFC"
              "ller");

    const NativePath share("\\\\srv\\share");
    EXPECT_EQ(share.DiscRoot(), "//srv/share/");
    EXPECT_EQ(share.Convert("D:\\a\\b"), "//srv/share/a/b");
    EXPECT_EQ(share.ToWindows("//srv/share/a/b"), "D:\\a\\b");
    EXPECT_EQ(share.ToWindows("//srv/other/a"), "\\\\srv\\other\\a");

    // A staging folder stands for a whole disc; a folder that only starts alike is outside it.
    const NativePath folder("C:/stage/disc");
    EXPECT_EQ(folder.Convert("D:\\MENU\\Menue.dat"), "C:/stage/disc/MENU/Menue.dat");
    EXPECT_EQ(folder.ToWindows("C:/stage/disc/MENU/"), "D:\\MENU\\");
    EXPECT_EQ(folder.ToWindows("C:/stage/disc2/x"), "C:\\stage\\disc2\\x");
}

TEST(NativePathWin32, MessagesShowWindowsPaths) {
    EXPECT_EQ(platform::ShownPath("E:/MENU/daten.txt"), "E:\\MENU\\daten.txt");
    EXPECT_EQ(platform::ShownPath("//srv/share/M\xC3\xBC"
                                  "ller/"),
              "\\\\srv\\share\\M\xFC"
              "ller\\");
    // The folder dialog's default stays on a drive, whatever $HOME a shell left behind.
    _putenv("HOME=/c/Users/anna");
    EXPECT_EQ(platform::HomeFolder(), "");
}

TEST(NativePathWin32, NamesFoldLikeTheMenuFoldsThem) {
    EXPECT_TRUE(NativePath::SameName("SETUP.EXE", "setup.exe"));
    EXPECT_TRUE(
        NativePath::SameName("\xC3\x9C"
                             "BER",
                             "\xC3\xBC"
                             "ber"));  // Ü and ü
    EXPECT_FALSE(NativePath::SameName("a", "b"));
}

TEST(NativePathWin32, ResolveGivesExistingNamesTheirLetterCaseOnTheDisc) {
    WinTempDir t;
    t.Write("Programme/Setup.EXE", "");
    const NativePath disc(t.Path());
    EXPECT_EQ(disc.Resolve("D:\\PROGRAMME\\setup.exe"), t / "Programme/Setup.EXE");
    EXPECT_EQ(disc.Resolve("d:\\programme\\"), t / "Programme/");
    // From the first missing component on, the rest stays as given.
    EXPECT_EQ(disc.Resolve("D:\\PROGRAMME\\Neu\\A.TXT"), t / "Programme/Neu/A.TXT");
    EXPECT_EQ(disc.Resolve("D:\\MISSING\\x"), t / "MISSING/x");
}
