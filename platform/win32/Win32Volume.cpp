#include "platform/win32/Win32Volume.h"

#include <windows.h>
#undef GetDriveType  // the interface's name, not the API's character-set macro

#include "base/Cp1252.h"
#include "platform/Services.h"
#include "platform/win32/WinText.h"

namespace platform {

using win32::Narrow;
using win32::Wide;

std::string Win32Volume::Native(const std::string& path) const {
    return (paths_ ? *paths_ : Services().paths).Resolve(path);
}

std::string Win32Volume::RootOf(const std::string& nativePath) {
    wchar_t root[MAX_PATH + 1];
    if (!GetVolumePathNameW(Wide(nativePath).c_str(), root, MAX_PATH + 1)) return {};
    std::string s = Narrow(root);
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

DriveType Win32Volume::GetDriveType(const std::string& path) {
    const std::string native = Native(path);
    if (GetFileAttributesW(Wide(native).c_str()) == INVALID_FILE_ATTRIBUTES) {
        // A drive without a medium still has a type; only a path that names nothing is "no root".
        const std::string root = RootOf(native);
        if (root.empty()) return DriveType::kNoRootDir;
        const UINT t = ::GetDriveTypeW(Wide(root).c_str());
        if (t == DRIVE_NO_ROOT_DIR || t == DRIVE_UNKNOWN) return DriveType::kNoRootDir;
    }
    const std::string root = RootOf(native);
    if (root.empty()) return DriveType::kNoRootDir;
    switch (::GetDriveTypeW(Wide(root).c_str())) {
        case DRIVE_NO_ROOT_DIR:
            return DriveType::kNoRootDir;
        case DRIVE_REMOVABLE:
            return DriveType::kRemovable;
        case DRIVE_FIXED:
            return DriveType::kFixed;
        case DRIVE_REMOTE:
            return DriveType::kRemote;
        case DRIVE_CDROM:
            return DriveType::kOptical;
        case DRIVE_RAMDISK:
            return DriveType::kRamDisk;
        default:
            return DriveType::kUnknown;
    }
}

bool Win32Volume::GetInfo(const std::string& path, VolumeInfo& info) {
    const std::string root = RootOf(Native(path));
    if (root.empty()) return false;
    wchar_t label[MAX_PATH + 1] = {};
    DWORD serial = 0;
    if (!GetVolumeInformationW(Wide(root).c_str(), label, MAX_PATH + 1, &serial, nullptr, nullptr, nullptr,
                               0))
        return false;
    info.label = base::Utf8ToCp1252(win32::NarrowText(label));
    info.serial = serial;
    return true;
}

bool Win32Volume::GetSpace(const std::string& path, VolumeSpace& space) {
    const std::string native = Native(path);
    ULARGE_INTEGER freeToUser, total;
    if (!GetDiskFreeSpaceExW(Wide(native).c_str(), &freeToUser, &total, nullptr)) return false;
    space.freeBytes = freeToUser.QuadPart;
    space.totalBytes = total.QuadPart;
    return true;
}

std::vector<std::string> Win32Volume::Drives() {
    std::vector<std::string> out;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i)) out.push_back(std::string(1, char('A' + i)) + ":/");
    return out;
}

}  // namespace platform
