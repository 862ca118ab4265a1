#include "platform/FakeVolume.h"

#include "base/StrUtils.h"

namespace platform {

FakeVolume::Drive* FakeVolume::Find(const std::string& path) {
    Drive* best = nullptr;
    size_t bestLength = 0;
    for (auto& [key, drive] : drives_) {
        if (key.size() >= bestLength && key.size() <= path.size() &&
            base::SameText(path.substr(0, key.size()), key)) {
            best = &drive;
            bestLength = key.size();
        }
    }
    return best;
}

DriveType FakeVolume::GetDriveType(const std::string& path) {
    Drive* d = Find(path);
    return d ? d->type : DriveType::kNoRootDir;
}

bool FakeVolume::GetInfo(const std::string& path, VolumeInfo& info) {
    Drive* d = Find(path);
    info = d && d->ready ? d->info : VolumeInfo();
    return d && d->ready;
}

bool FakeVolume::GetSpace(const std::string& path, VolumeSpace& space) {
    Drive* d = Find(path);
    space = d && d->ready ? d->space : VolumeSpace();
    return d && d->ready;
}

}  // namespace platform
