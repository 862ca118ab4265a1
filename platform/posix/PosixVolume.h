#pragma once
// Volume queries from the mount table, /sys/dev/block and statvfs.
#include <string>

#include "platform/NativePath.h"
#include "platform/Volume.h"
#include "platform/posix/MountTable.h"

namespace platform {

class PosixVolume : public Volume {
public:
    // paths: the mapping for app paths; nullptr means the active one of Services at each call.
    explicit PosixVolume(const NativePath* paths = nullptr) : paths_(paths) {}

    DriveType GetDriveType(const std::string& path) override;
    bool GetInfo(const std::string& path, VolumeInfo& info) override;
    bool GetSpace(const std::string& path, VolumeSpace& space) override;
    // The home folder, the root, and the mounts a user cares about (media, mnt, run/media, and
    // optical, removable or network mounts anywhere); system mounts (/proc, /sys, /dev, /run, /boot,
    // /snap) are left out.
    std::vector<std::string> Drives() override;
    static std::vector<std::string> UserMounts(const MountTable& table, const std::string& home);

    // The rule: file-system type first (optical and network types are certain), then the block
    // device's removable flag; -1 for removable means "no such flag".
    static DriveType Classify(const MountEntry& mount, int removable);

private:
    std::string Native(const std::string& path) const;
    const NativePath* paths_;
};

}  // namespace platform
