// Volume questions answered by the system for the drive that holds a path.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/NativePath.h"
#include "platform/win32/Win32Volume.h"
#include "tests/platform/win32/WinTempDir.h"

using platform::DriveType;
using platform::NativePath;
using platform::VolumeInfo;
using platform::VolumeSpace;
using platform::Win32Volume;

TEST(VolumeWin32, TheDriveOfATemporaryFolder) {
    WinTempDir t;
    const NativePath paths(t.Path());
    Win32Volume volume(&paths);
    const std::string drive = t.Path().substr(0, 2) + "/";
    EXPECT_EQ(Win32Volume::RootOf(t.Path()), drive);

    // "D:\" is the disc root, here the temporary folder.
    EXPECT_EQ(volume.GetDriveType("D:\\"), DriveType::kFixed);
    VolumeSpace space;
    ASSERT_TRUE(volume.GetSpace("D:\\", space));
    EXPECT_GT(space.totalBytes, 0u);
    EXPECT_LE(space.freeBytes, space.totalBytes);
    VolumeInfo info;
    EXPECT_TRUE(volume.GetInfo("D:\\", info));

    const std::vector<std::string> drives = volume.Drives();
    EXPECT_NE(std::find(drives.begin(), drives.end(), drive), drives.end());
}

TEST(VolumeWin32, MissingDrivesAndPaths) {
    Win32Volume volume(nullptr);
    const std::vector<std::string> drives = volume.Drives();
    std::string unused;
    for (char c = 'Q'; c <= 'Y' && unused.empty(); ++c)
        if (std::find(drives.begin(), drives.end(), std::string(1, c) + ":/") == drives.end())
            unused = std::string(1, c) + ":\\x\\";
    ASSERT_FALSE(unused.empty());
    EXPECT_EQ(volume.GetDriveType(unused), DriveType::kNoRootDir);
    VolumeInfo info;
    EXPECT_FALSE(volume.GetInfo(unused, info));
    VolumeSpace space;
    EXPECT_FALSE(volume.GetSpace(unused, space));
}
