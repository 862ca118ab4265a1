#pragma once
// Questions about the drive (file system) that holds a path: its kind, label, serial and space.
// Paths are app paths (see NativePath): "D:\" is the disc root.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class DriveType {
    kUnknown,    // the kind cannot be told
    kNoRootDir,  // the path does not exist
    kRemovable,  // USB stick, memory card
    kFixed,      // hard disk, and file systems without a device of their own
    kRemote,     // network share
    kOptical,    // CD, DVD, or an ISO image mounted as one
    kRamDisk,
};

struct VolumeInfo {
    std::string label;  // cp1252, empty when the file system has none
    uint32_t serial = 0;
};

struct VolumeSpace {
    uint64_t freeBytes = 0;  // available to this user
    uint64_t totalBytes = 0;
};

class Volume {
public:
    virtual ~Volume() = default;
    virtual DriveType GetDriveType(const std::string& path) = 0;
    // false when the volume cannot be read (path missing, no medium).
    virtual bool GetInfo(const std::string& path, VolumeInfo& info) = 0;
    virtual bool GetSpace(const std::string& path, VolumeSpace& space) = 0;
    // Where a folder browser starts ("the computer's drives"): native folders with a trailing
    // '/'. None by default.
    virtual std::vector<std::string> Drives() { return {}; }
};

}  // namespace platform
