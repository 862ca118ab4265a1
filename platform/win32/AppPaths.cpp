#include "platform/AppPaths.h"

#include <windows.h>

#include "platform/win32/WinText.h"

namespace platform {

using win32::Narrow;
using win32::Wide;

namespace {

std::string WithSlash(std::string s) {
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

// Absolute, with '/' separators; the file need not exist.
std::string Absolute(const std::string& path) {
    const std::wstring w = Wide(path);
    const DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring out(n, L'\0');
    const DWORD got = GetFullPathNameW(w.c_str(), n, out.data(), nullptr);
    out.resize(got);
    return Narrow(out);
}

std::string FolderOf(const std::string& file) {
    const size_t slash = file.rfind('/');
    if (slash == std::string::npos) return "./";
    return file.substr(0, slash + 1);
}

bool IsFile(const std::string& path) {
    const DWORD a = GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool HoldsMenuFile(const std::string& dir) {
    return IsFile(dir + "Menue.dat");  // the file system ignores the letter case
}

}  // namespace

std::string AppPaths::RunningProgram() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) {
            buf.resize(n);
            return Narrow(buf);
        }
        buf.resize(buf.size() * 2);
    }
}

// The volume's root: "E:/", "//server/share/", or the folder a volume is mounted on.
std::string AppPaths::MountPointOf(const std::string& nativePath) {
    const std::wstring w = Wide(Absolute(nativePath));
    wchar_t root[MAX_PATH + 1];
    if (!GetVolumePathNameW(w.c_str(), root, MAX_PATH + 1)) {
        const std::string abs = Absolute(nativePath);
        if (abs.size() >= 2 && abs[1] == ':') return abs.substr(0, 2) + "/";
        return "/";
    }
    return WithSlash(Narrow(root));
}

AppPaths AppPaths::Resolve(const AppPathOptions& options) {
    AppPaths p;
    p.programFile_ = options.programFile.empty() ? RunningProgram() : Absolute(options.programFile);
    p.programDir_ = FolderOf(p.programFile_);

    if (!options.dataDir.empty()) {
        p.dataDir_ = WithSlash(Absolute(options.dataDir));
    } else if (HoldsMenuFile(p.programDir_)) {
        p.dataDir_ = p.programDir_;
    } else {
        p.dataDir_ = p.programDir_;
        for (const std::string& candidate :
             {p.programDir_ + "disc/", p.programDir_ + "../share/cdmenu/disc/"}) {
            if (HoldsMenuFile(candidate)) {
                p.dataDir_ = WithSlash(Absolute(candidate));
                p.sampleDisc_ = true;
                break;
            }
        }
    }

    p.rootGiven_ = !options.rootDir.empty();
    if (p.rootGiven_)
        p.discRoot_ = WithSlash(Absolute(options.rootDir));
    else if (p.sampleDisc_)
        p.discRoot_ = p.dataDir_;
    else
        p.discRoot_ = MountPointOf(p.dataDir_);  // the drive that holds the program: "E:/", "//srv/share/"
    return p;
}

void AppPaths::FindDiscRoot(const std::vector<std::string>& storedPaths) {
    if (rootGiven_ || sampleDisc_ || storedPaths.empty()) return;
    const std::string mount = MountPointOf(dataDir_);
    int best = 0;
    std::string bestRoot;
    for (std::string folder = dataDir_;;) {
        const NativePath paths(folder);
        int found = 0;
        for (const std::string& stored : storedPaths)
            if (Exists(paths.Resolve(NativePath::WinDiscRoot() + stored))) ++found;
        if (found > best) {
            best = found;
            bestRoot = folder;
        }
        if (folder.size() <= mount.size()) break;
        folder = FolderOf(folder.substr(0, folder.size() - 1));
    }
    if (best > 0) discRoot_ = bestRoot;
}

bool AppPaths::EnterDiscRoot() const {
    return !discRoot_.empty() && SetCurrentDirectoryW(Wide(discRoot_).c_str()) != 0;
}

}  // namespace platform
