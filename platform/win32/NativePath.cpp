#include "platform/NativePath.h"
#include "platform/UserPaths.h"

#include <windows.h>

#include <cctype>

#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "platform/win32/WinText.h"

// Native paths on Windows are UTF-8 with '/' separators ("E:/MENU/", "//server/share/x"); the
// Win32 calls turn them into UTF-16 with '\' (platform/win32/WinText.h). Keeping '/' inside lets
// the rest of the program split paths the same way on every system.
namespace platform {

namespace {

std::string Slashes(std::string s) {
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

bool HasDrive(std::string_view s) {
    return s.size() >= 2 && std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':';
}

}  // namespace

NativePath::NativePath(std::string discRoot) : discRoot_(Slashes(std::move(discRoot))) {
    if (discRoot_.empty()) discRoot_ = "/";
    if (discRoot_.back() != '/') discRoot_ += '/';
}

std::string NativePath::Convert(std::string_view appPath) const {
    std::string s = Slashes(base::Cp1252ToUtf8(appPath));
    if (s.size() >= 2 && s[0] == '/' && s[1] == '/') return s;  // UNC
    if (HasDrive(s)) {
        std::string rest = s.substr(2);
        size_t skip = 0;
        while (skip < rest.size() && rest[skip] == '/') ++skip;
        // The menu's "D:" is whatever drive (or folder) holds the disc; other letters are real drives.
        if (std::toupper(static_cast<unsigned char>(s[0])) == kDiscDrive)
            return discRoot_ + rest.substr(skip);
        return s.substr(0, 2) + "/" + rest.substr(skip);
    }
    return s;  // "\rest": the root of the current drive, which is the disc's; relative paths as given
}

std::string NativePath::Resolve(std::string_view appPath) const {
    // Windows matches names without regard to case itself; each existing component is still given
    // the letter case it has on the disc, so that messages name files as they are.
    std::string path = Convert(appPath);
    size_t start = 0;
    if (path.rfind("//", 0) == 0) {  // "//server/share/" stays as given
        start = path.find('/', 2);
        start = start == std::string::npos ? path.size() : path.find('/', start + 1);
        if (start == std::string::npos) return path;
        ++start;
    } else if (HasDrive(path)) {
        start = path.size() > 2 && path[2] == '/' ? 3 : 2;
    } else if (!path.empty() && path[0] == '/') {
        start = 1;
    }
    std::string out = path.substr(0, start);
    while (start < path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        if (!part.empty() && part != "." && part != ".." && part.find_first_of("*?") == std::string::npos) {
            WIN32_FIND_DATAW found;
            const HANDLE h = FindFirstFileExW(win32::Wide(out + part).c_str(), FindExInfoBasic, &found,
                                              FindExSearchNameMatch, nullptr, 0);
            if (h == INVALID_HANDLE_VALUE) return out + path.substr(start);  // nothing below exists either
            FindClose(h);
            part = win32::NarrowText(found.cFileName);
        }
        out += part;
        if (end < path.size()) out += '/';
        start = end + 1;
    }
    return out;
}

std::string HomeFolder() {
    // A $HOME of an MSYS or Cygwin shell is no Windows folder.
    return std::string();
}

std::string ShownPath(std::string_view nativePath) {
    std::string s = base::Utf8ToCp1252(nativePath);
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

std::string NativePath::ToWindows(std::string_view nativePath) const {
    const std::string s = Slashes(std::string(nativePath));
    const std::string rootNoSlash = discRoot_.substr(0, discRoot_.size() - 1);
    const std::string head = s.substr(0, discRoot_.size());
    return WindowsForm(
        s, discRoot_ != "/" && (base::SameText(head, discRoot_) || base::SameText(s, rootNoSlash)));
}

bool NativePath::ExecuteBitsMatter() {
    return false;
}

}  // namespace platform
