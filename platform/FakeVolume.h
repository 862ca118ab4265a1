#pragma once
// Volume answers set by a test: what a split archive on a removable drive or a full disk looks
// like without such hardware. Paths are compared by their drive ("D:") or, without a drive, as given.
#include <map>
#include <string>

#include "platform/Volume.h"

namespace platform {

class FakeVolume : public Volume {
public:
    struct Drive {
        DriveType type = DriveType::kFixed;
        bool ready = true;  // false: GetInfo and GetSpace fail, as with no medium inserted
        VolumeInfo info;
        VolumeSpace space;
    };

    // key: "D:" or a path prefix such as "/media/stick"
    void Set(const std::string& key, Drive drive) { drives_[key] = std::move(drive); }
    Drive* Find(const std::string& path);

    DriveType GetDriveType(const std::string& path) override;
    bool GetInfo(const std::string& path, VolumeInfo& info) override;
    bool GetSpace(const std::string& path, VolumeSpace& space) override;
    std::vector<std::string> Drives() override { return driveList_; }
    void SetDrives(std::vector<std::string> list) { driveList_ = std::move(list); }

private:
    std::map<std::string, Drive> drives_;
    std::vector<std::string> driveList_;
};

}  // namespace platform
