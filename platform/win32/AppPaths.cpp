#include "platform/AppPaths.h"

#include <windows.h>

#include "base/Paths.h"
#include "platform/win32/WinText.h"

namespace platform {

using win32::Narrow;
using win32::Wide;

// Absolute, with '/' separators; the file need not exist.
std::string AppPaths::Absolute(const std::string& path) {
    const std::wstring w = Wide(path);
    const DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring out(n, L'\0');
    const DWORD got = GetFullPathNameW(w.c_str(), n, out.data(), nullptr);
    out.resize(got);
    return Narrow(out);
}

bool AppPaths::Exists(const std::string& nativePath) {
    return GetFileAttributesW(Wide(nativePath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool AppPaths::HoldsMenuFile(const std::string& dir) {
    // The file system ignores the letter case.
    const DWORD a = GetFileAttributesW(Wide(dir + "Menue.dat").c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

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
    return base::IncludeTrailingPathDelimiter(Narrow(root));
}

bool AppPaths::EnterDiscRoot() const {
    return !discRoot_.empty() && SetCurrentDirectoryW(Wide(discRoot_).c_str()) != 0;
}

}  // namespace platform
