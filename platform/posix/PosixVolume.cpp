#include "platform/posix/PosixVolume.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <set>

#include "base/Cp1252.h"
#include "platform/Services.h"

namespace platform {

namespace {

const std::set<std::string> kOpticalTypes = {"iso9660", "udf"};
const std::set<std::string> kRemoteTypes = {"nfs",        "nfs4",  "cifs",  "smb3",        "smbfs",
                                            "ncpfs",      "afs",   "9p",    "ceph",        "glusterfs",
                                            "fuse.sshfs", "sshfs", "davfs", "fuse.davfs2", "fuse.rclone"};
const std::set<std::string> kRamTypes = {"tmpfs", "ramfs"};

std::string RealPath(const std::string& path) {
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

std::string SysBlock(const MountEntry& m) {
    return "/sys/dev/block/" + std::to_string(m.major) + ":" + std::to_string(m.minor);
}

// 1 / 0 from the device's (or, for a partition, its disk's) "removable" file; -1 without one.
int RemovableFlag(const MountEntry& m) {
    const std::string dev = SysBlock(m);
    for (const char* rel : {"/removable", "/../removable"}) {
        std::ifstream in(dev + rel);
        int v;
        if (in >> v) return v != 0;
    }
    return -1;
}

// The udev link name in /dev/disk/<kind>/ that points to the mount's device ("" when none).
std::string DiskLink(const MountEntry& m, const char* kind) {
    const std::string folder = std::string("/dev/disk/") + kind;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return {};
    std::string found;
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.') continue;
        struct stat st;
        const std::string link = folder + "/" + e->d_name;
        if (stat(link.c_str(), &st) == 0 && S_ISBLK(st.st_mode) && major(st.st_rdev) == m.major &&
            minor(st.st_rdev) == m.minor) {
            found = e->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

// udev escapes unusual bytes as \xNN.
std::string UnescapeUdev(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The last eight hex digits of a file-system id ("ABCD-1234", "2024-01-01-12-00-00-00", a UUID).
bool SerialFromUuid(const std::string& uuid, uint32_t& serial) {
    std::string hex;
    for (char c : uuid)
        if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
    if (hex.empty()) return false;
    if (hex.size() > 8) hex = hex.substr(hex.size() - 8);
    serial = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
    return true;
}

}  // namespace

std::string PosixVolume::Native(const std::string& path) const {
    const NativePath& p = paths_ ? *paths_ : Services().paths;
    return p.Resolve(path);
}

DriveType PosixVolume::Classify(const MountEntry& mount, int removable) {
    if (kOpticalTypes.count(mount.fsType) || mount.source.rfind("/dev/sr", 0) == 0)
        return DriveType::kOptical;
    if (kRemoteTypes.count(mount.fsType) || mount.source.rfind("//", 0) == 0) return DriveType::kRemote;
    if (kRamTypes.count(mount.fsType)) return DriveType::kRamDisk;
    if (removable == 1) return DriveType::kRemovable;
    return DriveType::kFixed;
}

DriveType PosixVolume::GetDriveType(const std::string& path) {
    const std::string real = RealPath(Native(path));
    if (real.empty()) return DriveType::kNoRootDir;
    const MountTable table = MountTable::Read();
    const MountEntry* m = table.Find(real);
    if (!m) return DriveType::kUnknown;
    return Classify(*m, m->major != 0 ? RemovableFlag(*m) : -1);
}

bool PosixVolume::GetInfo(const std::string& path, VolumeInfo& info) {
    info = VolumeInfo();
    const std::string real = RealPath(Native(path));
    if (real.empty()) return false;
    struct statvfs vfs;
    if (statvfs(real.c_str(), &vfs) != 0) return false;
    const MountTable table = MountTable::Read();
    const MountEntry* m = table.Find(real);
    if (m && m->major != 0) {
        info.label = base::Utf8ToCp1252(UnescapeUdev(DiskLink(*m, "by-label")));
        if (SerialFromUuid(DiskLink(*m, "by-uuid"), info.serial)) return true;
    }
    // Without a file-system id from udev the kernel's id of the file system stands in.
    info.serial = static_cast<uint32_t>(vfs.f_fsid);
    return true;
}

bool PosixVolume::GetSpace(const std::string& path, VolumeSpace& space) {
    space = VolumeSpace();
    const std::string real = RealPath(Native(path));
    struct statvfs vfs;
    if (real.empty() || statvfs(real.c_str(), &vfs) != 0) return false;
    space.freeBytes = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    space.totalBytes = static_cast<uint64_t>(vfs.f_blocks) * vfs.f_frsize;
    return true;
}

std::vector<std::string> PosixVolume::UserMounts(const MountTable& table, const std::string& home) {
    std::vector<std::string> out;
    auto add = [&](std::string path) {
        if (path.empty()) return;
        if (path.back() != '/') path += '/';
        for (const std::string& have : out)
            if (have == path) return;
        out.push_back(std::move(path));
    };
    add(home);
    add("/");
    for (const MountEntry& m : table.Entries()) {
        const std::string& mp = m.mountPoint;
        auto under = [&](const char* prefix) { return mp.rfind(prefix, 0) == 0; };
        const DriveType type = Classify(m, -1);
        const bool userPlace = under("/media/") || under("/mnt/") || under("/run/media/");
        const bool systemPlace = under("/proc") || under("/sys") || under("/dev") ||
                                 (under("/run") && !under("/run/media/")) || under("/boot") ||
                                 under("/snap") || under("/var/lib/");
        if (userPlace ||
            (!systemPlace && mp != "/" && (type == DriveType::kOptical || type == DriveType::kRemote)))
            add(mp);
    }
    return out;
}

std::vector<std::string> PosixVolume::Drives() {
    const char* home = getenv("HOME");
    return UserMounts(MountTable::Read(), home && *home == '/' ? home : "");
}

}  // namespace platform
