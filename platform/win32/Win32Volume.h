#pragma once
// Volume queries through the Win32 API: the volume that holds a path, its drive type, label,
// serial number and free space.
#include <string>

#include "platform/NativePath.h"
#include "platform/Volume.h"

namespace platform {

class Win32Volume : public Volume {
public:
    // paths: the mapping for app paths; nullptr means the active one of Services at each call.
    explicit Win32Volume(const NativePath* paths = nullptr) : paths_(paths) {}

    DriveType GetDriveType(const std::string& path) override;
    bool GetInfo(const std::string& path, VolumeInfo& info) override;
    bool GetSpace(const std::string& path, VolumeSpace& space) override;
    // The drive letters in use ("C:/", "D:/", ...).
    std::vector<std::string> Drives() override;

    // The root of the volume that holds a native path ("E:/", "//srv/share/"); empty when unknown.
    static std::string RootOf(const std::string& nativePath);

private:
    std::string Native(const std::string& path) const;
    const NativePath* paths_;
};

}  // namespace platform
