#include <gtest/gtest.h>

#include "platform/FakeVolume.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/PosixVolume.h"
#include "tests/platform/TempDir.h"

using platform::DriveType;
using platform::MountEntry;
using platform::MountTable;
using platform::PosixVolume;

TEST(MountTable, ParsesMountinfoAndFindsTheHoldingMount) {
    const char* text =
        "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
        "25 22 0:21 / /proc rw,nosuid - proc proc rw\n"
        "40 22 11:0 / /media/user/MY\\040DISC ro,nosuid shared:5 master:3 - iso9660 /dev/sr0 ro\n"
        "41 22 8:17 / /media/user/stick rw - vfat /dev/sdb1 rw\n"
        "42 22 0:50 / /mnt/share rw - cifs //server/share rw\n"
        "garbage line\n"
        "43 22 8:17 / /media/user/stick rw - exfat /dev/sdb1 rw\n";
    const MountTable table = MountTable::Parse(text);
    ASSERT_EQ(table.Entries().size(), 6u);
    const MountEntry& cd = table.Entries()[2];
    EXPECT_EQ(cd.mountPoint, "/media/user/MY DISC");
    EXPECT_EQ(cd.fsType, "iso9660");
    EXPECT_EQ(cd.source, "/dev/sr0");
    EXPECT_EQ(cd.major, 11u);
    EXPECT_EQ(cd.minor, 0u);

    EXPECT_EQ(table.Find("/media/user/MY DISC/setup.exe")->fsType, "iso9660");
    EXPECT_EQ(table.Find("/media/user/MY DISC")->fsType, "iso9660");
    // A prefix only counts at a component boundary.
    EXPECT_EQ(table.Find("/media/user/MY DISCO/x")->fsType, "ext4");
    EXPECT_EQ(table.Find("/proc/self")->fsType, "proc");
    // Of two mounts on one point the later lies on top.
    EXPECT_EQ(table.Find("/media/user/stick/a")->fsType, "exfat");
    EXPECT_EQ(MountTable::Parse("").Find("/x"), nullptr);

    // The folder browser's starting points: home, root, then the user's mounts in table order.
    const MountTable more = MountTable::Parse(std::string(text) +
                                              "50 22 0:5 / /dev/shm rw - tmpfs tmpfs rw\n"
                                              "51 22 0:6 / /run/user/1000 rw - tmpfs tmpfs rw\n"
                                              "52 22 7:1 / /srv/iso rw - iso9660 /dev/loop1 ro\n"
                                              "53 22 0:7 / /run/media/u/STICK rw - vfat /dev/sdc1 rw\n");
    EXPECT_EQ(PosixVolume::UserMounts(more, "/home/u"),
              (std::vector<std::string>{"/home/u/", "/", "/media/user/MY DISC/", "/media/user/stick/",
                                        "/mnt/share/", "/srv/iso/", "/run/media/u/STICK/"}));
}

TEST(Volume, ClassifiesDrivesLikeTheWindowsDriveTypes) {
    auto classify = [](const char* fs, const char* source, int removable) {
        MountEntry m;
        m.fsType = fs;
        m.source = source;
        return PosixVolume::Classify(m, removable);
    };
    EXPECT_EQ(classify("iso9660", "/dev/loop3", 0), DriveType::kOptical);  // a mounted ISO image
    EXPECT_EQ(classify("udf", "/dev/sr1", 1), DriveType::kOptical);
    EXPECT_EQ(classify("auto", "/dev/sr0", 1), DriveType::kOptical);
    EXPECT_EQ(classify("nfs4", "server:/export", -1), DriveType::kRemote);
    EXPECT_EQ(classify("cifs", "//server/share", -1), DriveType::kRemote);
    EXPECT_EQ(classify("fuse.sshfs", "user@host:", -1), DriveType::kRemote);
    EXPECT_EQ(classify("tmpfs", "tmpfs", -1), DriveType::kRamDisk);
    EXPECT_EQ(classify("vfat", "/dev/sdb1", 1), DriveType::kRemovable);
    EXPECT_EQ(classify("ext4", "/dev/nvme0n1p2", 0), DriveType::kFixed);
    EXPECT_EQ(classify("overlay", "overlay", -1), DriveType::kFixed);

    // The real machine: a missing path, the space of an existing one.
    TempDir t;
    PosixVolume volume;
    EXPECT_EQ(volume.GetDriveType(t / "missing/folder"), DriveType::kNoRootDir);
    EXPECT_NE(volume.GetDriveType(t.Path()), DriveType::kNoRootDir);
    platform::VolumeSpace space;
    ASSERT_TRUE(volume.GetSpace(t.Path(), space));
    EXPECT_GT(space.totalBytes, 0u);
    EXPECT_LE(space.freeBytes, space.totalBytes);
    EXPECT_FALSE(volume.GetSpace(t / "missing", space));
    platform::VolumeInfo info;
    EXPECT_TRUE(volume.GetInfo(t.Path(), info));
    EXPECT_FALSE(volume.GetInfo(t / "missing", info));
}

TEST(Volume, FakeAnswersByDriveOrPrefix) {
    platform::FakeVolume fake;
    platform::FakeVolume::Drive cd;
    cd.type = DriveType::kOptical;
    cd.info.label = "PKBACK# 001";
    cd.info.serial = 0x1234ABCD;
    fake.Set("D:", cd);
    platform::FakeVolume::Drive empty;
    empty.type = DriveType::kRemovable;
    empty.ready = false;
    fake.Set("/media/stick", empty);

    EXPECT_EQ(fake.GetDriveType("d:\\archive.zip"), DriveType::kOptical);
    platform::VolumeInfo info;
    ASSERT_TRUE(fake.GetInfo("D:\\", info));
    EXPECT_EQ(info.label, "PKBACK# 001");
    EXPECT_EQ(info.serial, 0x1234ABCDu);
    EXPECT_EQ(fake.GetDriveType("/media/stick/a.zip"), DriveType::kRemovable);
    EXPECT_FALSE(fake.GetInfo("/media/stick/a.zip", info));  // no medium
    EXPECT_EQ(fake.GetDriveType("E:\\x"), DriveType::kNoRootDir);
}
